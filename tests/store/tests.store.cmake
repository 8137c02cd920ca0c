vimora_add_test(store_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_test.cpp LIBS vimora_store)
vimora_add_test(job_store_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/job_store_test.cpp LIBS vimora_store)
