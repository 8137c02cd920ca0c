# Pixel filters and geometry at 2000 x 1500 (see README.md, "Pixel filters and geometry").
vimora_add_bench(bench_filters SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_filters.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_data.h ${CMAKE_CURRENT_LIST_DIR}/bench_run.h
  LIBS vimora_imaging)
