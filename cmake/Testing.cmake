# The test suite: one executable with one shared main, run by CTest (under
# Wine for the Windows build, through CMAKE_CROSSCOMPILING_EMULATOR).
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
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
add_test(NAME corvantide-tests COMMAND corvantide-tests --gtest_brief=1
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(WIN32)
  find_program(CORVANTIDE_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
endif()
add_test(NAME library-exports
         COMMAND ${PROJECT_SOURCE_DIR}/cmake/check-exports.sh $<TARGET_FILE:corvantide> ${CORVANTIDE_OBJDUMP})
