# Makes the Windows package, unpacks it and checks what a user receives.
# Run by CTest (windows-package) with -D CPACK CONFIG WORK PACKAGE VERSION
# CHECK_EXPORTS OBJDUMP WINDRES EMULATOR.
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
set(expected ${PACKAGE}/CHANGELOG.md ${PACKAGE}/LICENSE ${PACKAGE}/README.md ${PACKAGE}/corvantide-sim.exe
             ${PACKAGE}/corvantide.dll)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the package holds\n  ${contents}\nnot\n  ${expected}")
endif()
set(folder ${WORK}/unpacked/${PACKAGE})
set(dll ${folder}/corvantide.dll)
set(host ${folder}/corvantide-sim.exe)

execute_process(COMMAND sh ${CHECK_EXPORTS} ${dll} ${OBJDUMP} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the packaged DLL's export table is wrong")
endif()

# The version resource, as the file's properties show it.
execute_process(COMMAND ${WINDRES} -i ${dll} -O rc
                RESULT_VARIABLE result OUTPUT_VARIABLE resources ERROR_VARIABLE errors)
foreach(value "\"ProductName\", \"Corvantide\"" "\"FileVersion\", \"${VERSION}\""
              "\"ProductVersion\", \"${VERSION}\"" "\"FileDescription\", \"")
  string(FIND "${resources}" "VALUE ${value}" at)
  if(NOT result EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "the packaged DLL's version resource lacks ${value}:\n${resources}${errors}")
  endif()
endforeach()

# Runs the packaged host under Wine from the unpacked folder, as a user would.
function(run_host expected_status)
  execute_process(COMMAND ${EMULATOR} ${host} ${ARGN} WORKING_DIRECTORY ${folder}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  list(JOIN ARGN " " arguments)
  message("corvantide-sim ${arguments}: status ${result}")
  if(NOT result EQUAL expected_status)
    message(FATAL_ERROR "corvantide-sim ${arguments} ended with status ${result}:\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

run_host(0 --version)
if(NOT output MATCHES "^corvantide-sim ${VERSION}\r?\n$")
  message(FATAL_ERROR "corvantide-sim --version printed\n${output}")
endif()

run_host(0 check-plugin ${dll})
if(NOT output MATCHES "named the module \"Corvantide\"")
  message(FATAL_ERROR "the packaged DLL does not load in the packaged host:\n${output}")
endif()

# Files the packaged DLL writes in the packaged host, then checked and drawn.
run_host(0 demo --out ${WORK}/demo)
file(GLOB written ${WORK}/demo/*.mot)
if(NOT written)
  message(FATAL_ERROR "the demo wrote no motion file:\n${output}")
endif()
foreach(file ${written})
  run_host(0 check ${file})
endforeach()
list(GET written 0 file)
run_host(0 plot ${file} --out ${WORK}/plot.svg)
if(NOT EXISTS ${WORK}/plot.svg)
  message(FATAL_ERROR "plot drew no picture of ${file}:\n${output}")
endif()
