foreach(topic photo_library image_picker library_photo_picker)
  vimora_add_test(${topic}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/${topic}_test.cpp ${PROJECT_SOURCE_DIR}/tests/support/qt_environment.cpp
    LIBS vimora_picker)
endforeach()
