# The layer check on three small trees: a clean one passes; one where the lower folder
# includes the higher fails, naming the file and the include; one with a folder that has no
# row fails, naming the folder. Run as: cmake -DCHECK=<LayerCheck.cmake> -DFIXTURES=<dir> -P

cmake_minimum_required(VERSION 3.25)

function(run_check tree result output)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DLAYER_ROOT=${FIXTURES}/${tree} "-DLAYER_TABLE=low:;high: low" -P ${CHECK}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

run_check(clean code out)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "The clean tree was refused:\n${out}")
endif()

run_check(forbidden code out)
if(code EQUAL 0)
  message(FATAL_ERROR "An include of a higher folder passed the check")
endif()
if(NOT out MATCHES "low/low\\.cpp: #include \"high/high\\.h\"")
  message(FATAL_ERROR "The failure does not name the file and the include:\n${out}")
endif()
if(out MATCHES "low/low\\.h")
  message(FATAL_ERROR "A file with allowed includes only was named:\n${out}")
endif()

run_check(unplaced code out)
if(code EQUAL 0 OR NOT out MATCHES "folder stray has no row")
  message(FATAL_ERROR "A folder missing from the table passed or went unnamed:\n${out}")
endif()
