# Pixel filters and geometry.
vimora_add_test(convolution_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/convolution_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(tone_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tone_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/geometry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
