# Generates ${embedded_page_scripts_cpp}: the scripts of webview/scripts as byte arrays
# behind the functions of embedded_page_scripts.h, regenerated when a script changes.

set(page_scripts
  LoadingOverlay=loading_overlay.js
  PrintRedirect=print_redirect.js
  WatermarkHead=watermark_head.js
  WatermarkTail=watermark_tail.js
  PrintButton=print_button.js
  NavigationBar=navigation_bar.js
  PageScriptWrapperHead=page_script_wrapper_head.js
  PageScriptWrapperTail=page_script_wrapper_tail.js
)
set(page_script_files ${page_scripts})
list(TRANSFORM page_script_files REPLACE "^[^=]*=" "${CMAKE_CURRENT_SOURCE_DIR}/scripts/")

set(embedded_page_scripts_cpp ${CMAKE_CURRENT_BINARY_DIR}/embedded_page_scripts.cpp)
add_custom_command(
  OUTPUT ${embedded_page_scripts_cpp}
  COMMAND ${CMAKE_COMMAND} -DSCRIPT_DIR=${CMAKE_CURRENT_SOURCE_DIR}/scripts
          -DOUTPUT=${embedded_page_scripts_cpp} "-DSCRIPTS=${page_scripts}"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/embed_page_scripts.cmake
  DEPENDS embed_page_scripts.cmake ${page_script_files}
  COMMENT "Embedding the page scripts"
  VERBATIM)
