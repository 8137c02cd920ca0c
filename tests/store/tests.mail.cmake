vimora_add_test(mail_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mail_test.cpp LIBS vimora_store vimora_qt_test_environment)
