#!/usr/bin/env bash
# Builds the editor and the demo ROM generator (nothing else), makes the demo ROM and opens
# the editor on its first map.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -- quillon quillon-mkdemo quillon_data
build/bin/quillon-mkdemo build/demo.gba
exec build/bin/quillon build/demo.gba --map 0.0
