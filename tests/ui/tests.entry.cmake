# Text entry, tables, search, popovers and navigation bars.
vimora_add_test(ui_entry_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/entry_test.cpp
  LIBS vimora_window_host vimora_qt_test_environment)
vimora_add_test(ui_lists_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/lists_test.cpp
  LIBS vimora_ui vimora_qt_test_environment)
