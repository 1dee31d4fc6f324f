#!/usr/bin/env bash
# Installs the Debian packages Quillon builds and tests with, when any is missing.
# Extra package names given as arguments are installed the same way (scripts/fuzz.sh,
# scripts/sanitize.sh); after --only, just those (scripts/windows-check.sh).
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev libgl-dev libsimpleini-dev libcli11-dev
          nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-translations-l10n
          desktop-file-utils appstream help2man)
if [ "${1:-}" = "--only" ]; then
    shift
    packages=()
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install=(apt-get install -y -qq --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo > /dev/null; then
    as_root=(sudo)
else
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root, and sudo is not installed. Run (root's password):" >&2
    echo "  su -c 'apt-get update && apt-get install --no-install-recommends ${missing[*]}'" >&2
    echo "then run this script again." >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}"
