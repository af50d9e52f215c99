# Installs the build in BUILD_DIR under the prefix /usr into the staging folder STAGE, as a package build
# would with DESTDIR, and checks that every file lands where the desktop looks for it. WITH_GUI is 1 when the
# build has the desktop program.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
                        --prefix /usr
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(expected usr/bin/glanex-cli)
if(WITH_GUI)
  list(APPEND expected
       usr/bin/glanex
       usr/share/applications/org.example.Glanex.desktop
       usr/share/metainfo/org.example.Glanex.metainfo.xml
       usr/share/icons/hicolor/16x16/apps/org.example.Glanex.png
       usr/share/icons/hicolor/32x32/apps/org.example.Glanex.png
       usr/share/icons/hicolor/48x48/apps/org.example.Glanex.png
       usr/share/icons/hicolor/scalable/apps/org.example.Glanex.svg)
endif()

set(missing)
foreach(file IN LISTS expected)
  if(NOT EXISTS ${STAGE}/${file})
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "Not installed: ${missing}")
endif()
file(REMOVE_RECURSE ${STAGE})
