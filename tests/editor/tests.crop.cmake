vimora_add_test(crop_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/crop_test.cpp LIBS vimora_editor)
