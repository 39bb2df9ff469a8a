# Cross build for the router: 32-bit big-endian MIPS, Debian's g++-mips-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR mips)
set(CMAKE_C_COMPILER mips-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER mips-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/mips-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A fixed-address executable with PLT calls is smaller than a PIE on MIPS.
set(CMAKE_C_FLAGS_INIT "-fno-pie -mplt")
set(CMAKE_CXX_FLAGS_INIT "-fno-pie -mplt")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-no-pie")
