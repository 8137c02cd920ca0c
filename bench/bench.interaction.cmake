# From a touch to the frame showing its result, per editor and compositor control (the walks'
# exploration on the headless host; a plain program, not part of the test suite).
if(TARGET vimora_walk_driver)
  add_executable(bench_interaction bench_interaction.cpp bench_data.h)
  target_compile_options(bench_interaction PRIVATE ${VIMORA_WARNINGS} ${VIMORA_OPT_FLAGS})
  target_include_directories(bench_interaction PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(bench_interaction PRIVATE vimora_walk_driver)
  set_target_properties(bench_interaction PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(bench_interaction vimora_resources)
endif()
