# The editor's picture steps as the user sees them: edge feathering on a 1280 x 960 cut-out.
vimora_add_bench(bench_editor SOURCES bench_editor.cpp bench_data.h LIBS vimora_editor)
target_compile_definitions(bench_editor PRIVATE VIMORA_BENCH_RESOURCES="${VIMORA_RESOURCE_DIR}")
add_dependencies(bench_editor vimora_resources)
