# Closable overlays and rich-text pages.
vimora_add_test(ui_overlays_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/overlays_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_ui)
