# The home screen's panels and the guide reader.
vimora_add_test(app_home_panels_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/home_panels_test.cpp ${CMAKE_CURRENT_LIST_DIR}/app_fixture.h
          ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_app)
