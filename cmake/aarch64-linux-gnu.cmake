# Cross-compiles the Linux program for ARM64 with clang, Debian's aarch64 GCC
# toolchain (its C++ library and linker), and the arm64 Qt installed beside the
# host's (multiarch); moc and Qt's other tools come from the host. Tests run
# under qemu with the arm64 libraries of this system.
#
# clang rather than GCC 12: GCC keeps the NEON path's lookup tables on the
# stack and loads them again for every 16 bytes it looks up.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET aarch64-linux-gnu)
# The GNU cross binutils, which every machine with the cross toolchain has (LLVM's may be missing).
foreach(tool AR RANLIB STRIP OBJCOPY OBJDUMP NM READELF)
  string(TOLOWER ${tool} name)
  set(CMAKE_${tool} /usr/bin/aarch64-linux-gnu-${name} CACHE FILEPATH "")
endforeach()
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH /usr/lib/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_PREFIX_PATH /usr/lib/aarch64-linux-gnu/cmake)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config)
set(QT_HOST_PATH /usr)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /)
