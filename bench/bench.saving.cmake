# Saving a composition: the capture on the UI thread and the album writer behind it.
vimora_add_bench(bench_saving SOURCES bench_saving.cpp bench_data.h LIBS vimora_editor)
