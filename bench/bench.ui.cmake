# The view toolkit: frame rendering and hit testing of an editor-like tablet screen.
vimora_add_bench(bench_ui SOURCES bench_ui.cpp bench_data.h LIBS vimora_ui)
