# Text entry, tables, search, popovers and navigation bars.
vimora_add_test(ui_entry_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/entry_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_window_host)
vimora_add_test(ui_lists_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/lists_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_ui)
