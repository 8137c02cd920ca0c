vimora_add_test(log_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/log_test.cpp LIBS vimora_platform)
