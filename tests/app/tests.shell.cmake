foreach(topic home_screen promotions shell first_road command_line)
  vimora_add_test(app_${topic}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${topic}_test.cpp ${CMAKE_CURRENT_LIST_DIR}/app_fixture.h
            ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
    LIBS vimora_app)
endforeach()
