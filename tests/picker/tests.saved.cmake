# The picker over a library the album writer filled.
vimora_add_test(saved_pictures_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/saved_pictures_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
  LIBS vimora_picker vimora_store)
