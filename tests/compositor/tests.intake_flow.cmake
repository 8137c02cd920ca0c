vimora_add_test(back_photo_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/back_photo_test.cpp ${CMAKE_CURRENT_LIST_DIR}/fake_picker.h
  LIBS vimora_compositor vimora_qt_test_environment)
