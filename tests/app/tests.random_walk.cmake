# Seeded random walks over every screen on the three profiles, and the replays they shrank to.
vimora_add_test(app_random_walk_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/random_walk_test.cpp ${CMAKE_CURRENT_LIST_DIR}/random_walk.cpp
          ${CMAKE_CURRENT_LIST_DIR}/random_walk.h
  LIBS vimora_app vimora_qt_test_environment)
add_dependencies(app_random_walk_test vimora_resources)
