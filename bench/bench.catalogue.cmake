# The image service's filters, the catalogue's byte effects and the blend modes at 2000 x 1500
# (see README.md, "Filter catalogue and blend modes").
vimora_add_bench(bench_catalogue SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_catalogue.cpp ${CMAKE_CURRENT_LIST_DIR}/bench_data.h ${CMAKE_CURRENT_LIST_DIR}/bench_run.h
  LIBS vimora_imaging)
