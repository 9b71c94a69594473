# The version of the changelog's top section ("## 1.1.0 - 2026-12-09"), in
# CHANGELOG_VERSION; fails when that section is not a dated release.
function(changelog_version file)
  file(STRINGS ${file} headings REGEX "^## ")
  if(NOT headings)
    message(FATAL_ERROR "${file} has no version section")
  endif()
  list(GET headings 0 top)
  if(NOT top MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
    message(FATAL_ERROR "the top section of ${file} is \"${top}\", not a dated version (## 1.2.3 - YYYY-MM-DD)")
  endif()
  set(CHANGELOG_VERSION ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
