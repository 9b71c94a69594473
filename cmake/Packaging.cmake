# The Windows package: corvantide-VERSION-win64.zip with the DLL, the README
# and the license (`cmake --build --preset windows --target package`).
if(NOT WIN32)
  return()
endif()

install(FILES $<TARGET_FILE:corvantide> ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME corvantide)
set(CPACK_PACKAGE_VENDOR Corvantide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME corvantide-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

# The package as a user gets it: unpacked, the DLL exports only InitCustomize
# and loads in the simulated host under Wine.
if(CORVANTIDE_TESTS AND TARGET corvantide-sim)
  add_test(NAME windows-package
           COMMAND ${CMAKE_COMMAND}
             -DCPACK=${CMAKE_CPACK_COMMAND}
             -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
             -DWORK=${CMAKE_BINARY_DIR}/package-test
             -DPACKAGE=corvantide-${PROJECT_VERSION}-win64
             -DCHECK_EXPORTS=${PROJECT_SOURCE_DIR}/cmake/check-exports.sh
             -DOBJDUMP=${CORVANTIDE_OBJDUMP}
             -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
             -DHOST=$<TARGET_FILE:corvantide-sim>
             -P ${PROJECT_SOURCE_DIR}/cmake/check-package.cmake)
endif()
