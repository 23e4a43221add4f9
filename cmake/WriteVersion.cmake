# Writes the version header: the project version and, in a git checkout, what
# `git describe` says of the commit built. Run at every build, so the text follows the
# checkout; the header is only rewritten when the text changes.
#   cmake -DVERSION=2.02 -DSOURCE_DIR=... -DOUTPUT=.../KalvexVersion.h -P WriteVersion.cmake
set(text "${VERSION}")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --always --tags
                  OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND NOT described STREQUAL "")
    set(text "${VERSION} (${described})")
  endif()
endif()
file(WRITE "${OUTPUT}.new" "// Written by cmake/WriteVersion.cmake at build time.\n#pragma once\n#define KALVEX_VERSION_TEXT \"${text}\"\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
