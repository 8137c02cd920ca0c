vimora_add_test(compositor_geometry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/compositor_geometry_test.cpp LIBS vimora_compositor)
vimora_add_test(compositor_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/compositor_test.cpp ${CMAKE_CURRENT_LIST_DIR}/compositor_save_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/compositor_reach_test.cpp ${CMAKE_CURRENT_LIST_DIR}/compositor_history_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/compositor_fixture.h ${PROJECT_SOURCE_DIR}/tests/support/fake_picker.h
  LIBS vimora_compositor vimora_qt_test_environment)
add_dependencies(compositor_test vimora_resources)

# Not a test: renders the compositor's screens into a folder for looking at them.
vimora_add_screenshot_tool(compositor_screenshots ${CMAKE_CURRENT_LIST_DIR}/compositor_screenshots.cpp vimora_compositor)
