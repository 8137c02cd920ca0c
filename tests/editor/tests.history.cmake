# Undo and redo in the editor on the headless host.
vimora_add_test(editor_history_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_history_test.cpp
  LIBS vimora_editor vimora_qt_test_environment)
add_dependencies(editor_history_test vimora_resources)
