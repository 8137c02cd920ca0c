foreach(topic home_screen promotions shell first_road command_line resume screens_apart editor_habits open_photos)
  vimora_add_test(app_${topic}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${topic}_test.cpp ${CMAKE_CURRENT_LIST_DIR}/app_fixture.h
    LIBS vimora_app vimora_qt_test_environment)
endforeach()
