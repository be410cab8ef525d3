# The web edition: the program as ravelon.js and ravelon.wasm, beside the
# page's own files (web/), together one static site in the build's site/.
add_executable(ravelon main.cpp)
target_link_libraries(ravelon PRIVATE ravelon_window ravelon_platform)
ravelon_warnings(ravelon)
set(RAVELON_SITE ${CMAKE_BINARY_DIR}/site)
set_target_properties(ravelon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${RAVELON_SITE} SUFFIX ".js")
set(RAVELON_DOM_JS ${PROJECT_SOURCE_DIR}/platform/web/dom.js)
target_link_options(ravelon PRIVATE
  -sASYNCIFY -sDYNAMIC_EXECUTION=0 -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_ravelon_clicked,_ravelon_input,_ravelon_pasted,_ravelon_undo,_ravelon_selected_text"
  "-sEXPORTED_RUNTIME_METHODS=ccall,UTF16ToString,stringToUTF16"
  --pre-js ${RAVELON_DOM_JS})
set_property(TARGET ravelon APPEND PROPERTY LINK_DEPENDS ${RAVELON_DOM_JS})
file(GLOB RAVELON_PAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*)
add_custom_command(TARGET ravelon POST_BUILD
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RAVELON_PAGE_FILES} ${RAVELON_SITE})
