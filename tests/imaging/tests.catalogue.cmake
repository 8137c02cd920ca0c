# The image service, the filter catalogue, the blend modes and the command-line runner.
vimora_add_test(filter_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/filter_test.cpp LIBS vimora_imaging)
vimora_add_test(image_service_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/image_service_test.cpp LIBS vimora_imaging)
vimora_add_test(blend_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/blend_test.cpp LIBS vimora_imaging)
vimora_add_test(fx_cli_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/fx_cli_test.cpp LIBS vimora_fx_core)
target_compile_definitions(fx_cli_test PRIVATE VIMORA_FX_BINARY="$<TARGET_FILE:vimora-fx>")
add_dependencies(fx_cli_test vimora-fx)
# The same suites again with the AVX2 forms of the hot loops switched off: both must agree.
foreach(suite image_service_test blend_test)
  add_test(NAME ${suite}_scalar COMMAND ${suite})
  set_tests_properties(${suite}_scalar PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_NO_AVX2=1" TIMEOUT 600)
endforeach()
# The vectorised halftones, noise reduction and kaleidoscope against their plain rules, both ways.
vimora_add_test(stylize_paths_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/stylize_paths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
add_test(NAME stylize_paths_test_scalar COMMAND stylize_paths_test)
set_tests_properties(stylize_paths_test_scalar PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_NO_AVX2=1" TIMEOUT 600)
# Every operation on pictures of awkward shapes at the ends of its parameters, in both forms.
vimora_add_test(odd_size_sweep_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/odd_size_sweep_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_fx_core)
add_test(NAME odd_size_sweep_test_scalar COMMAND odd_size_sweep_test)
set_tests_properties(odd_size_sweep_test_scalar PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_NO_AVX2=1" TIMEOUT 600)
