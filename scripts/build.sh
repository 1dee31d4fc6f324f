#!/usr/bin/env bash
# Configures build/ (Ninja for a fresh build folder) and builds it: everything, or only the
# targets given after "--". Other arguments are passed to cmake, e.g. -DQUILLON_BUILD_BENCH=ON.
#   scripts/build.sh                          everything
#   scripts/build.sh -- quillon quillon_data  the editor and its data files only
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/deps.sh"
cmake_args=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=("$@")
        break
    fi
    cmake_args+=("$1")
    shift
done
generator=()
[ -f build/CMakeCache.txt ] || generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    "${cmake_args[@]}" > /dev/null
target_args=()
[ ${#targets[@]} -eq 0 ] || target_args=(--target "${targets[@]}")
cmake --build build -j "$(nproc)" "${target_args[@]}"
