# The Windows package: corvantide-VERSION-win64.zip with the DLL, the
# command-line host that checks it and the files it writes, a README for the
# Windows user, the user's documents, the example scenes, the changelog and
# the license (`cmake --build --preset windows --target package`).
if(NOT WIN32)
  return()
endif()

install(FILES $<TARGET_FILE:corvantide> ${PROJECT_SOURCE_DIR}/package/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
              ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/panel.md ${PROJECT_SOURCE_DIR}/docs/panel.svg
              ${PROJECT_SOURCE_DIR}/docs/scene-format.md
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
