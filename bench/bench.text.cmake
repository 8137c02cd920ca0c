# The text overlay: rendering and placing layers, a frame of layers, the catalogue's scrolling.
vimora_add_bench(bench_text SOURCES bench_text.cpp bench_data.h LIBS vimora_text)
add_dependencies(bench_text vimora_resources)
