#!/usr/bin/env bash
# Builds everything with Clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs the whole test suite; the first report stops the test it is in.
set -euo pipefail
cd "$(dirname "$0")/.."
"$PWD/scripts/deps.sh" clang libclang-rt-14-dev
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
generator=()
[ -f build-sanitize/CMakeCache.txt ] || generator=(-G Ninja)
CXX=clang++ cmake -S . -B build-sanitize "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 $flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DQUILLON_WERROR=ON -DQUILLON_BUILD_BENCH=OFF > /dev/null
cmake --build build-sanitize -j "$(nproc)"
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
