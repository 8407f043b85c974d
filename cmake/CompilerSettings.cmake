# Warnings and sanitizers for the project's own targets only; third-party
# headers come in as SYSTEM includes and are not held to -Werror.
add_library(taviro_warnings INTERFACE)
target_compile_options(taviro_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast>)
# GCC 12 reports std::string copies as overlapping at -O3 (its bug 105329),
# a false alarm in the standard library that would stop optimised builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(taviro_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
if(TAVIRO_WERROR)
  target_compile_options(taviro_warnings INTERFACE -Werror)
endif()

# The vptr check is left out: WebKit's script engine calls our instrumented
# copies of the standard library's shared_ptr code on its own objects, whose
# types the check cannot know, and it reports them as bad.
if(TAVIRO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined -fno-sanitize=vptr)
endif()

# Fuzzing instruments every library the targets link, so that libFuzzer sees
# the coverage of the parsers themselves; the targets add its driver.
if(TAVIRO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TAVIRO_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # Source-based coverage of the same binaries, so that scripts/fuzz_coverage.sh
  # reports which lines of each parser its corpus reaches.
  option(TAVIRO_FUZZ_COVERAGE "Fuzz targets also record llvm-cov coverage" OFF)
  if(TAVIRO_FUZZ_COVERAGE)
    add_compile_options(-fprofile-instr-generate -fcoverage-mapping)
    add_link_options(-fprofile-instr-generate)
  endif()
endif()

# Optimised builds are hardened as Debian builds its packages: the flags
# dpkg-buildflags gives with every hardening feature on (stack protector,
# fortified calls, relocations read-only and bound at start). The build type
# keeps its own -O and -g.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT TAVIRO_SANITIZE AND NOT TAVIRO_FUZZ)
  find_program(TAVIRO_DPKG_BUILDFLAGS dpkg-buildflags)
  if(TAVIRO_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${TAVIRO_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      separate_arguments(flags UNIX_COMMAND "${flags}")
      list(FILTER flags EXCLUDE REGEX "^-(O[0-9s]?|g)$")
      set(TAVIRO_HARDENING_${kind} ${flags})
    endforeach()
    add_compile_options(${TAVIRO_HARDENING_CPPFLAGS}
      "$<$<COMPILE_LANGUAGE:C>:${TAVIRO_HARDENING_CFLAGS}>"
      "$<$<COMPILE_LANGUAGE:CXX>:${TAVIRO_HARDENING_CXXFLAGS}>")
    add_link_options(${TAVIRO_HARDENING_LDFLAGS})
  endif()
endif()
