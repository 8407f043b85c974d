# Fails when the core includes a toolkit, web engine, player or HTTP library
# header or a Linux adapter, or when a core folder includes a folder at its
# own level or above: folders depend in one direction, so no include cycle
# can form between them. The download helper's program includes only what
# lies below the program's subsystems.
#
#   cmake -DSOURCE_DIR=<repository> -P CheckCoreIncludes.cmake
cmake_minimum_required(VERSION 3.20)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# Bottom to top; a folder may include only folders of a lower rank.
set(rank_ports 0)
set(rank_util 1)
set(rank_library 2)
set(rank_channels 2)
set(rank_settings 2)
set(rank_helper 3)
set(rank_window 4)
set(rank_lists 5)
set(rank_playback 6)
set(rank_services 6)
set(rank_ui 7)
set(rank_app 8)
set(core_folders ports util library channels settings helper window lists playback services ui app)
set(helper_program_may util settings helper ports linux)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
# The unit tests drive the core alone: no library header either.
file(GLOB_RECURSE unit_tests RELATIVE ${SOURCE_DIR}/src
  ${SOURCE_DIR}/tests/support/*.h ${SOURCE_DIR}/tests/support/*.cpp)
foreach(folder IN ITEMS util library channels settings helper window lists playback services ui app)
  file(GLOB_RECURSE more RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/tests/${folder}/*.h ${SOURCE_DIR}/tests/${folder}/*.cpp)
  list(APPEND unit_tests ${more})
endforeach()

set(forbidden
  "<(gtk|gdk|gdk-pixbuf|glib|gio|gobject|webkit2|webkit|JavaScriptCore|jsc|mpv|curl|cairo|pango|libnotify|libdbusmenu-glib|libdbusmenu-gtk|epoxy)[/.-]"
  "<(glib|gio|gtk|webkit2|cairo|pango)\\.h>"
  "\"linux/")

set(violations "")
set(checked 0)
foreach(relative IN LISTS sources unit_tests)
  string(REGEX MATCH "^[^/]+" own "${relative}")
  if(own STREQUAL "..")
    set(own "tests")
  endif()
  if(own STREQUAL "linux" AND NOT relative MATCHES "^linux/helper/")
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${SOURCE_DIR}/src/${relative} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(own STREQUAL "linux")
      if(line MATCHES "\"([a-z_]+)/" AND NOT CMAKE_MATCH_1 IN_LIST helper_program_may)
        string(APPEND violations "  src/${relative}: ${line} (the helper program stays below the program's subsystems)\n")
      endif()
      continue()
    endif()
    foreach(pattern IN LISTS forbidden)
      if(line MATCHES "${pattern}")
        string(APPEND violations "  src/${relative}: ${line} (an adapter or library header)\n")
        break()
      endif()
    endforeach()
    if(own STREQUAL "tests")
      continue()
    endif()
    if(line MATCHES "\"([a-z_]+)/" AND CMAKE_MATCH_1 IN_LIST core_folders)
      set(target ${CMAKE_MATCH_1})
      if(NOT target STREQUAL own AND NOT rank_${target} LESS rank_${own})
        string(APPEND violations "  src/${relative}: ${line} (${own} may not include ${target})\n")
      endif()
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the core's layering:\n${violations}")
endif()
message(STATUS "${checked} files keep the core's layering")
