# A hardened ELF: PIE, full RELRO, stack protector, _FORTIFY_SOURCE.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
# Control-flow protection: CET on x86, pointer authentication and BTI on ARM64.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64|arm64")
  add_compile_options(-mbranch-protection=standard)
else()
  add_compile_options(-fcf-protection)
endif()
add_compile_options(-fstack-protector-strong
                    $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro -Wl,-z,now -Wl,-z,noexecstack)
