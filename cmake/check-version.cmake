# The changelog's top section names the project version that --version, the
# DLL's version resource and the package's name are made from.
# Run by CTest (version-agreement) with -D CHANGELOG VERSION.
include(${CMAKE_CURRENT_LIST_DIR}/changelog-version.cmake)
changelog_version(${CHANGELOG})
if(NOT CHANGELOG_VERSION STREQUAL VERSION)
  message(FATAL_ERROR "the changelog's top section is ${CHANGELOG_VERSION}, the project version ${VERSION}")
endif()
message("the changelog's top section and the project are both ${VERSION}")
