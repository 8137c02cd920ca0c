# The compositor: on-release effects and the High level save, as the UI thread sees them.
vimora_add_bench(bench_compositor SOURCES bench_compositor.cpp bench_data.h LIBS vimora_compositor)
add_dependencies(bench_compositor vimora_resources)
