vimora_add_test(back_photo_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/back_photo_test.cpp
  LIBS vimora_compositor vimora_qt_test_environment)
