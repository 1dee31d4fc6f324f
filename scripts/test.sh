#!/usr/bin/env bash
# Builds Quillon with warnings as errors and runs every test (core tests, the window tests
# offscreen, the command-line tool). Arguments are passed to cmake (.ci/run adds the
# benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DQUILLON_WERROR=ON "$@"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"
