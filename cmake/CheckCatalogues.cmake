# Fails when po/taviro.pot misses a marked text or keeps one no code has any
# more, or when a language's catalogue lacks a text of the template: an
# untranslated text would show in Chinese to that language's users.
#
#   cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch> -P CheckCatalogues.cmake
cmake_minimum_required(VERSION 3.20)
find_program(xgettext xgettext REQUIRED)
find_program(msgcmp msgcmp REQUIRED)

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(marked "")
foreach(source IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${source} uses REGEX "N_\\(|Tr\\(")
  if(uses)
    list(APPEND marked ${source})
  endif()
endforeach()
list(JOIN marked "\n" listing)
file(WRITE ${WORK_DIR}/POTFILES "${listing}\n")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${xgettext} --language=C++ --from-code=UTF-8 --keyword=N_ --keyword=Tr --no-location --sort-output
          -o ${WORK_DIR}/fresh.pot -f ${WORK_DIR}/POTFILES
  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE failed ERROR_VARIABLE why)
if(failed)
  message(FATAL_ERROR "xgettext failed:\n${why}")
endif()

# The entries, without the header (it carries the time it was made).
function(read_entries path out)
  file(READ ${path} text)
  string(FIND "${text}" "\n\n" header_end)
  math(EXPR header_end "${header_end} + 2")
  string(SUBSTRING "${text}" ${header_end} -1 text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
read_entries(${SOURCE_DIR}/po/taviro.pot kept)
read_entries(${WORK_DIR}/fresh.pot fresh)
if(NOT kept STREQUAL fresh)
  message(FATAL_ERROR "po/taviro.pot is not what the code marks; regenerate it as README says")
endif()

foreach(language en zh_TW)
  execute_process(COMMAND ${msgcmp} ${SOURCE_DIR}/po/${language}.po ${SOURCE_DIR}/po/taviro.pot
                  RESULT_VARIABLE differs ERROR_VARIABLE why)
  if(differs)
    message(FATAL_ERROR "po/${language}.po does not translate every text of the template:\n${why}")
  endif()
endforeach()
