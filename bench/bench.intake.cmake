# The photo intake on 48- and 12-megapixel JPEGs: full decode against the decode at a DCT scale.
vimora_add_bench(bench_intake SOURCES bench_intake.cpp LIBS vimora_app)
