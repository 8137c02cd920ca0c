# The image service, the filter catalogue and the blend modes.
target_sources(vimora_imaging PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/kernels.h ${CMAKE_CURRENT_LIST_DIR}/kernels_rows.cpp ${CMAKE_CURRENT_LIST_DIR}/kernels_warp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kernels_neighbourhood.cpp ${CMAKE_CURRENT_LIST_DIR}/kernels_blur.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service.cpp ${CMAKE_CURRENT_LIST_DIR}/image_service.h
  ${CMAKE_CURRENT_LIST_DIR}/image_service_families.h ${CMAKE_CURRENT_LIST_DIR}/vector_math.h
  ${CMAKE_CURRENT_LIST_DIR}/image_service_colour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service_stylize.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service_warp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service_auto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend.cpp ${CMAKE_CURRENT_LIST_DIR}/blend.h
  ${CMAKE_CURRENT_LIST_DIR}/filter.cpp ${CMAKE_CURRENT_LIST_DIR}/filter.h
  ${CMAKE_CURRENT_LIST_DIR}/composite_filter.cpp ${CMAKE_CURRENT_LIST_DIR}/composite_filter.h)

# errno and floating-point exception flags are never read: without them sqrt stays inline and
# the loops with comparisons and selects vectorise.
set_source_files_properties(
  ${CMAKE_CURRENT_LIST_DIR}/kernels_rows.cpp ${CMAKE_CURRENT_LIST_DIR}/kernels_warp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kernels_neighbourhood.cpp ${CMAKE_CURRENT_LIST_DIR}/kernels_blur.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service_colour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_service_stylize.cpp ${CMAKE_CURRENT_LIST_DIR}/image_service_warp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend.cpp
  PROPERTIES COMPILE_OPTIONS "-fno-math-errno;-fno-trapping-math")
# Jump threading splits the limits inside the float exponential of the warp maps into branches
# that keep the pinch's map from vectorising in its AVX2 form (a GCC pass; clang has no such flag).
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/image_service_warp.cpp APPEND PROPERTY COMPILE_OPTIONS
  $<$<CXX_COMPILER_ID:GNU>:-fno-thread-jumps>)
