# The Windows package: corvantide-VERSION-win64.zip with the DLL, the
# command-line host that checks it and the files it writes, a README for the
# Windows user (README.txt for Notepad, README.html for the browser), the
# user's guides as pages (docs\panel.html with the panel picture,
# docs\scene-format.html), the example scenes, the changelog and the license
# as text (`cmake --build --preset windows --target package`).
if(NOT WIN32)
  return()
endif()

# Every text opens with a double-click on Windows: the Markdown is rendered
# at build time by cmark-gfm (Debian: cmark-gfm), the plain texts get CR LF.
find_program(CORVANTIDE_CMARK cmark-gfm NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CORVANTIDE_PAGES ${CMAKE_BINARY_DIR}/package-pages)
# Source, file in the package, format (html, text or copy), title.
set(CORVANTIDE_PAGE_LIST
    "package/README.md|README.html|html|Corvantide for Windows"
    "package/README.md|README.txt|text|"
    "docs/panel.md|docs/panel.html|html|The Corvantide panel"
    "docs/scene-format.md|docs/scene-format.html|html|Scene files for corvantide-sim run"
    "CHANGELOG.md|CHANGELOG.txt|text|"
    "LICENSE|LICENSE.txt|copy|")
set(CORVANTIDE_PAGE_FILES)
foreach(page IN LISTS CORVANTIDE_PAGE_LIST)
  string(REPLACE "|" ";" fields "${page}")
  list(GET fields 0 source)
  list(GET fields 1 target)
  list(GET fields 2 format)
  list(GET fields 3 title)
  add_custom_command(OUTPUT ${CORVANTIDE_PAGES}/${target}
                     COMMAND ${CMAKE_COMMAND} -DCMARK=${CORVANTIDE_CMARK} -DINPUT=${PROJECT_SOURCE_DIR}/${source}
                             -DOUTPUT=${CORVANTIDE_PAGES}/${target} -DFORMAT=${format} "-DTITLE=${title}"
                             -P ${PROJECT_SOURCE_DIR}/cmake/render-guide.cmake
                     DEPENDS ${PROJECT_SOURCE_DIR}/${source} ${PROJECT_SOURCE_DIR}/cmake/render-guide.cmake
                     COMMENT "Rendering ${target}" VERBATIM)
  list(APPEND CORVANTIDE_PAGE_FILES ${CORVANTIDE_PAGES}/${target})
endforeach()
add_custom_target(corvantide-pages ALL DEPENDS ${CORVANTIDE_PAGE_FILES})

install(FILES $<TARGET_FILE:corvantide> ${CORVANTIDE_PAGES}/README.txt ${CORVANTIDE_PAGES}/README.html
              ${CORVANTIDE_PAGES}/CHANGELOG.txt ${CORVANTIDE_PAGES}/LICENSE.txt
        DESTINATION .)
install(FILES ${CORVANTIDE_PAGES}/docs/panel.html ${PROJECT_SOURCE_DIR}/docs/panel.svg
              ${CORVANTIDE_PAGES}/docs/scene-format.html
        DESTINATION docs)
file(GLOB CORVANTIDE_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.json)
install(FILES ${CORVANTIDE_EXAMPLES} DESTINATION examples)
if(TARGET corvantide-sim)
  install(TARGETS corvantide-sim RUNTIME DESTINATION .)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME corvantide)
set(CPACK_PACKAGE_VENDOR Corvantide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME corvantide-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

# The package as a user gets it, unpacked: the DLL exports only
# InitCustomize, carries its version, and loads in the packaged host under
# Wine; the packaged tools write, check and plot motion files.
if(CORVANTIDE_TESTS AND TARGET corvantide-sim)
  find_program(CORVANTIDE_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
  add_test(NAME windows-package
           COMMAND ${CMAKE_COMMAND}
             -DCPACK=${CMAKE_CPACK_COMMAND}
             -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
             -DWORK=${CMAKE_BINARY_DIR}/package-test
             -DPACKAGE=corvantide-${PROJECT_VERSION}-win64
             -DVERSION=${PROJECT_VERSION}
             -DSOURCE=${PROJECT_SOURCE_DIR}
             -DCHECK_EXPORTS=${PROJECT_SOURCE_DIR}/cmake/check-exports.sh
             -DOBJDUMP=${CORVANTIDE_OBJDUMP}
             -DWINDRES=${CORVANTIDE_WINDRES}
             -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
             -P ${PROJECT_SOURCE_DIR}/cmake/check-package.cmake)
endif()
