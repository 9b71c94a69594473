# Makes the Windows package, unpacks it and checks what a user receives.
# Run by CTest (windows-package) with -D CPACK CONFIG WORK PACKAGE
# CHECK_EXPORTS OBJDUMP EMULATOR HOST.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CPACK} -G ZIP --config ${CONFIG} -B ${WORK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
set(zip ${WORK}/${PACKAGE}.zip)
if(NOT EXISTS ${zip})
  message(FATAL_ERROR "no ${PACKAGE}.zip in ${WORK}:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${WORK}/unpacked
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${zip}")
endif()

file(GLOB_RECURSE contents RELATIVE ${WORK}/unpacked ${WORK}/unpacked/*)
list(SORT contents)
set(expected ${PACKAGE}/LICENSE ${PACKAGE}/README.md ${PACKAGE}/corvantide.dll)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the package holds\n  ${contents}\nnot\n  ${expected}")
endif()
set(dll ${WORK}/unpacked/${PACKAGE}/corvantide.dll)

execute_process(COMMAND sh ${CHECK_EXPORTS} ${dll} ${OBJDUMP} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the packaged DLL's export table is wrong")
endif()

execute_process(COMMAND ${EMULATOR} ${HOST} check-plugin ${dll}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 0 OR NOT output MATCHES "named the module \"Corvantide\"")
  message(FATAL_ERROR "the packaged DLL does not load in the simulated host (status ${result})")
endif()
