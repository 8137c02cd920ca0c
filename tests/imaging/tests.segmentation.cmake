vimora_add_test(subject_cut_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/subject_cut_test.cpp LIBS vimora_segmentation)
