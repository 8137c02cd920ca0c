# Pixel filters and geometry: convolution, tone and colour filters, resampling, geometry.
target_sources(vimora_imaging PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/pixel_support.cpp ${CMAKE_CURRENT_LIST_DIR}/pixel_support.h
  ${CMAKE_CURRENT_LIST_DIR}/resample.cpp ${CMAKE_CURRENT_LIST_DIR}/resample.h
  ${CMAKE_CURRENT_LIST_DIR}/convolution_engine.cpp ${CMAKE_CURRENT_LIST_DIR}/convolution_engine.h
  ${CMAKE_CURRENT_LIST_DIR}/convolution.cpp ${CMAKE_CURRENT_LIST_DIR}/convolution.h
  ${CMAKE_CURRENT_LIST_DIR}/tone.cpp ${CMAKE_CURRENT_LIST_DIR}/tone_convolution.cpp ${CMAKE_CURRENT_LIST_DIR}/tone.h
  ${CMAKE_CURRENT_LIST_DIR}/geometry.cpp ${CMAKE_CURRENT_LIST_DIR}/geometry.h)
# Float clamps and conversions only vectorise when the compiler may ignore floating-point
# exception flags, which nothing here reads; results are unchanged.
set_source_files_properties(
  ${CMAKE_CURRENT_LIST_DIR}/convolution_engine.cpp ${CMAKE_CURRENT_LIST_DIR}/convolution.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tone.cpp ${CMAKE_CURRENT_LIST_DIR}/resample.cpp ${CMAKE_CURRENT_LIST_DIR}/pixel_support.cpp
  PROPERTIES COMPILE_OPTIONS -fno-trapping-math)
