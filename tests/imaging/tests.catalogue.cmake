# The image service, the filter catalogue, the blend modes and the command-line runner.
vimora_add_test(filter_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/filter_test.cpp LIBS vimora_imaging)
vimora_add_test(image_service_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_service_test.cpp LIBS vimora_imaging)
vimora_add_test(blend_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/blend_test.cpp LIBS vimora_imaging)
vimora_add_test(fx_cli_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/fx_cli_test.cpp LIBS vimora_fx_core)
target_compile_definitions(fx_cli_test PRIVATE VIMORA_FX_BINARY="$<TARGET_FILE:vimora-fx>")
add_dependencies(fx_cli_test vimora-fx)
