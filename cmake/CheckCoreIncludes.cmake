# Fails when a file of the core, or a unit test of it, includes a toolkit,
# web engine, player or HTTP library header, or an adapter under
# linux/. The core reaches those only through src/ports/*.h.
#
#   cmake -DSOURCE_DIR=<repository> -P CheckCoreIncludes.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
  ${SOURCE_DIR}/tests/app/*.h ${SOURCE_DIR}/tests/app/*.cpp
  ${SOURCE_DIR}/tests/lists/*.h ${SOURCE_DIR}/tests/lists/*.cpp
  ${SOURCE_DIR}/tests/playback/*.h ${SOURCE_DIR}/tests/playback/*.cpp
  ${SOURCE_DIR}/tests/ui/*.h ${SOURCE_DIR}/tests/ui/*.cpp
  ${SOURCE_DIR}/tests/services/*.h ${SOURCE_DIR}/tests/services/*.cpp
  ${SOURCE_DIR}/tests/support/*.h ${SOURCE_DIR}/tests/support/*.cpp)
list(FILTER core_files EXCLUDE REGEX "/src/linux/")

set(forbidden
  "<(gtk|gdk|gdk-pixbuf|glib|gio|gobject|webkit2|webkit|JavaScriptCore|jsc|mpv|curl|cairo|pango|libnotify|epoxy)[/.-]"
  "<(glib|gio|gtk|webkit2|cairo|pango)\\.h>"
  "[\"<]linux/")

set(violations "")
foreach(file IN LISTS core_files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    foreach(pattern IN LISTS forbidden)
      if(line MATCHES "${pattern}")
        file(RELATIVE_PATH relative ${SOURCE_DIR} ${file})
        string(APPEND violations "  ${relative}: ${line}\n")
        break()
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "The core must not include adapter or library headers:\n${violations}")
endif()
list(LENGTH core_files count)
message(STATUS "${count} core files include no adapter or library header")
