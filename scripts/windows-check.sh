#!/usr/bin/env bash
# The Windows check: builds the core, the command-line tool and the core tests for 64-bit
# Windows with MinGW-w64 (build-windows/, without Qt: the tool has no picture output there)
# and runs them under Wine: every core test, then the tool on the demo ROM (reading, writing,
# undo, a file name outside ASCII). Nothing needs a display.
# Usage: scripts/windows-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh --only cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 googletest \
    libsimpleini-dev libcli11-dev nlohmann-json3-dev

build=$root/build-windows
if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=()
    if command -v ccache > /dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    # Lean: -O1 without debug information, warnings as errors as in the Linux build.
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DQUILLON_BUILD_UI=OFF \
        -DQUILLON_WERROR=ON "${launcher[@]}" > /dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quillon_core_tests quillon-cli quillon-mkdemo \
    quillon_data

export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix (once)"
    wine wineboot --init > /dev/null 2>&1 || true
    wineserver --wait
fi

echo "Core tests under Wine"
wine "$build/tests/quillon_core_tests.exe" --gtest_brief=1

echo "Command-line tool under Wine"
tests/cli/windows_smoke.sh "$build/bin"
wineserver --wait
echo "Windows check passed"
