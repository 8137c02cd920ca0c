vimora_add_test(picture_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_test.cpp LIBS vimora_imaging)
