#!/usr/bin/env bash
# Installs the Debian packages Quillon builds and tests with, when any is missing.
# Extra package names given as arguments are installed the same way (scripts/fuzz.sh,
# scripts/sanitize.sh).
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libsimpleini-dev libcli11-dev
          nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
