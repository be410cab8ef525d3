# Warnings for the project's own targets only.
function(ravelon_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-qual -Wimplicit-fallthrough)
  if(RAVELON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
