# Cross-compiles the Linux program for ARM64 with Debian's aarch64 toolchain and
# the arm64 Qt installed beside the host's (multiarch); moc and Qt's other tools
# come from the host. Tests run under qemu with the arm64 libraries of this system.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
# GCC's cross compiler, unless another is chosen (the fuzzing build's clang, given the target).
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
endif()
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH /usr/lib/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_PREFIX_PATH /usr/lib/aarch64-linux-gnu/cmake)
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config)
set(QT_HOST_PATH /usr)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /)
