# The layer rule: a source folder includes only the folders its table row names.
#
# vimora_check_layers(<root> <row>...): each row is "folder: allowed allowed ...", or
# "folder: *" for a folder that may include every other. Every .h and .cpp under root/folder
# is read; an `#include "other/..."` naming a folder of the table that the row does not allow
# stops the configure step, naming the file and the include. A folder under root that has a
# CMakeLists.txt but no row stops it too, so a new folder is placed in the table when it is
# made.
#
# Also runs as a script: cmake -DLAYER_ROOT=<root> "-DLAYER_TABLE=<row>;<row>..." -P LayerCheck.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

function(vimora_check_layers root)
  set(rows ${ARGN})
  set(folders "")
  foreach(row IN LISTS rows)
    string(REGEX MATCH "^([a-z_]+):(.*)$" matched "${row}")
    if(NOT matched)
      message(FATAL_ERROR "Layer table: cannot read the row \"${row}\" (folder: allowed ...)")
    endif()
    set(folder "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" allowed)
    separate_arguments(allowed UNIX_COMMAND "${allowed}")
    list(APPEND folders ${folder})
    set(allowed_${folder} ${allowed})
  endforeach()

  file(GLOB entries RELATIVE "${root}" "${root}/*")
  foreach(entry IN LISTS entries)
    if(IS_DIRECTORY "${root}/${entry}" AND EXISTS "${root}/${entry}/CMakeLists.txt" AND NOT entry IN_LIST folders)
      message(FATAL_ERROR "Layer table: the folder ${entry} has no row; add one saying what it may include")
    endif()
  endforeach()

  set(problems "")
  foreach(folder IN LISTS folders)
    if("*" IN_LIST allowed_${folder})
      continue()
    endif()
    file(GLOB_RECURSE sources "${root}/${folder}/*.h" "${root}/${folder}/*.cpp")
    list(SORT sources)
    foreach(source IN LISTS sources)
      file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
      foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([a-z_]+)/[^\"]*\"" included "${line}")
        set(target "${CMAKE_MATCH_1}")
        if(target STREQUAL folder OR NOT target IN_LIST folders OR target IN_LIST allowed_${folder})
          continue()
        endif()
        file(RELATIVE_PATH shown "${root}" "${source}")
        list(JOIN allowed_${folder} " " allowedText)
        list(APPEND problems "  ${shown}: #include ${included} (${folder} may include: ${allowedText})")
      endforeach()
    endforeach()
  endforeach()
  if(problems)
    list(JOIN problems "\n" listed)
    message(FATAL_ERROR "Forbidden includes across layers (table in src/CMakeLists.txt):\n${listed}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  vimora_check_layers("${LAYER_ROOT}" ${LAYER_TABLE})
endif()
