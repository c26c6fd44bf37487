# 32-bit Linux build of the portable logic and its unit tests (gcc -m32 with Debian's multilib
# packages g++-multilib and lib32z1-dev). The shipped installer is a 32-bit program but Wine
# here runs only 64-bit ones: this build runs the same logic with 32-bit pointers, size_t and
# long, so that size and layout assumptions in it show up natively.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# Debian's 32-bit libraries (lib32z1-dev) are in /usr/lib32; the 64-bit ones beside them must
# not be found.
set(CMAKE_LIBRARY_PATH /usr/lib32 /usr/lib/i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
# ctest runs the test programs through scripts/run-linux32: under qemu-i386 where the kernel
# runs no 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/run-linux32)
