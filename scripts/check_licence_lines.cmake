# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file says its licence in its first lines (the package and the
# metainfo name the same one). Run as a test:
#   cmake -DSOURCE_DIR=<checkout> -P scripts/check_licence_lines.cmake
# Fails with one line per file that lacks it.

cmake_minimum_required(VERSION 3.25)

set(licence "SPDX-License-Identifier: GPL-3.0-or-later")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/tools/*.cpp
     ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
     ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/scripts/*.sh
     ${SOURCE_DIR}/scripts/*.cmake ${SOURCE_DIR}/bench/*.sh)
file(GLOB_RECURSE lists RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/CMakeLists.txt)
list(FILTER lists EXCLUDE REGEX "^build")
list(FILTER sources EXCLUDE REGEX "^build")
set(missing 0)
foreach(file IN LISTS sources lists)
  file(STRINGS ${SOURCE_DIR}/${file} head LIMIT_COUNT 3)
  string(FIND "${head}" "${licence}" at)
  if(at EQUAL -1)
    message("${file}: no '${licence}' in its first lines")
    math(EXPR missing "${missing} + 1")
  endif()
endforeach()
if(missing GREATER 0)
  message(FATAL_ERROR "${missing} source files do not name their licence")
endif()
