# The web edition: the program as ravelon.js and ravelon.wasm, and again with
# the decoder's SIMD128 path as ravelon-simd.js and ravelon-simd.wasm (the
# page loads that one where the browser has SIMD128), beside the page's own
# files (web/), together one static site in the build's site/.
set(RAVELON_SITE ${CMAKE_BINARY_DIR}/site)
set(RAVELON_DOM_JS ${PROJECT_SOURCE_DIR}/platform/web/dom.js)
function(ravelon_web_module target name)
  add_executable(${target} main.cpp)
  target_link_libraries(${target} PRIVATE ravelon_window ravelon_platform ${ARGN})
  ravelon_warnings(${target})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RAVELON_SITE} OUTPUT_NAME ${name} SUFFIX ".js")
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sDYNAMIC_EXECUTION=0 -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0
    "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_ravelon_clicked,_ravelon_input,_ravelon_pasted,_ravelon_undo,_ravelon_selected_text"
    "-sEXPORTED_RUNTIME_METHODS=ccall,UTF16ToString,stringToUTF16"
    --pre-js ${RAVELON_DOM_JS})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${RAVELON_DOM_JS})
endfunction()
ravelon_web_module(ravelon ravelon)
ravelon_web_module(ravelon_simd ravelon-simd ravelon_decoder_simd128)
target_link_options(ravelon_simd PRIVATE -msimd128)
file(GLOB RAVELON_PAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*)
add_custom_command(TARGET ravelon POST_BUILD
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RAVELON_PAGE_FILES} ${RAVELON_SITE})
