# SPDX-License-Identifier: GPL-3.0-or-later
# Checks who includes whom. Run as a test:
#   cmake -DSOURCE_DIR=<checkout> -P scripts/check_layers.cmake
# Fails with one line per include that breaks the map below, then the map.
# The map is written here only; CODING.md quotes it, and this check fails
# when the quote differs.
#
# map of the layers
# Each folder of src/ is one library and one layer, each linking only the
# layers below it, and every include names its layer from src/
# ("ledger/records/record_source.h"). Top to bottom, and what each may
# include besides its own folder:
#
#   app                    the program's main: ledger, forms, interfaces,
#                          the windows
#   shell daily supplies   the windows, one library each: ledger, forms,
#   monthly staff salary   interfaces, the rules, never another window (the
#   charts history         shell also setup and accountant, to make,
#                          restore and export books)
#   interfaces             the faces windows reach each other through, the
#                          windows' names and the settlement chain of the
#                          two sheets: ledger, forms, daily/rules
#   daily/rules            the sheets' arithmetic, free of widgets, shared
#   salary/rules           by the windows, the charts and the tool: ledger
#   charts/figures         the figures behind the pictures: ledger, rules
#   charts/pictures        the pictures, free of the windows' binding (the
#                          tool draws them too): ledger, rules, figures
#   forms                  the widget binding: bound fields, data controls,
#                          the window base, the workspace, prompts,
#                          printing: ledger
#   accountant             the exports for the accountant: ledger, rules
#   setup                  making, checking, copying and restoring books,
#                          adding a member of staff: ledger
#   ledger                 the core, Qt Core and the store: itself only
#
# Windows and their binding never read where the books live
# (ledger/location): only the shell, which finds and changes them, and the
# program's main do. Below the store's seam lie the engines: nothing above
# ledger/store/ includes ledger/store/sqlite/, ledger/store/postgres/,
# <sqlite3.h> or <libpq-fe.h>, the tool in tools/ included, and no window
# includes the store's header (ledger/store/store.h). The source
# files of setup/ (never its headers) make and check databases through the
# store's wrappers of a connection.
# end of the map

cmake_minimum_required(VERSION 3.25)

set(windows shell daily supplies monthly staff salary charts history)
set(core "ledger/base" "ledger/location" "ledger/credentials" "ledger/amount" "ledger/calendar"
         "ledger/query" "ledger/schema" "ledger/records" "ledger/totals" "ledger/store")
# The sheets' arithmetic, free of widgets: every window, the charts and the
# tool use it, so no window links another for a figure.
set(rules "daily/rules" "salary/rules")

# Windows and their binding open the books the workspace holds (set once at
# the start); only the shell, which finds and changes them, and the program's
# main read where they live.
set(window_core ${core})
list(REMOVE_ITEM window_core "ledger/location")

# Layer (a folder under src/) -> the include prefixes it may use besides its own.
set(allowed_ledger ${core})
set(allowed_setup ${core})
# The exports balance the days and price salaries by the windows' own rules.
set(allowed_accountant ${core} daily/rules salary/rules)
set(allowed_forms ${window_core})
# The settlement chain both sheets balance with uses the sheet balance.
set(allowed_interfaces ${window_core} forms daily/rules)
set(allowed_app ${core} forms interfaces ${windows})
foreach(window IN LISTS windows)
  set(allowed_${window} ${window_core} forms interfaces ${rules})
endforeach()

# Folders inside a layer with narrower rules of their own: the rules and the
# charts' figures stay free of widgets, the charts' pictures free of the
# windows' binding (the tool draws them too).
set(sublayers ${rules} "charts/figures" "charts/pictures")
set(allowed_daily/rules ${core})
set(allowed_salary/rules ${core})
set(allowed_charts/figures ${core} ${rules})
set(allowed_charts/pictures ${core} ${rules} "charts/figures")
set(allowed_salary ${allowed_salary} salary/rules)
# The first start creates books and the Books window restores and exports them.
set(allowed_shell ${allowed_shell} setup accountant ledger/location)

# Below the store's seam: the engines. Only the store itself includes the
# engines' own headers; the making and checking of databases in setup/ goes
# through the store's wrappers of a connection (ledger/store/sqlite/ and
# ledger/store/postgres/), from its source files only: no header of setup/
# (what the tool, the shell and the tests include) may hand an engine on.
set(engine_includes "ledger/store/sqlite/" "ledger/store/postgres/")
set(engine_headers "sqlite3.h" "libpq-fe.h")
set(may_reach_engines "ledger/store" "setup")
set(engine_free_headers "setup")
set(may_include_engine_headers "ledger/store")

