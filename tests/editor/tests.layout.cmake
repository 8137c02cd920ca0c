vimora_add_test(editor_layout_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_layout_test.cpp LIBS vimora_editor)
