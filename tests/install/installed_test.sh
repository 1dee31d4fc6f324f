#!/usr/bin/env bash
# Runs the installed programs from a fresh prefix with a temporary home folder: `cmake --install`
# of BUILD_DIR into a temporary prefix, or the files of DEB unpacked into a temporary root.
# Checks the versions, reads the demo ROM with the tool, starts the editor once offscreen, and
# then that nothing in the installed tree changed and the settings went to the home folder.
# Usage: installed_test.sh BUILD_DIR [DEB]
set -euo pipefail
build=$(cd "$1" && pwd)
deb=${2:-}
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ -n "$deb" ]; then
    dpkg-deb -x "$deb" "$work/root"
    prefix=$work/root/usr
else
    cmake --install "$build" --prefix "$work/root/usr" > /dev/null
    prefix=$work/root/usr
fi
for f in bin/quillon bin/quillon-cli bin/quillon-mkdemo share/quillon/Ini/Quillon.ini \
         share/quillon/Ini/Sprachen.ini share/quillon/README.md share/quillon/LICENSE \
         share/applications/org.brenvik.Quillon.desktop \
         share/metainfo/org.brenvik.Quillon.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.brenvik.Quillon.svg \
         share/icons/hicolor/256x256/apps/org.brenvik.Quillon.png share/man/man1/quillon.1 \
         share/man/man1/quillon-cli.1 share/bash-completion/completions/quillon-cli; do
    [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -w "$prefix/share/quillon/Ini/Quillon.ini" ] && [ "$(id -u)" -ne 0 ] &&
    fail "the shipped files are writable"

# The state of the installed tree: every path with its size, mode and content.
snapshot() {
    (cd "$work/root" && find . -printf '%p %s %m\n' | sort && find . -type f -exec md5sum {} + | sort)
}
snapshot > "$work/before"

home=$work/home
mkdir -p "$home" "$work/run"
run() { (cd "$work/run" && env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" \
                              QT_QPA_PLATFORM=offscreen "$@"); }

[ "$(run "$prefix/bin/quillon" --version)" = "Quillon 0.1" ] || fail "quillon --version"
[ "$(run "$prefix/bin/quillon-cli" --version)" = "Quillon 0.1" ] || fail "quillon-cli --version"
run "$prefix/bin/quillon-mkdemo" "$work/run/demo.gba" > /dev/null
info=$(run "$prefix/bin/quillon-cli" info "$work/run/demo.gba")
grep -q "^Profile: yes" <<< "$info" || fail "quillon-cli info found no profile: $info"
grep -q "^Maps: [1-9]" <<< "$info" || fail "quillon-cli info listed no maps: $info"
# The editor opens a map of the demo and closes as the user closes it: its window settings
# are written at that moment.
run "$prefix/bin/quillon" "$work/run/demo.gba" --map 0.0 --screenshot "$work/run/shot.png" ||
    fail "the installed editor did not start"
[ -s "$work/run/shot.png" ] || fail "the editor drew nothing"

snapshot > "$work/after"
diff "$work/before" "$work/after" > /dev/null || {
    diff "$work/before" "$work/after" >&2
    fail "the programs wrote into the installed tree"
}
settings=$home/.config/quillon/Quillon.ini
[ -f "$settings" ] || fail "no settings in $settings: $(cd "$home" && find . -type f)"
grep -q "^\[Fenster\]" "$settings" || fail "the window's settings are not in $settings"
grep -q "^\[QUILLON DEMOQDME\]" "$settings" && fail "the user's settings copy the game profiles"
echo "installed programs ran from $prefix; settings in \$HOME/.config/quillon/Quillon.ini"