# Row identity, conflict checks and transactions live in the store and the
# record sources: a window reaches the books through them
# (ledger/records/), never through the store's own header. The sheets' rules
# and the charts' figures, which read the books without widgets, may.
set(store_header "ledger/store/store.h")

set(problems "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  get_filename_component(folder "${source}" DIRECTORY)
  foreach(sublayer IN LISTS sublayers)
    string(FIND "${folder}/" "${sublayer}/" at)
    if(at EQUAL 0)
      set(layer "${sublayer}")
    endif()
  endforeach()
  set(engines_ok FALSE)
  foreach(prefix IN LISTS may_reach_engines)
    string(FIND "${folder}/" "${prefix}/" at)
    if(at EQUAL 0)
      set(engines_ok TRUE)
    endif()
  endforeach()
  if(source MATCHES "\\.h$")
    foreach(prefix IN LISTS engine_free_headers)
      string(FIND "${folder}/" "${prefix}/" at)
      if(at EQUAL 0)
        set(engines_ok FALSE)
      endif()
    endforeach()
  endif()

  set(engine_headers_ok FALSE)
  foreach(prefix IN LISTS may_include_engine_headers)
    string(FIND "${folder}/" "${prefix}/" at)
    if(at EQUAL 0)
      set(engine_headers_ok TRUE)
    endif()
  endforeach()

  file(STRINGS ${SOURCE_DIR}/src/${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      if(NOT engine_headers_ok AND CMAKE_MATCH_1 IN_LIST engine_headers)
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
    if(layer IN_LIST windows AND included STREQUAL store_header)
      list(APPEND problems "src/${source}: a window may not include \"${included}\"")
    endif()
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

# The database tool stands above the seam as the windows do: it works on the
# books through setup/ and the store.
file(GLOB_RECURSE tool_sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/tools/*.h
     ${SOURCE_DIR}/tools/*.cpp)
foreach(source IN LISTS tool_sources)
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>" AND CMAKE_MATCH_1 IN_LIST engine_headers)
      list(APPEND problems "${source}: <${CMAKE_MATCH_1}> is below the store's seam")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(included "${CMAKE_MATCH_1}")
      foreach(prefix IN LISTS engine_includes)
        string(FIND "${included}" "${prefix}" at)
        if(at EQUAL 0)
          list(APPEND problems "${source}: \"${included}\" is below the store's seam")
        endif()
      endforeach()
    endif()
  endforeach()
endforeach()
list(APPEND sources ${tool_sources})

# The map, read from this file's own comment above.
file(STRINGS ${CMAKE_CURRENT_LIST_FILE} own_lines)
set(map_lines "")
set(in_map FALSE)
foreach(line IN LISTS own_lines)
  if(line STREQUAL "# end of the map")
    break()
  endif()
  if(in_map)
    string(REGEX REPLACE "^# ?" "" line "${line}")
    list(APPEND map_lines "${line}")
  endif()
  if(line STREQUAL "# map of the layers")
    set(in_map TRUE)
  endif()
endforeach()
list(JOIN map_lines "\n" map)
if(NOT map_lines)
  message(FATAL_ERROR "The map of the layers is missing from ${CMAKE_CURRENT_LIST_FILE}.")
endif()

# CODING.md quotes the map as an indented block; a quote that drifted from
# the map misleads the next reader as much as a wrong include.
set(quoted "")
foreach(line IN LISTS map_lines)
  if(line STREQUAL "")
    string(APPEND quoted "\n")
  else()
    string(APPEND quoted "    ${line}\n")
  endif()
endforeach()
file(READ ${SOURCE_DIR}/CODING.md coding)
string(FIND "${coding}" "${quoted}" at)
if(at EQUAL -1)
  list(APPEND problems
       "CODING.md: its map of the layers differs from this check's. Quote the map again.")
endif()

if(problems)
  list(JOIN problems "\n" text)
  # Printed as written: the map's columns matter.
  message(NOTICE "${text}\n\nThe map of the layers:\n\n${map}\n")
  message(FATAL_ERROR "The lines above break the layers.")
endif()
list(LENGTH sources count)
message(STATUS "Layers hold: ${count} files checked")
