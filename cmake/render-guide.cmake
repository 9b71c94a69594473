# Renders a Markdown guide for the Windows package with cmark-gfm: an HTML
# page (links to other guides point at their pages, every heading carries the
# anchor GitHub would give it) or plain text for Notepad (CR LF line ends).
# A plain text file is copied with CR LF line ends (FORMAT copy).
# Run at build time with -D CMARK INPUT OUTPUT FORMAT (html, text or copy) TITLE.
cmake_minimum_required(VERSION 3.25)
if(FORMAT STREQUAL "copy")
  file(READ ${INPUT} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${OUTPUT} "${text}")
  return()
endif()
if(FORMAT STREQUAL "text")
  execute_process(COMMAND ${CMARK} --extension table --to plaintext --width 78 ${INPUT}
                  RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not render ${INPUT}: ${errors}")
  endif()
  # Plain text has no headings: each is underlined, "=" for the title.
  file(STRINGS ${INPUT} headings REGEX "^#+ ")
  foreach(heading IN LISTS headings)
    string(REGEX MATCH "^#+" marks "${heading}")
    string(REGEX REPLACE "^#+ +" "" heading "${heading}")
    string(REPLACE "`" "" heading "${heading}")
    string(LENGTH "${heading}" length)
    set(mark "-")
    if(marks STREQUAL "#")
      set(mark "=")
    endif()
    string(REPEAT "${mark}" ${length} underline)
    string(FIND "${text}" "${heading}\n" at)
    if(at EQUAL 0)
      string(LENGTH "${heading}" skip)
      string(SUBSTRING "${text}" ${skip} -1 after)
      set(text "${heading}\n${underline}${after}")
    else()
      string(REPLACE "\n\n${heading}\n" "\n\n${heading}\n${underline}\n" text "${text}")
    endif()
  endforeach()
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${OUTPUT} "${text}")
  return()
endif()

execute_process(COMMAND ${CMARK} --extension table --extension autolink --to html ${INPUT}
                RESULT_VARIABLE result OUTPUT_VARIABLE body ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not render ${INPUT}: ${errors}")
endif()

# A link to another guide ("scene-format.md", "docs/panel.md#messages") goes
# to its page.
string(REGEX REPLACE "href=\"([^\":#]+)\\.md#" "href=\"\\1.html#" body "${body}")
string(REGEX REPLACE "href=\"([^\":#]+)\\.md\"" "href=\"\\1.html\"" body "${body}")

# Headings get GitHub's anchors: the text without markup, in lower case,
# punctuation dropped, spaces as hyphens.
set(page "")
set(rest "${body}")
while(TRUE)
  string(REGEX MATCH "<h([1-6])>" opening "${rest}")
  if(NOT opening)
    string(APPEND page "${rest}")
    break()
  endif()
  set(level ${CMAKE_MATCH_1})
  string(FIND "${rest}" "${opening}" start)
  string(FIND "${rest}" "</h${level}>" end)
  math(EXPR textStart "${start} + 4")
  math(EXPR textLength "${end} - ${textStart}")
  string(SUBSTRING "${rest}" 0 ${start} before)
  string(SUBSTRING "${rest}" ${textStart} ${textLength} heading)
  string(REGEX REPLACE "<[^>]*>" "" slug "${heading}")
  string(REPLACE "&amp;" "" slug "${slug}")
  string(REPLACE "&quot;" "" slug "${slug}")
  string(TOLOWER "${slug}" slug)
  string(REGEX REPLACE "[^a-z0-9 _-]" "" slug "${slug}")
  string(REPLACE " " "-" slug "${slug}")
  string(APPEND page "${before}<h${level} id=\"${slug}\">${heading}</h${level}>")
  math(EXPR after "${end} + 5")
  string(SUBSTRING "${rest}" ${after} -1 rest)
endwhile()

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>${TITLE}</title>
<style>
body { font-family: Segoe UI, Helvetica, Arial, sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1em;
       line-height: 1.45; color: #1f2933; }
code, pre { font-family: Consolas, Menlo, monospace; background: #f3f4f6; }
pre { padding: 0.6em 0.8em; overflow-x: auto; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #c9cfd6; padding: 0.3em 0.6em; vertical-align: top; text-align: left; }
img { max-width: 100%; }
</style>
</head>
<body>
${page}</body>
</html>
")
