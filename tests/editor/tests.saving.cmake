# Saving and sharing from the editor on the headless host.
vimora_add_test(editor_saving_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_saving_test.cpp
  LIBS vimora_editor vimora_qt_test_environment)
add_dependencies(editor_saving_test vimora_resources)
