# The editor on the headless host; the pictures it shows come from the generated resources.
foreach(topic road panels)
  vimora_add_test(editor_${topic}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_${topic}_test.cpp ${CMAKE_CURRENT_LIST_DIR}/qt_environment.cpp
    LIBS vimora_editor)
  add_dependencies(editor_${topic}_test vimora_resources)
endforeach()
