# SPDX-License-Identifier: GPL-3.0-or-later
# A shop whose books are a file never loads the server's client library (nor
# the TLS, Kerberos and LDAP libraries it brings): the programs load it when
# a server is first named. Fails when either program would load it at start.
#
#   cmake -DPROGRAMS="a;b" -P check_start_libraries.cmake
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${PROGRAMS} RESOLVED_DEPENDENCIES_VAR loaded
     UNRESOLVED_DEPENDENCIES_VAR unresolved)
set(found "")
foreach(library IN LISTS loaded unresolved)
  get_filename_component(name "${library}" NAME)
  if(name MATCHES "^libpq\\.so")
    list(APPEND found "${library}")
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "loaded at start, before any server is named: ${found}")
endif()
list(LENGTH loaded count)
if(count EQUAL 0)
  message(FATAL_ERROR "no libraries found for ${PROGRAMS}: nothing was checked")
endif()
message(STATUS "${count} libraries at start, none of them a server's client library")
