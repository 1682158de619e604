# Writes a C++ source that holds the page scripts of webview/scripts as byte arrays,
# one function per script (see embedded_page_scripts.h). Byte arrays rather than
# string literals: no character of a script can end or bend the literal.
#
#   cmake -DSCRIPT_DIR=dir -DOUTPUT=file.cpp -DSCRIPTS=Name=file.js;... -P this file
#
# Each text is the file's bytes less one final line feed, so that the files can end
# the way editors save them while a part like the watermark's first one ends exactly
# where the inserted text begins. A carriage return fails the build: the scripts are
# meant byte for byte, and one there means a checkout turned their line ends into CR LF.

set(body "// Generated from webview/scripts by embed_page_scripts.cmake: do not edit.\n")
string(APPEND body "#include \"webview/embedded_page_scripts.h\"\n\n")
string(APPEND body "namespace embedded_page_scripts {\n")

foreach(entry IN LISTS SCRIPTS)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ "${SCRIPT_DIR}/${file}" hex HEX)
  string(REGEX REPLACE "0a$" "" hex "${hex}")
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  # A terminating zero keeps an empty script a valid array; it is not part of the text.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(FIND "${bytes}" "0x0d," carriage_return)
  if(NOT carriage_return EQUAL -1)
    message(FATAL_ERROR "${SCRIPT_DIR}/${file} holds a carriage return: the page scripts are "
                        "embedded byte for byte; save it with LF line ends")
  endif()
  string(REPEAT "0x..," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND body
    "\nstd::string_view ${name}() {\n"
    "  // ${file}\n"
    "  static constexpr unsigned char kBytes[] = {\n    ${bytes}0x00};\n"
    "  return {reinterpret_cast<const char*>(kBytes), ${size}};\n"
    "}\n")
endforeach()

string(APPEND body "\n}  // namespace embedded_page_scripts\n")

# Rewritten only when different, so an unchanged script rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL body)
  file(WRITE "${OUTPUT}" "${body}")
endif()
