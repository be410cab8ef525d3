# The runtime linked in, ASLR with high-entropy addresses, NX, the stack
# protector on compile and link lines, no symbols.
add_compile_options(-fstack-protector-strong $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-static -static-libgcc -static-libstdc++ -fstack-protector-strong
                 -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat -Wl,--enable-reloc-section
                 $<$<NOT:$<CONFIG:Debug>>:-s>)
