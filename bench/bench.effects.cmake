# The editor's effect flows on the headless host: full handlers (on the worker and back) and
# the picture work alone.
vimora_add_bench(bench_effects SOURCES bench_effects.cpp bench_data.h LIBS vimora_editor)
target_compile_definitions(bench_effects PRIVATE VIMORA_BENCH_RESOURCES="${VIMORA_RESOURCE_DIR}")
add_dependencies(bench_effects vimora_resources)
