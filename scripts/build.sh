#!/usr/bin/env bash
# Configures and builds everything into build/ (Ninja for a fresh build folder). Arguments
# are passed to cmake, e.g. -DQUILLON_BUILD_BENCH=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/deps.sh"
generator=()
[ -f build/CMakeCache.txt ] || generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build build -j "$(nproc)"
