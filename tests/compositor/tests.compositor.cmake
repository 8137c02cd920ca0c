vimora_add_test(compositor_geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/compositor_geometry_test.cpp LIBS vimora_compositor)
vimora_add_test(compositor_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/compositor_test.cpp ${CMAKE_CURRENT_LIST_DIR}/compositor_save_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/compositor_fixture.h ${CMAKE_CURRENT_LIST_DIR}/fake_picker.h
  LIBS vimora_compositor vimora_qt_test_environment)
add_dependencies(compositor_test vimora_resources)

# Not a test: renders the compositor's screens into a folder for looking at them.
add_executable(compositor_screenshots ${CMAKE_CURRENT_LIST_DIR}/compositor_screenshots.cpp)
target_compile_options(compositor_screenshots PRIVATE ${VIMORA_WARNINGS})
target_link_libraries(compositor_screenshots PRIVATE vimora_compositor)
set_target_properties(compositor_screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(compositor_screenshots vimora_resources)
