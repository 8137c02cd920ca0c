# The multi-photo picker: opening a 1000-photo album cold and warm, and a scroll frame.
vimora_add_bench(bench_picker SOURCES bench_picker.cpp LIBS vimora_picker)
