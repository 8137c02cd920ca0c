# The editor on the headless host; the pictures it shows come from the generated resources.
foreach(topic road panels feathering finishing smart_cut)
  vimora_add_test(editor_${topic}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_${topic}_test.cpp
    LIBS vimora_editor vimora_qt_test_environment)
  add_dependencies(editor_${topic}_test vimora_resources)
endforeach()

# Not a test: renders the editor's screens into a folder for looking at them.
vimora_add_screenshot_tool(editor_screenshots ${CMAKE_CURRENT_LIST_DIR}/editor_screenshots.cpp vimora_editor)
