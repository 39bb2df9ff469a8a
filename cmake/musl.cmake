# The router programs against musl, the C library of OpenWrt firmware:
# Debian's g++ with musl's specs file (packages musl-tools, musl-dev),
# statically linked. A host program all the same, so the end-to-end suite
# runs it directly.
set(CMAKE_SYSTEM_NAME Linux)
execute_process(COMMAND gcc -dumpmachine OUTPUT_VARIABLE host_triplet OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE "-linux-gnu" "-linux-musl" musl_triplet "${host_triplet}")
set(MUSL_SPECS "/usr/lib/${musl_triplet}/musl-gcc.specs")
if(NOT EXISTS "${MUSL_SPECS}")
  message(FATAL_ERROR "${MUSL_SPECS} is missing: install Debian's musl-tools and musl-dev")
endif()
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-specs=${MUSL_SPECS}")
set(CMAKE_CXX_FLAGS_INIT "-specs=${MUSL_SPECS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
