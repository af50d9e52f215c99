# Installs the build in BUILD_DIR under the prefix /usr into the staging folder STAGE, as a package build
# would with DESTDIR and as `make install` does (stripped), and checks that every file lands where the
# desktop, man and the package tools look for it, and that no debugging symbols come along (READELF reads
# the sections). WITH_GUI is 1 when the build has the desktop program.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
                        --prefix /usr --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(expected
    usr/bin/glanex-cli
    usr/share/man/man1/glanex-cli.1.gz
    usr/share/man/fr/man1/glanex-cli.1.gz
    usr/share/doc/glanex/README
    usr/share/doc/glanex/copyright
    usr/share/doc/glanex/changelog.gz)
if(WITH_GUI)
  list(APPEND expected
       usr/bin/glanex
       usr/share/man/man1/glanex.1.gz
       usr/share/man/fr/man1/glanex.1.gz
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

foreach(program IN ITEMS glanex-cli glanex)
  if(EXISTS ${STAGE}/usr/bin/${program})
    execute_process(COMMAND ${READELF} -S --wide ${STAGE}/usr/bin/${program} OUTPUT_VARIABLE sections
                    COMMAND_ERROR_IS_FATAL ANY)
    if(sections MATCHES "\\.debug_")
      message(FATAL_ERROR "Installed with debugging symbols: usr/bin/${program}")
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE ${STAGE})
