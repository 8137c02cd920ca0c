# The small views: a colour pick that recolours a text layer.
vimora_add_bench(bench_screenkit SOURCES bench_screenkit.cpp bench_data.h LIBS vimora_screenkit)
