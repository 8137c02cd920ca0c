# The driver of the walks: seeded random walks and the explorations, over the whole application.
add_library(vimora_walk_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/random_walk.cpp ${CMAKE_CURRENT_LIST_DIR}/random_walk.h)
target_include_directories(vimora_walk_driver PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_options(vimora_walk_driver PRIVATE ${VIMORA_WARNINGS})
target_link_libraries(vimora_walk_driver PUBLIC vimora_app vimora_testsupport GTest::gtest)

# Seeded random walks over every screen on the three profiles, and the replays they shrank to.
vimora_add_test(app_random_walk_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/random_walk_test.cpp
  LIBS vimora_walk_driver vimora_qt_test_environment)
add_dependencies(app_random_walk_test vimora_resources)

# Every control of every screen and panel answers a tap at its centre, on every profile.
vimora_add_test(app_controls_answer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/controls_answer_test.cpp
  LIBS vimora_walk_driver vimora_qt_test_environment)
add_dependencies(app_controls_answer_test vimora_resources)
