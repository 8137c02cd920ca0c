# Where the editor's panels open, how the editor turns, and what Escape and quitting do.
vimora_add_test(editor_placement_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_placement_test.cpp
  LIBS vimora_editor vimora_qt_test_environment)
add_dependencies(editor_placement_test vimora_resources)
