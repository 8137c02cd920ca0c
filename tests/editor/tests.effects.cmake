# The effect flows on the headless host: adjust panel, shattering, scatter, merge, expansion.
vimora_add_test(editor_effects_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_effects_test.cpp ${CMAKE_CURRENT_LIST_DIR}/piece_grid_test.cpp
  LIBS vimora_editor vimora_qt_test_environment)
add_dependencies(editor_effects_test vimora_resources)

# Not a test: renders the effect flows into a folder for looking at them (docs/effects-*.png).
vimora_add_screenshot_tool(effect_screenshots ${CMAKE_CURRENT_LIST_DIR}/effect_screenshots.cpp vimora_editor)
