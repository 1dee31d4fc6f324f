#!/usr/bin/env bash
# Validates the desktop entry and the AppStream data the install ships, with the tools the
# desktops themselves use. A missing tool skips its check (ctest shows the test as skipped
# when both are missing).
# Usage: desktop_files_test.sh DESKTOP_FILE METAINFO_FILE
set -uo pipefail
desktop=$1
metainfo=$2
ran=0
failed=0

if command -v desktop-file-validate > /dev/null; then
    ran=$((ran + 1))
    # The validator reports hints on stdout too; only errors and warnings fail.
    out=$(desktop-file-validate "$desktop" 2>&1)
    if [ -n "$out" ] && grep -qvE "^[^:]*: hint:" <<< "$out"; then
        echo "desktop-file-validate $desktop:" >&2
        echo "$out" >&2
        failed=1
    fi
else
    echo "desktop-file-validate missing (package desktop-file-utils): desktop entry not checked"
fi

if command -v appstreamcli > /dev/null; then
    ran=$((ran + 1))
    if ! appstreamcli validate --no-net --pedantic "$metainfo"; then
        failed=1
    fi
else
    echo "appstreamcli missing (package appstream): AppStream data not checked"
fi

# A desktop entry and its AppStream data must name the same program.
id=$(basename "$desktop" .desktop)
if ! grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"; then
    echo "$metainfo does not launch $id.desktop" >&2
    failed=1
fi

[ "$failed" -eq 0 ] || exit 1
[ "$ran" -gt 0 ] || exit 77
exit 0
