vimora_add_test(picture_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_test.cpp LIBS vimora_imaging)
vimora_add_test(pixel_cut_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/pixel_cut_test.cpp LIBS vimora_imaging)
