# Shared build rules: one library per src/ folder, one test binary per test file.

set(VIMORA_WARNINGS -Wall -Wextra)
if(VIMORA_WERROR)
  list(APPEND VIMORA_WARNINGS -Werror)
endif()
# -O3 lets the pixel loops vectorise; AVX2 is not assumed, SSE4.2 baseline is portable enough.
set(VIMORA_OPT_FLAGS $<$<NOT:$<CONFIG:Debug>>:-O3>)
if(VIMORA_SANITIZE)
  # Instrumented code is slow at any level; -O1 and line tables keep the build and the stacks cheap.
  set(VIMORA_OPT_FLAGS -O1 -g1)
endif()

# vimora_add_library(name SOURCES ... DEPS ...)
function(vimora_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${VIMORA_WARNINGS} ${VIMORA_OPT_FLAGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# vimora_add_test(name SOURCES ... LIBS ...): a GoogleTest binary registered with CTest.
function(vimora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${VIMORA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vimora_testsupport GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIMORA_RESOURCES=${VIMORA_RESOURCE_DIR}" TIMEOUT 600)
endfunction()

# vimora_add_screenshot_tool(name SOURCE LIB): not a test, a tool beside the tests that renders
# screens into a folder given on its command line, for looking at them.
function(vimora_add_screenshot_tool name source lib)
  if(NOT VIMORA_BUILD_EXTRAS)
    return()
  endif()
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${VIMORA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${lib})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} vimora_resources)
endfunction()

# vimora_add_bench(name SOURCES ... LIBS ...)
function(vimora_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${VIMORA_WARNINGS} ${VIMORA_OPT_FLAGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
