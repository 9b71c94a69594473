# The test suite: one executable with one shared main. CTest lists every case
# by name; for the Windows build the cases are listed and run under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR).
include(GoogleTest)
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Warnings as errors are for our own code, not GoogleTest's.
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
  set(CORVANTIDE_GTEST gtest)
else()
  find_package(GTest REQUIRED)
  set(CORVANTIDE_GTEST GTest::gtest)
endif()

file(GLOB_RECURSE CORVANTIDE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*.cpp)
# The command-line host adds its own tests when it is built (cli/).
list(FILTER CORVANTIDE_TEST_SOURCES EXCLUDE REGEX "/tests/cli/")
add_executable(corvantide-tests ${CORVANTIDE_TEST_SOURCES})
target_include_directories(corvantide-tests PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(corvantide-tests PRIVATE corvantide_objects ${CORVANTIDE_GTEST})
corvantide_host_program(corvantide-tests)
target_link_libraries(corvantide-tests PRIVATE corvantide_motfile)

# Locales of the build's own (glibc finds them through LOCPATH, Wine too), so
# the tests do not depend on the locales the machine has: a decimal-comma one
# proves that files never follow the process locale, and under Wine the
# locale sets the ANSI code page (de_DE.UTF-8: 1252, ja_JP.UTF-8: 932). Without
# localedef the tests that need them report themselves skipped or failed.
set(CORVANTIDE_LOCALES ${CMAKE_BINARY_DIR}/locales)
find_program(CORVANTIDE_LOCALEDEF localedef)
foreach(locale de_DE ja_JP)
  if(CORVANTIDE_LOCALEDEF AND NOT EXISTS ${CORVANTIDE_LOCALES}/${locale}.UTF-8/LC_CTYPE)
    file(MAKE_DIRECTORY ${CORVANTIDE_LOCALES})
    execute_process(COMMAND ${CORVANTIDE_LOCALEDEF} -i ${locale} -f UTF-8 ${CORVANTIDE_LOCALES}/${locale}.UTF-8
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(NOT EXISTS ${CORVANTIDE_LOCALES}/${locale}.UTF-8/LC_CTYPE)
    message(WARNING "localedef could not make ${locale}.UTF-8 (Debian: locales); the tests that need it fail or skip")
  endif()
endforeach()
set(CORVANTIDE_TEST_ENVIRONMENT LOCPATH=${CORVANTIDE_LOCALES})

# Cases are listed when CTest runs, so listing the Windows build's cases runs
# the program under Wine; a cold Wine start can take many seconds. A case that
# calls GTEST_SKIP shows in CTest as skipped, by name. Parameterized cases
# keep their own names, without a dump of the parameter (which holds addresses).
#
# On Windows the suites of names in the ANSI code page ("CodePage...") run
# instead once per code page, each in a Wine prefix of its own (wine-run.sh
# makes it on first use), so processes of different code pages never share a
# Wine server.
# RealEscapeKey presses the window server's key, which every process under
# one Wine prefix shares: it is listed apart and runs alone (RUN_SERIAL), and
# passes only when it really ran.
set(CORVANTIDE_CODE_PAGE_SUITES "CodePage*")
set(CORVANTIDE_MAIN_FILTER TEST_FILTER "-RealEscapeKey.*")
if(WIN32)
  set(CORVANTIDE_MAIN_FILTER TEST_FILTER "-RealEscapeKey.*:${CORVANTIDE_CODE_PAGE_SUITES}")
endif()
gtest_discover_tests(corvantide-tests
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                     DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 120
                     NO_PRETTY_VALUES NO_PRETTY_TYPES
                     ${CORVANTIDE_MAIN_FILTER}
                     PROPERTIES ENVIRONMENT ${CORVANTIDE_TEST_ENVIRONMENT})

if(WIN32)
  foreach(codePage 932 1252)
    if(codePage EQUAL 932)
      set(locale ja_JP.UTF-8)
    else()
      set(locale de_DE.UTF-8)
    endif()
    add_test(NAME code-page-${codePage}
             COMMAND corvantide-tests --gtest_filter=${CORVANTIDE_CODE_PAGE_SUITES}
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(code-page-${codePage} PROPERTIES ENVIRONMENT
                         "${CORVANTIDE_TEST_ENVIRONMENT};LC_ALL=${locale};CORVANTIDE_CODE_PAGE=${codePage};WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix-cp${codePage}")
  endforeach()
endif()

if(WIN32)
  add_test(NAME RealEscapeKey COMMAND corvantide-tests --gtest_filter=RealEscapeKey.*
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(RealEscapeKey PROPERTIES RUN_SERIAL TRUE PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test"
                       FAIL_REGULAR_EXPRESSION "FAILED" ENVIRONMENT "${CORVANTIDE_TEST_ENVIRONMENT}")
endif()

if(WIN32)
  find_program(CORVANTIDE_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
endif()
add_test(NAME library-exports
         COMMAND ${PROJECT_SOURCE_DIR}/cmake/check-exports.sh $<TARGET_FILE:corvantide> ${CORVANTIDE_OBJDUMP})

# One version everywhere: the changelog's top section is the project version
# (--version, the DLL's resource and the package's name are made from it).
add_test(NAME version-agreement
         COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DVERSION=${PROJECT_VERSION}
                 -P ${PROJECT_SOURCE_DIR}/cmake/check-version.cmake)
