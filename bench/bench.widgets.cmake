# The small views: a colour pick that recolours a text layer.
vimora_add_bench(bench_widgets SOURCES bench_widgets.cpp bench_data.h LIBS vimora_widgets)
