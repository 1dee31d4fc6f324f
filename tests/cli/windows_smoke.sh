#!/usr/bin/env bash
# The command-line tool built for Windows, run under Wine on the demo ROM (scripts/windows-check.sh
# sets WINEPREFIX): reading commands, a write checked byte for byte, its history, undo back to
# the original bytes, a ROM whose name is outside ASCII, and the picture commands refusing
# clearly in a build without Qt.
# Usage: windows_smoke.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
cli() { wine "$bin/quillon-cli.exe" "$@" > out; tr -d '\r' < out; }
has() { grep -Eq -- "$1" <<< "$2"; }

wine "$bin/quillon-mkdemo.exe" demo.gba
cp demo.gba original.gba
has '^Quillon [0-9]+\.[0-9]+(\.[0-9]+)*$' "$(cli --version)" || fail "--version"

info=$(cli info demo.gba)
[ "$info" = $'Title: QUILLON DEMOQDME\nFamily: RSE\nProfile: yes\nMaps: 7' ] || fail "info: $info"
maps=$(cli maps demo.gba)
[ "${maps%%$'\n'*}" = $'0.0\tQUILLON TOWN' ] || fail "maps: $maps"
has '"persons"' "$(cli events demo.gba 0.0)" || fail "events"
has '"music"' "$(cli header demo.gba 0.0)" || fail "header"
has '^\{"grass":\{"rate":20' "$(cli wild demo.gba 0.1 | tr -d ' \n')" || fail "wild"
has '"direction"' "$(cli connections demo.gba 0.0)" || fail "connections"
has '^\$[0-9A-F]{6}$' "$(cli find-free demo.gba --count 16)" || fail "find-free"

# A write changes the header's music bytes only; undo brings back every byte.
cli header demo.gba 0.0 --set 'music=$012C' > /dev/null
changed=$( (cmp -l original.gba demo.gba || true) | wc -l)
[ "$changed" -ge 1 ] && [ "$changed" -le 2 ] || fail "header --set changed $changed bytes"
has '"name": "Change header 0.0"' "$(cli history demo.gba)" || fail "history: $(cli history demo.gba)"
cli undo demo.gba > /dev/null
cmp -s original.gba demo.gba || fail "undo left $( (cmp -l original.gba demo.gba || true) | wc -l) bytes changed"

# A name outside ASCII (letters of the system's code page: the tool reads its arguments in it)
# opens and is written; the history beside it gets the same name.
cp original.gba "Kärte ü.gba"
has 'Maps: 7' "$(cli info "Kärte ü.gba")" || fail "info on a name outside ASCII"
cli header "Kärte ü.gba" 0.0 --set weather=3 > /dev/null || fail "write on a name outside ASCII"
[ -f "Kärte ü.gba.quillon-history" ] || fail "no history beside the name outside ASCII"

# No Qt, no pictures: said plainly, nothing written.
if wine "$bin/quillon-cli.exe" render demo.gba 0.0 -o town.png 2> err; then
    fail "render wrote a picture"
fi
grep -q 'no picture output' err || fail "render: $(cat err)"
[ ! -e town.png ] || fail "render left a file"
echo "quillon-cli under Wine: all commands passed"
