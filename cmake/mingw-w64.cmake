# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model), as
# scripts/windows-check.sh runs it:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The header-only libraries (SimpleIni, CLI11, nlohmann-json) come from the Linux -dev
# packages: only their own headers are put on the include path, through a folder of links in
# the build folder, never /usr/include itself. GoogleTest is built from Debian's sources.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLON_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUILLON_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's runtime (libgcc, libstdc++, winpthread) inside: they run
# from any folder without DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The header-only libraries' own headers, linked into one folder.
set(QUILLON_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(header SimpleIni.h CLI nlohmann)
    if(NOT EXISTS ${QUILLON_HOST_HEADERS}/${header})
        file(MAKE_DIRECTORY ${QUILLON_HOST_HEADERS})
        file(CREATE_LINK /usr/include/${header} ${QUILLON_HOST_HEADERS}/${header} SYMBOLIC)
    endif()
endforeach()
set(CMAKE_CXX_FLAGS_INIT "-isystem ${QUILLON_HOST_HEADERS}")
list(APPEND CMAKE_FIND_ROOT_PATH ${QUILLON_HOST_HEADERS})
set(SIMPLEINI_INCLUDE_DIR ${QUILLON_HOST_HEADERS} CACHE PATH "SimpleIni.h's folder")
# nlohmann-json as a package whose headers are already on the include path.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "")
set(QUILLON_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")

# Tests and tools run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
