# The smart cut on the 2000-pixel working photo (see README.md, "Smart cut").
vimora_add_bench(bench_segmentation SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_segmentation.cpp LIBS vimora_segmentation)
