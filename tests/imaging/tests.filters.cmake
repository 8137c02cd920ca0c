# Pixel filters and geometry.
vimora_add_test(convolution_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/convolution_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(tone_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tone_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/geometry_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(parallel_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/parallel_test.cpp LIBS vimora_imaging)
vimora_add_test(warp_kernel_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/warp_kernel_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_test_support.h LIBS vimora_imaging)
vimora_add_test(linear_light_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/linear_light_test.cpp LIBS vimora_imaging)
# The same suites again with the AVX2 forms of the hot loops switched off: both must agree.
foreach(suite convolution_test tone_test geometry_test warp_kernel_test linear_light_test)
  add_test(NAME ${suite}_scalar COMMAND ${suite})
  set_tests_properties(${suite}_scalar PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_NO_AVX2=1" TIMEOUT 600)
endforeach()
