# Makes the Windows package, unpacks it and checks what a user receives.
# Run by CTest (windows-package) with -D CPACK CONFIG WORK PACKAGE VERSION
# SOURCE CHECK_EXPORTS OBJDUMP WINDRES EMULATOR.
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
file(GLOB examples RELATIVE ${SOURCE}/examples ${SOURCE}/examples/*.json)
list(TRANSFORM examples PREPEND ${PACKAGE}/examples/)
set(expected ${PACKAGE}/CHANGELOG.md ${PACKAGE}/LICENSE ${PACKAGE}/README.md ${PACKAGE}/corvantide-sim.exe
             ${PACKAGE}/corvantide.dll ${PACKAGE}/docs/panel.md ${PACKAGE}/docs/panel.svg
             ${PACKAGE}/docs/scene-format.md ${examples})
list(SORT expected)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the package holds\n  ${contents}\nnot\n  ${expected}")
endif()
set(folder ${WORK}/unpacked/${PACKAGE})

# The README is the Windows user's: every document it links is in the zip,
# and it sends no one to a build machine.
file(READ ${folder}/README.md readme)
# Link targets "(docs/panel.md)"; no brackets in the list, which CMake would
# take for quoting.
string(REGEX MATCHALL "\\([a-z]+/[^) #]+\\)" links "${readme}")
if(NOT links)
  message(FATAL_ERROR "the package's README links no document")
endif()
foreach(link ${links})
  string(REGEX REPLACE "^\\((.*)\\)$" "\\1" target "${link}")
  if(NOT EXISTS ${folder}/${target})
    message(FATAL_ERROR "the package's README links ${target}, which is not in the zip")
  endif()
endforeach()
foreach(word "corvantide.dll" "check-plugin" "examples\\keyed-item.json")
  string(FIND "${readme}" "${word}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's README never mentions ${word}")
  endif()
endforeach()
foreach(word "apt-get" "scripts/" "build/" "cmake")
  string(FIND "${readme}" "${word}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the package's README speaks of ${word}, which a Windows user does not have")
  endif()
endforeach()
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
# With no library named, the one beside the program.
run_host(0 check-plugin)
if(NOT output MATCHES "corvantide.dll: loaded")
  message(FATAL_ERROR "check-plugin did not find the DLL beside the program:\n${output}")
endif()
run_host(0 check-plugin --help)
if(NOT output MATCHES "Usage: corvantide-sim check-plugin" OR
   NOT output MATCHES "%CORVANTIDE_PLUGIN%, else corvantide.dll beside the program")
  message(FATAL_ERROR "check-plugin --help does not speak as the Windows program:\n${output}")
endif()

# A scene from the zip's examples, run as the README says.
run_host(0 run examples\\keyed-item.json --out try --no-pictures)
if(NOT EXISTS ${folder}/try/Box.mot)
  message(FATAL_ERROR "run examples\\keyed-item.json wrote no Box.mot:\n${output}")
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
