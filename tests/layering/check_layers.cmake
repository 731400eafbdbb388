cmake_minimum_required(VERSION 3.25)
# Fails when a source file under <SRC_DIR> includes a header of a higher layer or of another folder
# of its own rank (sideways), or when a test double sits among the product's sources. Run as:
# cmake -DSRC_DIR=<path to src> -P check_layers.cmake
#
# Layers only look down: storage <- engine (with its ports) <- platform <- settings, results, lists
# <- corrections <- phone <- stage <- console <- app, verify. Folders of one rank do not use each other;
# assets.h (the compiled-in pictures) sits beside the platform.

if(NOT SRC_DIR)
  message(FATAL_ERROR "usage: cmake -DSRC_DIR=<src folder> -P check_layers.cmake")
endif()

set(rank_storage 0)
set(rank_engine 1)
set(rank_platform 2)
set(rank_assets 2)
set(rank_settings 3)
set(rank_results 3)
set(rank_lists 3)
set(rank_corrections 4)
set(rank_phone 5)
set(rank_stage 6)
set(rank_console 7)
set(rank_app 8)
set(rank_verify 8)

# Includes that look up today and are on their way out. Each entry is "<file>|<included header>";
# keep it short and remove an entry as soon as its include is gone.
set(allowed)

file(GLOB_RECURSE sources RELATIVE ${SRC_DIR} ${SRC_DIR}/*.h ${SRC_DIR}/*.cpp)
set(violations "")
set(used_allowances "")
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT DEFINED rank_${layer})
    string(APPEND violations "\n  ${source}: the folder src/${layer} has no layer (name it in check_layers.cmake)")
    continue()
  endif()
  get_filename_component(name "${source}" NAME)
  if(source MATCHES "/fakes/" OR name MATCHES "^(fake|recording|scripted|mock|stub)_")
    string(APPEND violations "\n  ${source}: a test double belongs under tests/support")
  endif()
  file(STRINGS ${SRC_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${line}")
    if(header STREQUAL "assets.h")
      set(target_layer assets)
    elseif(header MATCHES "^([^/]+)/")
      set(target_layer ${CMAKE_MATCH_1})
    else()
      continue()  # a header beside the file itself
    endif()
    if(NOT DEFINED rank_${target_layer})
      continue()  # not one of ours
    endif()
    set(wrong "")
    if(rank_${target_layer} GREATER rank_${layer})
      set(wrong "${layer} must not look up at ${target_layer}")
    elseif(rank_${target_layer} EQUAL rank_${layer} AND NOT target_layer STREQUAL layer)
      set(wrong "${layer} must not look sideways at ${target_layer}")
    endif()
    if(wrong)
      if("${source}|${header}" IN_LIST allowed)
        list(APPEND used_allowances "${source}|${header}")
      else()
        string(APPEND violations "\n  ${source} includes \"${header}\": ${wrong}")
      endif()
    endif()
  endforeach()
endforeach()

# An allowance whose include is gone must go too, so the list only ever shrinks.
foreach(entry ${allowed})
  if(NOT entry IN_LIST used_allowances)
    string(APPEND violations "\n  ${entry}: allowed in check_layers.cmake but no longer included; drop the entry")
  endif()
endforeach()

if(violations)
  message(FATAL_ERROR "Layering broken:${violations}")
endif()
list(LENGTH sources count)
message(STATUS "Layering holds across ${count} files")
