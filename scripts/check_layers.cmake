# Checks who includes whom (README: "Layout"). Run as a test:
#   cmake -DSOURCE_DIR=<checkout> -P scripts/check_layers.cmake
# Each folder of src/ is one layer and may include only the layers listed for
# it; nothing above the store's seam may include an engine's headers (the
# SQLite and PostgreSQL store code, <sqlite3.h>, <libpq-fe.h>). Fails with
# one line per include that breaks the rule.

cmake_minimum_required(VERSION 3.25)

set(windows shell daily supplies monthly staff salary)
set(core "ledger/base" "ledger/location" "ledger/credentials" "ledger/amount" "ledger/calendar" "ledger/query" "ledger/schema"
         "ledger/records" "ledger/store")

# Layer (a folder under src/) -> the include prefixes it may use besides its own.
set(allowed_ledger ${core})
set(allowed_setup ${core})
set(allowed_forms ${core})
set(allowed_interfaces ${core} forms)
set(allowed_app ${core} forms interfaces ${windows})
foreach(window IN LISTS windows)
  set(allowed_${window} ${core} forms interfaces)
endforeach()
set(allowed_salary ${allowed_salary} salary/rules)

# Below the store's seam: the engines. Only the store itself reaches them
# (and, for now, the making and checking of files in setup/).
set(engine_includes "ledger/store/sqlite/" "ledger/store/postgres/")
set(engine_headers "sqlite3.h" "libpq-fe.h")
set(may_reach_engines "ledger/store" "setup")

set(problems "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  get_filename_component(folder "${source}" DIRECTORY)
  set(engines_ok FALSE)
  foreach(prefix IN LISTS may_reach_engines)
    string(FIND "${folder}/" "${prefix}/" at)
    if(at EQUAL 0)
      set(engines_ok TRUE)
    endif()
  endforeach()

  file(STRINGS ${SOURCE_DIR}/src/${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      if(NOT engines_ok AND CMAKE_MATCH_1 IN_LIST engine_headers)
        list(APPEND problems "src/${source}: <${CMAKE_MATCH_1}> is below the store's seam")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included "${CMAKE_MATCH_1}")
    if(NOT included MATCHES "/")
      list(APPEND problems "src/${source}: \"${included}\" does not name its layer")
      continue()
    endif()
    foreach(prefix IN LISTS engine_includes)
      string(FIND "${included}" "${prefix}" at)
      if(at EQUAL 0 AND NOT engines_ok)
        list(APPEND problems "src/${source}: \"${included}\" is below the store's seam")
      endif()
    endforeach()
    # Its own layer, or one it may use.
    set(ok FALSE)
    foreach(prefix IN LISTS layer allowed_${layer})
      string(FIND "${included}" "${prefix}/" at)
      if(at EQUAL 0)
        set(ok TRUE)
      endif()
    endforeach()
    if(NOT ok)
      list(APPEND problems "src/${source}: layer '${layer}' may not include \"${included}\"")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "Includes that break the layers:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "Layers hold: ${count} files checked")
