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
set(expected ${PACKAGE}/CHANGELOG.txt ${PACKAGE}/LICENSE.txt ${PACKAGE}/README.html ${PACKAGE}/README.txt
             ${PACKAGE}/corvantide-sim.exe ${PACKAGE}/corvantide.dll ${PACKAGE}/docs/panel.html
             ${PACKAGE}/docs/panel.svg ${PACKAGE}/docs/scene-format.html ${examples})
list(SORT expected)
if(NOT contents STREQUAL expected)
  message(FATAL_ERROR "the package holds\n  ${contents}\nnot\n  ${expected}")
endif()
set(folder ${WORK}/unpacked/${PACKAGE})

# Every text opens with a double-click: plain texts with Windows line ends,
# the guides as pages.
foreach(text README.txt CHANGELOG.txt LICENSE.txt)
  # Byte by byte: every LF (0a) comes after a CR (0d).
  file(READ ${folder}/${text} content HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${content}")
  string(REGEX MATCHALL "0a " lines "${bytes}")
  string(REGEX MATCHALL "0d 0a " windowsLines "${bytes}")
  list(LENGTH lines lineCount)
  list(LENGTH windowsLines windowsLineCount)
  if(lineCount EQUAL 0 OR NOT lineCount EQUAL windowsLineCount)
    message(FATAL_ERROR "${text} does not end its lines in CR LF, as Notepad needs")
  endif()
endforeach()

# Each page is a whole HTML page; every link and picture it names resolves
# inside the unpacked folder (a link to an anchor, to a heading of its page);
# the panel guide shows the panel picture.
function(check_page page)
  file(READ ${folder}/${page} html)
  if(NOT html MATCHES "^<!DOCTYPE html>" OR NOT html MATCHES "<meta charset=\"utf-8\">" OR
     NOT html MATCHES "</html>\n$")
    message(FATAL_ERROR "${page} is not a whole HTML page")
  endif()
  if(html MATCHES "\\.md[\"#]")
    message(FATAL_ERROR "${page} links a Markdown file, which the zip does not hold")
  endif()
  get_filename_component(dir ${folder}/${page} DIRECTORY)
  string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" targets "${html}")
  set(count 0)
  foreach(target IN LISTS targets)
    string(REGEX REPLACE "^(href|src)=\"(.*)\"$" "\\2" target "${target}")
    if(target MATCHES "^[a-z]+:")
      continue()
    endif()
    math(EXPR count "${count} + 1")
    string(REGEX REPLACE "#.*$" "" file "${target}")
    string(REGEX MATCH "#.*$" anchor "${target}")
    if(file STREQUAL "")
      set(file ${folder}/${page})
    else()
      set(file ${dir}/${file})
    endif()
    get_filename_component(file ${file} ABSOLUTE)
    string(FIND "${file}" "${folder}/" inside)
    if(NOT inside EQUAL 0 OR NOT EXISTS ${file})
      message(FATAL_ERROR "${page} links ${target}, which is not in the unpacked folder")
    endif()
    if(anchor)
      string(SUBSTRING "${anchor}" 1 -1 id)
      file(READ ${file} linked)
      string(FIND "${linked}" "id=\"${id}\"" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "${page} links ${target}, but that page has no heading ${anchor}")
      endif()
    endif()
  endforeach()
  set(links ${count} PARENT_SCOPE)
  set(html "${html}" PARENT_SCOPE)
endfunction()
check_page(README.html)
if(links LESS 2)
  message(FATAL_ERROR "README.html links no guide")
endif()
check_page(docs/scene-format.html)
check_page(docs/panel.html)
if(NOT html MATCHES "<img src=\"panel.svg\"")
  message(FATAL_ERROR "docs/panel.html does not show the panel picture")
endif()
file(READ ${folder}/docs/panel.svg picture)
if(NOT picture MATCHES "<svg" OR NOT picture MATCHES "Export Current Motion")
  message(FATAL_ERROR "docs/panel.svg is not the panel's picture")
endif()

# The README is the Windows user's: it names what the user needs and sends
# no one to a build machine.
file(READ ${folder}/README.txt readme)
foreach(word "corvantide.dll" "check-plugin" "examples\\keyed-item.json" "README.html" "docs\\panel.html")
  string(FIND "${readme}" "${word}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's README never mentions ${word}")
  endif()
endforeach()
foreach(word "apt-get" "scripts/" "build/" "cmake" ".md")
  string(FIND "${readme}" "${word}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the package's README speaks of ${word}, which a Windows user does not have")
  endif()
endforeach()

# One version: the changelog's top section, the DLL's resource (below),
# --version (below) and the zip's name.
file(STRINGS ${folder}/CHANGELOG.txt releases REGEX "^[0-9]+\\.[0-9]+\\.[0-9]+ - ")
list(GET releases 0 top)
if(NOT top MATCHES "^${VERSION} - ")
  message(FATAL_ERROR "the changelog's top section is \"${top}\", not ${VERSION}")
endif()
if(NOT PACKAGE STREQUAL "corvantide-${VERSION}-win64")
  message(FATAL_ERROR "the zip is named ${PACKAGE}, not for version ${VERSION}")
endif()
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

# A folder named for the plug-in is told as a folder.
execute_process(COMMAND ${EMULATOR} ${host} check-plugin ${folder}/docs WORKING_DIRECTORY ${folder}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 2 OR NOT errors MATCHES "a folder, not a library: name the corvantide.dll in it")
  message(FATAL_ERROR "check-plugin on a folder ended with status ${result}:\n${output}${errors}")
endif()

# The program without its DLL says where it looked and how to point it at
# one, and leaves no --out folder behind.
file(MAKE_DIRECTORY ${WORK}/alone)
file(COPY ${host} DESTINATION ${WORK}/alone)
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=CORVANTIDE_PLUGIN
                        ${EMULATOR} ${WORK}/alone/corvantide-sim.exe demo --out ${WORK}/alone/out
                WORKING_DIRECTORY ${WORK}/alone
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("corvantide-sim demo without corvantide.dll: status ${result}")
if(NOT result EQUAL 2 OR NOT errors MATCHES "corvantide.dll: not found" OR
   NOT errors MATCHES "looked for corvantide.dll beside the program" OR
   NOT errors MATCHES "set CORVANTIDE_PLUGIN=")
  message(FATAL_ERROR "demo without corvantide.dll ended with status ${result}:\n${output}${errors}")
endif()
if(EXISTS ${WORK}/alone/out)
  message(FATAL_ERROR "demo without corvantide.dll left its --out folder behind")
endif()
