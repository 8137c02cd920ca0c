# The home screen's road to the compositor through the saved pictures.
vimora_add_test(app_saved_road_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/saved_pictures_road_test.cpp ${CMAKE_CURRENT_LIST_DIR}/app_fixture.h
          ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_app)
add_dependencies(app_saved_road_test vimora_resources)
