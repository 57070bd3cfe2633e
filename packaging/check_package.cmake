# SPDX-License-Identifier: GPL-3.0-or-later
# Run as a test: cmake -DBUILD_DIR=... -DPACKAGE_DIR=... -DVERSION=...
#   -DSOURCE_DIR=... -DCHECK=build|unpacked|validated|lintian -P check_package.cmake
# "build" makes the Debian package from the build with cpack and unpacks it
# into PACKAGE_DIR/root; the other checks look at what it made.
set(deb ${PACKAGE_DIR}/tallowbrook_${VERSION}_amd64.deb)
set(root ${PACKAGE_DIR}/root)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

if(CHECK STREQUAL "build")
  file(REMOVE_RECURSE ${PACKAGE_DIR})
  file(MAKE_DIRECTORY ${PACKAGE_DIR})
  run(${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${PACKAGE_DIR})
  if(NOT EXISTS ${deb})
    message(FATAL_ERROR "cpack made no ${deb}")
  endif()
  run(dpkg-deb -x ${deb} ${root})
  message(STATUS "built and unpacked ${deb}")

elseif(CHECK STREQUAL "unpacked")
  foreach(expected
          usr/bin/tallowbrook usr/bin/tallowbrook-db usr/share/applications/tallowbrook.desktop
          usr/share/icons/hicolor/scalable/apps/tallowbrook.svg
          usr/share/icons/hicolor/16x16/apps/tallowbrook.png
          usr/share/icons/hicolor/48x48/apps/tallowbrook.png
          usr/share/icons/hicolor/256x256/apps/tallowbrook.png
          usr/share/metainfo/org.tallowbrook.tallowbrook.metainfo.xml
          usr/share/doc/tallowbrook/copyright usr/share/doc/tallowbrook/changelog.gz)
    if(NOT EXISTS ${root}/${expected})
      message(FATAL_ERROR "the package lacks /${expected}")
    endif()
  endforeach()
  # Both programs run from where the package put them.
  foreach(program tallowbrook tallowbrook-db)
    run(${root}/usr/bin/${program} --version)
    string(STRIP "${out}" said)
    if(NOT said STREQUAL "${program} ${VERSION}")
      message(FATAL_ERROR "${program} --version said '${said}', expected '${program} ${VERSION}'")
    endif()
  endforeach()
  # Dependencies computed from the programs' libraries, not listed by hand.
  run(dpkg-deb -f ${deb} Depends)
  foreach(library libqt6widgets6 libqt6printsupport6 libsqlite3 libpq5 libc6)
    string(FIND "${out}" "${library}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "Depends lacks ${library}: ${out}")
    endif()
  endforeach()
  # The licence is named where Debian and software centres look for it.
  file(READ ${root}/usr/share/doc/tallowbrook/copyright copyright)
  file(READ ${root}/usr/share/metainfo/org.tallowbrook.tallowbrook.metainfo.xml metainfo)
  foreach(pair "copyright|License: GPL-3+" "metainfo|GPL-3.0-or-later"
               "metainfo|<release version=\"${VERSION}\"")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 file)
    list(GET pair 1 wanted)
    string(FIND "${${file}}" "${wanted}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the ${file} file lacks ${wanted}")
    endif()
  endforeach()
  message(STATUS "the unpacked package is complete")

elseif(CHECK STREQUAL "validated")
  run(appstreamcli validate --no-net --pedantic
      ${root}/usr/share/metainfo/org.tallowbrook.tallowbrook.metainfo.xml)
  run(desktop-file-validate ${root}/usr/share/applications/tallowbrook.desktop)
  message(STATUS "the metainfo and the desktop entry validate")

elseif(CHECK STREQUAL "lintian")
  run(lintian --fail-on error --allow-root --tag-display-limit 0 ${deb})
  message(STATUS "lintian:\n${out}")

else()
  message(FATAL_ERROR "unknown CHECK ${CHECK}")
endif()
