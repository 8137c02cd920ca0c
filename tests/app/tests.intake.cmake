# The photo intake: the picker's answer to a working copy and a thumbnail for the editor.
vimora_add_test(intake_geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/intake_geometry_test.cpp LIBS vimora_app)
vimora_add_test(photo_intake_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/photo_intake_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/fake_picker.h
  LIBS vimora_app vimora_qt_test_environment)
vimora_add_test(intake_decode_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/intake_decode_test.cpp
  LIBS vimora_app vimora_qt_test_environment)
