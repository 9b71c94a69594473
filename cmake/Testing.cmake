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

# A decimal-comma locale of the build's own (glibc finds it through LOCPATH),
# so the tests prove that files never follow the process locale without
# depending on the locales the machine has. Without localedef the test that
# needs it reports itself skipped.
set(CORVANTIDE_TEST_ENVIRONMENT)
if(NOT WIN32)
  set(CORVANTIDE_LOCALES ${CMAKE_BINARY_DIR}/locales)
  find_program(CORVANTIDE_LOCALEDEF localedef)
  if(CORVANTIDE_LOCALEDEF AND NOT EXISTS ${CORVANTIDE_LOCALES}/de_DE.UTF-8/LC_NUMERIC)
    file(MAKE_DIRECTORY ${CORVANTIDE_LOCALES})
    execute_process(COMMAND ${CORVANTIDE_LOCALEDEF} -i de_DE -f UTF-8 ${CORVANTIDE_LOCALES}/de_DE.UTF-8
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(NOT EXISTS ${CORVANTIDE_LOCALES}/de_DE.UTF-8/LC_NUMERIC)
      message(WARNING "localedef could not make de_DE.UTF-8 (Debian: locales); the decimal-comma test skips")
    endif()
  endif()
  set(CORVANTIDE_TEST_ENVIRONMENT ENVIRONMENT LOCPATH=${CORVANTIDE_LOCALES})
endif()

# Cases are listed when CTest runs, so listing the Windows build's cases runs
# the program under Wine; a cold Wine start can take many seconds. A case that
# calls GTEST_SKIP shows in CTest as skipped, by name. Parameterized cases
# keep their own names, without a dump of the parameter (which holds addresses).
# RealEscapeKey presses the window server's key, which every process under
# one Wine prefix shares: it is listed apart and runs alone (RUN_SERIAL), and
# passes only when it really ran.
gtest_discover_tests(corvantide-tests
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                     TEST_FILTER -RealEscapeKey.*
                     DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 120
                     NO_PRETTY_VALUES NO_PRETTY_TYPES
                     PROPERTIES ${CORVANTIDE_TEST_ENVIRONMENT})

if(WIN32)
  add_test(NAME RealEscapeKey COMMAND corvantide-tests --gtest_filter=RealEscapeKey.*
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(RealEscapeKey PROPERTIES RUN_SERIAL TRUE PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test"
                       FAIL_REGULAR_EXPRESSION "FAILED")
endif()

if(WIN32)
  find_program(CORVANTIDE_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
endif()
add_test(NAME library-exports
         COMMAND ${PROJECT_SOURCE_DIR}/cmake/check-exports.sh $<TARGET_FILE:corvantide> ${CORVANTIDE_OBJDUMP})
