# Fails when the includes break the layering:
# - a folder includes a header of a folder above it (each folder may include its own headers and
#   those of the folders listed after it), in either include form, and also when the include is
#   spelled relative to the including file ("../ui/MainFrame.h");
# - the program includes a header of the plug-in or of the tests;
# - the plug-in includes anything of the program: it shares no code with it, only the hand-over's
#   agreement (resources/plugin_handover.h);
# - the sub-folders of ui/ include each other in a cycle (the files directly in ui/, the main
#   frame, sit above them all).
# Usage: cmake -DSOURCE_DIR=<source tree> -P check-layers.cmake
cmake_minimum_required(VERSION 3.20)
set(order ui dialogs core imaging framework)
set(include_start "^[ \t]*#[ \t]*include[ \t]*[\"<]")
set(failures "")

# The headers `file` includes, each as a path from the source tree's top: a quoted include that
# climbs with "./" or "../" is resolved from the including file's folder (where the compiler looks
# first), every other one is read as written, from the top.
function(included_headers file out)
  file(STRINGS ${file} lines REGEX "${include_start}")
  get_filename_component(folder ${file} DIRECTORY)
  set(headers "")
  foreach(line ${lines})
    string(REGEX REPLACE "${include_start}([^\">]*)[\">].*" "\\1" path "${line}")
    if(line MATCHES "#[ \t]*include[ \t]*\"" AND path MATCHES "(^|/)\\.\\.?/")
      cmake_path(SET resolved NORMALIZE "${folder}/${path}")
      file(RELATIVE_PATH path ${SOURCE_DIR} ${resolved})
    endif()
    string(STRIP "${line}" line)
    list(APPEND headers "${path}|${line}")
  endforeach()
  set(${out} "${headers}" PARENT_SCOPE)
endfunction()

# Adds a failure for each line of `file` that includes a header under one of the `folders`
# (a regular expression alternative, "a|b"), but the headers `allowed` (a regular expression).
function(refuse_includes file folders)
  set(allowed "${ARGN}")
  included_headers(${file} headers)
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
  foreach(entry ${headers})
    string(REGEX REPLACE "\\|.*" "" path "${entry}")
    string(REGEX REPLACE "^[^|]*\\|" "" line "${entry}")
    # A path that leaves the source tree is no folder's own either.
    if(path MATCHES "^(${folders}|\\.\\.)/" AND NOT (allowed AND path MATCHES "^(${allowed})$"))
      string(APPEND failures "\n  ${rel}: ${line}")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

list(LENGTH order count)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  list(GET order ${index} folder)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  # The folders above this one, which it must not include.
  set(above "")
  if(index GREATER 0)
    math(EXPR upper "${index} - 1")
    foreach(j RANGE ${upper})
      list(GET order ${j} name)
      list(APPEND above ${name})
    endforeach()
  endif()
  foreach(file ${files})
    refuse_includes(${file} "plugin|tests")
    # The application's windows and the program's entry sit above every folder.
    if(above AND NOT file MATCHES "/core/(Application|WinMain)\\.cpp$")
      list(JOIN above "|" pattern)
      refuse_includes(${file} "${pattern}")
    endif()
  endforeach()
endforeach()

# The plug-in: its own headers, the system's and the hand-over's agreement, nothing else.
file(GLOB_RECURSE files ${SOURCE_DIR}/plugin/*.cpp ${SOURCE_DIR}/plugin/*.h)
foreach(file ${files})
  refuse_includes(${file} "core|ui|dialogs|imaging|framework|resources|tests" "resources/plugin_handover\\.h")
endforeach()

# The ui/ sub-folders each include: which others, directly (edges_<name>) and in the end through
# any chain (reach_<name>).
file(GLOB children RELATIVE ${SOURCE_DIR}/ui ${SOURCE_DIR}/ui/*)
set(subfolders "")
foreach(child ${children})
  if(IS_DIRECTORY ${SOURCE_DIR}/ui/${child})
    list(APPEND subfolders ${child})
  endif()
endforeach()
foreach(sub ${subfolders})
  set(edges_${sub} "")
  file(GLOB_RECURSE files ${SOURCE_DIR}/ui/${sub}/*.cpp ${SOURCE_DIR}/ui/${sub}/*.h)
  foreach(file ${files})
    included_headers(${file} headers)
    foreach(entry ${headers})
      if(entry MATCHES "^ui/([^/|]+)/")
        set(other ${CMAKE_MATCH_1})
        if(NOT other STREQUAL sub)
          list(APPEND edges_${sub} ${other})
        endif()
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES edges_${sub})
  set(reach_${sub} ${edges_${sub}})
endforeach()
set(changed TRUE)
while(changed)
  set(changed FALSE)
  foreach(sub ${subfolders})
    foreach(next ${reach_${sub}})
      foreach(further ${reach_${next}})
        if(NOT further IN_LIST reach_${sub})
          list(APPEND reach_${sub} ${further})
          set(changed TRUE)
        endif()
      endforeach()
    endforeach()
  endforeach()
endwhile()
foreach(sub ${subfolders})
  if(sub IN_LIST reach_${sub})
    string(APPEND failures "\n  ui/${sub} includes itself through ${edges_${sub}} (reaching ${reach_${sub}})")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "The includes break the layers (folders from the top: ${order}; no plugin/ or tests/ "
                      "in the program; nothing of the program in plugin/ but resources/plugin_handover.h; "
                      "no cycle between ui/ sub-folders):${failures}")
endif()
