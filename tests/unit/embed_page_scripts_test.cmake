# The embedding step of the page scripts, run as the build runs it on scripts made here:
# line feeds go through byte for byte (less one final line feed), and a carriage return
# anywhere in a script fails the step with the file's name.
#
#   cmake -DEMBED=webview/embed_page_scripts.cmake -DWORK=dir -P this file

string(ASCII 13 cr)
# name | script text (no semicolons: they split CMake lists) | pass or fail
set(cases
  "lf|var a = 1\nvar b = 2\n|pass"
  "crlf|var a = 1${cr}\nvar b = 2${cr}\n|fail"
  "lone-cr|var a = '${cr}'\n|fail"
  "last-crlf|var a = 1${cr}\n|fail"
)
set(lf_bytes "0x76,0x61,0x72,0x20,0x61,0x20,0x3d,0x20,0x31,0x0a,0x76,0x61,0x72,0x20,0x62,0x20,0x3d,0x20,0x32,0x00}")
file(REMOVE_RECURSE "${WORK}")
set(failures "")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 text)
  list(GET fields 2 expected)
  file(WRITE "${WORK}/${name}/script.js" "${text}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSCRIPT_DIR=${WORK}/${name} -DOUTPUT=${WORK}/${name}/out.cpp
            -DSCRIPTS=Script=script.js -P ${EMBED}
    RESULT_VARIABLE result ERROR_VARIABLE error)
  if(expected STREQUAL "pass")
    file(READ "${WORK}/${name}/out.cpp" embedded)
    string(REPLACE "\n    " "" embedded "${embedded}")
    string(FIND "${embedded}" "${lf_bytes}" found)
    if(NOT result EQUAL 0 OR found EQUAL -1 OR NOT embedded MATCHES ", 19}")
      list(APPEND failures "${name}: not embedded byte for byte (${result}): ${error}${embedded}")
    endif()
  # CMake wraps the message: the file's name and the reason may be on different lines.
  elseif(result EQUAL 0 OR NOT error MATCHES "${name}/script.js" OR
         NOT error MATCHES "holds a carriage return")
    list(APPEND failures "${name}: a carriage return was embedded (${result}): ${error}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
