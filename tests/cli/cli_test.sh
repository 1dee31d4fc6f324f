#!/usr/bin/env bash
# End to end: the demo ROM generator and the command-line tool on its output.
# Usage: cli_test.sh BIN_DIR
set -euo pipefail
bin="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Profiles the table search stores go to the user's data folder: one of the test's own.
export XDG_DATA_HOME="$work/userdata"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -z "$("$bin/quillon-mkdemo" "$work/demo.gba" 2>&1)" ] || fail "quillon-mkdemo printed something"
before=$(md5sum < "$work/demo.gba")

# The demo's game profile shipped beside the program is the generator's layout, key for key.
"$bin/quillon-mkdemo" --profile > "$work/profile.ini"
shipped=$(sed -n '/^\[QUILLON DEMOQDME\]/,/^$/p' "$bin/Ini/Quillon.ini" | grep '=' | tr -d '\r')
[ -n "$shipped" ] || fail "no demo profile in Ini/Quillon.ini"
while IFS= read -r line; do
    key=${line%%=*}
    grep -qx -- "$line" "$work/profile.ini" \
        || fail "Ini/Quillon.ini: $line, the layout has $(grep -- "^$key=" "$work/profile.ini")"
done <<< "$(echo "$shipped" | grep -v -e '^mainfile=' -e '^mapsfile=')"
bankTable=$(grep '^MapBankHeader=' "$work/profile.ini" | cut -d= -f2)

# The editor answers --help and --version without any display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
"${nodisplay[@]}" "$bin/quillon" --version 2>&1 | grep -Eqx 'Quillon [0-9]+\.[0-9]+(\.[0-9]+)*' \
    || fail "quillon --version: $("${nodisplay[@]}" "$bin/quillon" --version 2>&1)"
"${nodisplay[@]}" "$bin/quillon" --help | grep -q -- "--map <bank.map>" || fail "quillon --help"
"$bin/quillon-cli" --version | grep -Eqx 'Quillon [0-9]+\.[0-9]+(\.[0-9]+)*' || fail "--version"

info=$("$bin/quillon-cli" info "$work/demo.gba")
expected=$'Title: QUILLON DEMOQDME\nFamily: RSE\nProfile: yes\nMaps: 7'
[ "$info" = "$expected" ] || fail "info printed: $info"

maps=$("$bin/quillon-cli" maps "$work/demo.gba")
[ "$(echo "$maps" | wc -l)" -eq 7 ] || fail "maps printed: $maps"
[ "$(echo "$maps" | head -1)" = $'0.0\tQUILLON TOWN' ] || fail "first map line: $(echo "$maps" | head -1)"

"$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/town.png" --grid
[ "$(head -c 8 "$work/town.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG"
"$bin/quillon-cli" render "$work/demo.gba" 0.1 -o "$work/route.bmp"
# BMP: "BM", 24 bits per pixel at byte 28, width at 18 = 20 blocks x 16.
[ "$(head -c 2 "$work/route.bmp")" = "BM" ] || fail "no BMP"
[ "$(od -An -tu2 -j28 -N2 "$work/route.bmp" | tr -d ' ')" = "24" ] || fail "BMP is not 24-bit"
[ "$(od -An -tu4 -j18 -N4 "$work/route.bmp" | tr -d ' ')" = "320" ] || fail "BMP width"
"$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/geh.png" --view movement

# Events as JSON: the town's five persons, two warps, three signposts and its fly position.
"$bin/quillon-cli" events "$work/demo.gba" 0.0 > "$work/events.json"
count() { grep -c "\"$1\":" "$work/events.json" || true; }
[ "$(count movementType)" -eq 5 ] || fail "persons: $(cat "$work/events.json")"
[ "$(count targetWarp)" -eq 2 ] || fail "warps: $(cat "$work/events.json")"
[ "$(count type)" -eq 3 ] || fail "signposts: $(cat "$work/events.json")"
grep -q '"scripts": \[\]' "$work/events.json" || fail "the town has no script triggers"
tr -d ' \n' < "$work/events.json" | grep -q '"fly":{"bank":0,"map":0,"x":' || fail "no fly position"
tr -d ' \n' < "$work/events.json" | grep -q '"tables":{"persons":[0-9]*,"warps":[0-9]*,"scripts":[0-9]*,"signposts":[0-9]*}' \
    || fail "tables: $(cat "$work/events.json")"
# The first person's record lies at its offset: X at byte 4, Y at byte 6.
offset=$(grep -m1 '"offset":' "$work/events.json" | tr -dc 0-9)
x=$(grep -m1 '"x":' "$work/events.json" | tr -dc 0-9)
y=$(grep -m1 '"y":' "$work/events.json" | tr -dc 0-9)
[ "$(od -An -tu2 -j$((offset + 4)) -N4 "$work/demo.gba" | tr -s ' ' | sed 's/^ //')" = "$x $y" ] \
    || fail "person 0 at $offset is not at $x, $y"
"$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/events.bmp" --view events
[ "$(od -An -tu4 -j18 -N4 "$work/events.bmp" | tr -d ' ')" = "480" ] || fail "event picture width"
"$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/town.bmp"
! cmp -s "$work/events.bmp" "$work/town.bmp" || fail "the event picture shows no events"
"$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/persons.bmp" --view events --persons-only
! cmp -s "$work/events.bmp" "$work/persons.bmp" || fail "--persons-only changed nothing"
! cmp -s "$work/persons.bmp" "$work/town.bmp" || fail "--persons-only shows no persons"

# The town with its four neighbours around it, 8 blocks on every side: 30 x 24 blocks become
# 46 x 40. Route 1 lies above it at offset 5 (x 5, y -40): the band's pixel (13 * 16 + 3,
# 7 * 16 + 3) is route 1's pixel (3, 39 * 16 + 3), each channel halved and 16 added.
# pixel FILE X Y: "B G R" of a 24-bit BMP stored bottom-up.
pixel() {
    local data width height row
    data=$(od -An -tu4 -j10 -N4 "$1" | tr -d ' ')
    width=$(od -An -tu4 -j18 -N4 "$1" | tr -d ' ')
    height=$(od -An -td4 -j22 -N4 "$1" | tr -d ' ')
    row=$(( (width * 3 + 3) / 4 * 4 ))
    od -An -tu1 -j$((data + (height - 1 - $3) * row + $2 * 3)) -N3 "$1" | tr -s ' ' | sed 's/^ //'
}
"$bin/quillon-cli" render "$work/demo.gba" 0.0 --neighbours -o "$work/around.bmp" 2> "$work/err" \
    || fail "render --neighbours: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "render --neighbours warned: $(cat "$work/err")"
[ "$(od -An -tu4 -j18 -N4 "$work/around.bmp" | tr -d ' ')" = "736" ] || fail "band width"
[ "$(od -An -td4 -j22 -N4 "$work/around.bmp" | tr -d ' ')" = "640" ] || fail "band height"
"$bin/quillon-cli" render "$work/demo.gba" 0.1 -o "$work/route1.bmp"
read -r b g r <<< "$(pixel "$work/route1.bmp" 3 627)"
[ "$(pixel "$work/around.bmp" 211 115)" = "$((b / 2 + 16)) $((g / 2 + 16)) $((r / 2 + 16))" ] \
    || fail "route 1 above the town: $(pixel "$work/around.bmp" 211 115), alone $b $g $r"
[ "$(pixel "$work/around.bmp" 131 131)" = "$(pixel "$work/town.bmp" 3 3)" ] || fail "the town inside"
# A connection to a map that is not there: the picture is drawn without it, with a warning.
cp "$work/demo.gba" "$work/lost.gba"
conn=$("$bin/quillon-cli" header "$work/lost.gba" 0.0 | tr -d ' \n' | grep -o '"connections_offset":[0-9]*' | cut -d: -f2)
records=$(( $(od -An -tu4 -j$((conn + 4)) -N4 "$work/lost.gba" | tr -d ' ') - 0x08000000 ))
printf '\x09' | dd of="$work/lost.gba" bs=1 seek=$((records + 8)) conv=notrunc status=none
"$bin/quillon-cli" render "$work/lost.gba" 0.0 --neighbours -o "$work/lost.bmp" 2> "$work/err" \
    || fail "a lost neighbour failed the picture: $(cat "$work/err")"
grep -qx "warning: neighbour 9.1: map 9.1 is not in the bank table" "$work/err" \
    || fail "lost neighbour: $(cat "$work/err")"

# Wild encounters: the first route has grass (12 slots), water (5) and fishing (10), no rock;
# the houses have no entry. Each slot's levels and species lie in the ROM where the JSON says.
wild=$("$bin/quillon-cli" wild "$work/demo.gba" 0.1 | tr -d ' \n')
echo "$wild" | grep -q '^{"grass":{"rate":20,"slots":\[{"min":' || fail "wild 0.1: $wild"
echo "$wild" | grep -q '"rock":null' || fail "wild 0.1 rock: $wild"
[ "$(echo "$wild" | grep -o '"min":' | wc -l)" -eq 27 ] || fail "wild 0.1 slots: $wild"
fishing=${wild#*\"fishing\":}
[ "$(echo "$fishing" | grep -o '"species":' | wc -l)" -eq 10 ] || fail "fishing slots: $fishing"
echo "$wild" | grep -Eq '"species":[1-9][0-9]*,"name":"[A-Z]+"' || fail "species names: $wild"
[ "$("$bin/quillon-cli" wild "$work/demo.gba" 1.0)" = "null" ] || fail "a house has wild data"
! "$bin/quillon-cli" wild "$work/demo.gba" 0.9 2> /dev/null || fail "wild 0.9"

# Every map in one run: B.M.png for each map listed, and the index naming them.
summary=$("$bin/quillon-cli" render-all "$work/demo.gba" "$work/all/pictures" 2> "$work/err") \
    || fail "render-all: $(cat "$work/err")"
[ "$summary" = "Wrote 7 of 7 maps to $work/all/pictures (0 failed)" ] || fail "summary: $summary"
[ ! -s "$work/err" ] || fail "render-all wrote to stderr off a terminal: $(cat "$work/err")"
index="$work/all/pictures/index.json"
[ "$(grep -c '"id":' "$index")" -eq 7 ] || fail "index: $(cat "$index")"
grep -q '"failed": \[\]' "$index" || fail "index lists failures: $(cat "$index")"
echo "$maps" | while IFS=$'\t' read -r id name; do
    tr -d '\n ' < "$index" | grep -qF "{\"id\":\"$id\",\"name\":\"${name// /}\",\"file\":\"$id.png\"}" \
        || fail "index entry of $id $name"
    [ "$(head -c 4 "$work/all/pictures/$id.png" | od -An -tx1 | tr -d ' \n')" = "89504e47" ] \
        || fail "$id.png is no PNG"
done
"$bin/quillon-cli" render-all "$work/demo.gba" "$work/all/movement" --view movement --grid > /dev/null
[ "$(ls "$work/all/movement" | wc -l)" -eq 8 ] || fail "movement pictures: $(ls "$work/all/movement")"
! "$bin/quillon-cli" render-all "$work/demo.gba" "$work/demo.gba" > /dev/null 2> "$work/err" \
    || fail "render-all into a file"
grep -q "cannot make the folder" "$work/err" || fail "message: $(cat "$work/err")"

# The last bank (the entry before the bank table's closing zero) given map 0.0 as its map:
# listed and drawn with --all-banks only; the bank table right behind it ends its maps.
cp "$work/demo.gba" "$work/last.gba"
word() { od -An -tu4 -j"$1" -N4 "$2" | tr -d ' '; }
last=$bankTable
while [ "$(word $((last + 4)) "$work/last.gba")" -ne 0 ]; do last=$((last + 4)); done
lastTable=$(($(word "$last" "$work/last.gba") - 0x08000000))
lastBank=$(((last - bankTable) / 4))
dd if="$work/last.gba" of="$work/last.gba" bs=1 skip=$(($(word "$bankTable" "$work/last.gba") - 0x08000000)) \
    seek="$lastTable" count=4 conv=notrunc status=none
[ "$("$bin/quillon-cli" maps "$work/last.gba")" = "$maps" ] || fail "maps lists the last bank"
all=$("$bin/quillon-cli" maps "$work/last.gba" --all-banks)
[ "$all" = "$maps"$'\n'"$lastBank.0"$'\tQUILLON TOWN' ] || fail "maps --all-banks: $all"
summary=$("$bin/quillon-cli" render-all "$work/last.gba" "$work/all/last" --all-banks 2>&1) \
    || fail "render-all --all-banks: $summary"
[ "$summary" = "Wrote 8 of 8 maps to $work/all/last (0 failed)" ] || fail "summary: $summary"
cmp -s "$work/all/last/$lastBank.0.png" "$work/all/pictures/0.0.png" || fail "last bank's picture"

# The block palette, 16 blocks a row: 1,025 blocks make 65 rows of 16 pixels.
"$bin/quillon-cli" blocks "$work/demo.gba" 0.0 -o "$work/blocks.bmp" --width 16 --grid
[ "$(od -An -tu4 -j18 -N4 "$work/blocks.bmp" | tr -d ' ')" = "256" ] || fail "palette width"
[ "$(od -An -td4 -j22 -N4 "$work/blocks.bmp" | tr -d ' ')" = "1040" ] || fail "palette height"
! "$bin/quillon-cli" blocks "$work/demo.gba" 0.0 -o "$work/b.png" --width 0 2> /dev/null || fail "width 0"

# A ROM cut before its bank table: no maps, and a warning that says why.
head -c 90000 "$work/demo.gba" > "$work/cut.gba"
info=$("$bin/quillon-cli" info "$work/cut.gba" 2> "$work/err")
echo "$info" | grep -qx "Maps: 0" || fail "cut ROM: $info"
grep -qx "warning: the profile gives MapBankHeader the offset \\\$$(printf '%06X' "$bankTable"), outside the file (0 to \\\$015F8F): it is not used" \
    "$work/err" || fail "cut ROM warning: $(cat "$work/err")"
"$bin/quillon-cli" --lang Deutsch info "$work/cut.gba" 2> "$work/err" > /dev/null
grep -qx "warning: Das Profil nennt für MapBankHeader den Offset \\\$$(printf '%06X' "$bankTable"); er liegt außerhalb der Datei (0 bis \\\$015F8F) und wird nicht verwendet." \
    "$work/err" || fail "cut ROM warning in German: $(cat "$work/err")"

# Free space: without a range ten hits, ascending, each the start of 16 FF bytes, and one byte
# at least between a hit's run and the next hit.
free=$("$bin/quillon-cli" find-free "$work/demo.gba" --count 16)
[ "$(echo "$free" | wc -l)" -eq 10 ] || fail "find-free printed: $free"
sixteen=$(printf 'ff%.0s' {1..16})
next=0
for hit in $free; do
    [[ "$hit" =~ ^\$[0-9A-F]{6}$ ]] || fail "find-free line: $hit"
    at=$((16#${hit#\$}))
    [ "$at" -ge "$next" ] || fail "find-free: $hit follows the previous hit too closely"
    [ "$(od -An -tx1 -j"$at" -N16 "$work/demo.gba" | tr -d ' \n')" = "$sixteen" ] \
        || fail "find-free: no free run at $hit"
    next=$((at + 17))
done
# --to is inclusive: a search from a hit to that hit finds it; decimal offsets work as well.
first=$(echo "$free" | head -1)
# Without --from the search starts where the demo's free area begins, 32 free bytes in.
freeArea=$(grep '^FreierBereich=' "$work/profile.ini" | cut -d= -f2)
[ "$((16#${first#\$}))" -eq $((freeArea + 32)) ] \
    || fail "find-free starts at $first, not 32 bytes into the free area at $freeArea"
[ "$("$bin/quillon-cli" find-free "$work/demo.gba" --count 16 --from "$first" --to "$first")" = "$first" ] \
    || fail "find-free --to is not inclusive"
[ "$("$bin/quillon-cli" find-free "$work/demo.gba" --count 16 --byte FF --from $((16#${first#\$})))" = "$free" ] \
    || fail "find-free with a decimal --from"
! "$bin/quillon-cli" find-free "$work/demo.gba" --count 16 --from '$12G4' 2> "$work/err" \
    || fail "find-free took a bad --from"
grep -qxF "quillon-cli: --from: '\$12G4' is not a number (use \$hex or decimal)" "$work/err" \
    || fail "message: $(cat "$work/err")"

# Bad input: a message on stderr, a non-zero status, the ROM untouched.
printf 'not a rom' > "$work/text.gba"
! "$bin/quillon-cli" info "$work/text.gba" 2> "$work/err" || fail "text file accepted"
grep -qx "quillon-cli: \"$work/text.gba\" is not a GBA ROM image: it has only 9 bytes, less than a cartridge header" \
    "$work/err" || fail "message: $(cat "$work/err")"
cp "$work/demo.gba" "$work/huge.gba" && truncate -s $((32 * 1024 * 1024 + 1)) "$work/huge.gba"
! "$bin/quillon-cli" info "$work/huge.gba" 2> "$work/err" || fail "a ROM over 32 MiB accepted"
grep -qx "quillon-cli: \"$work/huge.gba\" is not a GBA ROM image: it has 33554433 bytes, more than the 32 MiB a cartridge holds" \
    "$work/err" || fail "message: $(cat "$work/err")"
rm -f "$work/huge.gba"
! "$bin/quillon-cli" render "$work/demo.gba" 9.9 -o "$work/x.png" 2> "$work/err" || fail "9.9 rendered"
grep -qx "quillon-cli: map 9.9: there is no bank 9 (the ROM has 2 banks)" "$work/err" \
    || fail "message: $(cat "$work/err")"
! "$bin/quillon-cli" events "$work/demo.gba" 0.9 2> "$work/err" || fail "0.9 printed"
grep -qx "quillon-cli: map 0.9: there is no map 9 in bank 0 (it has 5 maps)" "$work/err" \
    || fail "message: $(cat "$work/err")"
# The same refusals and an opening warning with --lang Deutsch: the language file's German.
! "$bin/quillon-cli" --lang Deutsch events "$work/demo.gba" 0.9 2> "$work/err" || fail "0.9 printed"
grep -qx "quillon-cli: map 0.9: Map 0.9 gibt es nicht (Bank 0 hat 5 Maps)." "$work/err" \
    || fail "message: $(cat "$work/err")"
! "$bin/quillon-cli" render "$work/demo.gba" 0.0 -o "$work/no/such/dir/x.png" 2> /dev/null || fail "unwritable output"
! "$bin/quillon-cli" maps "$work/missing.gba" 2> "$work/err" || fail "missing ROM"
grep -qx "quillon-cli: \"$work/missing.gba\": no such file" "$work/err" || fail "message: $(cat "$work/err")"
# Header attributes: printed as JSON; --set writes exactly the bytes of its fields.
cp "$work/demo.gba" "$work/edit.gba"
cp "$work/demo.gba" "$work/edit-start.gba"
header() { "$bin/quillon-cli" header "$work/edit.gba" 0.0 | tr -d ' \n'; }
field() { echo "$1" | grep -o "\"$2\":[^,}]*" | cut -d: -f2; }
json=$(header)
for key in music name_index name weather type show_name tileset1 tileset2 tileset1_header \
    tileset2_header width height header_offset footer_offset grid_offset events_offset connections_offset; do
    echo "$json" | grep -q "\"$key\":" || fail "header lacks $key: $json"
done
[ "$(field "$json" name)" = '"QUILLONTOWN"' ] || fail "name: $json"
hdr=$(field "$json" header_offset)
tilesets="$(field "$json" tileset1),$(field "$json" tileset2)"
swapped="$(field "$json" tileset2),$(field "$json" tileset1)"
header2=$(field "$json" tileset2_header | tr -d '"')
"$bin/quillon-cli" header "$work/edit.gba" 0.0 --set 'music=$012C' weather=11 type=8 show_name=0 \
    "tilesets=$tilesets" "tileset2=$header2" || fail "header --set"
changed=$(cmp -l "$work/demo.gba" "$work/edit.gba" | awk '{ printf "%d ", $1 - 1 }' || true)
for offset in $changed; do
    case $((offset - hdr)) in 16|17|22|23|26) ;; *) fail "header --set changed byte $offset";; esac
done
json=$(header)
[ "$(field "$json" music)" = 300 ] && [ "$(field "$json" weather)" = 11 ] \
    && [ "$(field "$json" type)" = 8 ] && [ "$(field "$json" show_name)" = false ] \
    || fail "after --set: $json"
[ "$(od -An -tx1 -j$((hdr + 16)) -N2 "$work/edit.gba" | tr -d ' \n')" = "2c01" ] || fail "music bytes"
# All fields of one --set are one step of the history.
[ "$("$bin/quillon-cli" history "$work/edit.gba" | grep -c '"name":')" = 1 ] \
    && "$bin/quillon-cli" history "$work/edit.gba" | grep -q '"name": "Change header 0.0"' \
    || fail "one --set, one step: $("$bin/quillon-cli" history "$work/edit.gba")"
cp "$work/edit.gba" "$work/kept.gba"
for bad in weather=256 show_name=2 'music=$10000' tilesets=0 colour=1 tilesets=0,99999 \
    "tilesets=$swapped" name_index=250; do
    ! "$bin/quillon-cli" header "$work/edit.gba" 0.0 --set music=1 "$bad" 2> "$work/err" \
        || fail "--set $bad accepted"
    [ -s "$work/err" ] || fail "--set $bad: no message"
    cmp -s "$work/edit.gba" "$work/kept.gba" || fail "--set $bad wrote something"
done
grep -q "name_index 250: the ROM's map name table holds the names 0 to" "$work/err" \
    || fail "name index message: $(cat "$work/err")"
# Wild encounters and connections through the window's units, one step each (undone below);
# refused, they write nothing.
"$bin/quillon-cli" wild "$work/edit.gba" 0.1 --set grass.rate=25 grass.0=3,5,wiling > /dev/null \
    || fail "wild --set"
"$bin/quillon-cli" connections "$work/edit.gba" 0.1 --way-back 1 \
    --at $(( $(stat -c %s "$work/edit.gba") - 96 )) > /dev/null || fail "--way-back"
cp "$work/edit.gba" "$work/kept.gba"
! "$bin/quillon-cli" wild "$work/edit.gba" 0.1 --set grass.0=0,5,wiling 2> /dev/null \
    || fail "level 0 accepted"
! "$bin/quillon-cli" connections "$work/edit.gba" 0.4 --add north,0,0.3 2> /dev/null \
    || fail "north accepted"
cmp -s "$work/edit.gba" "$work/kept.gba" || fail "a refused wild or connections edit wrote something"

# A new name for the town's name, at the end of the file.
at=$(( $(stat -c %s "$work/edit.gba") - 32 ))
"$bin/quillon-cli" rename "$work/edit.gba" 0.0 "ROAD" --at "$at" > /dev/null || fail "rename"
[ "$(field "$(header)" name)" = '"ROAD"' ] || fail "renamed: $(header)"
[ "$(od -An -tx1 -j$((at + 4)) -N2 "$work/edit.gba" | tr -d ' \n')" = "ff00" ] || fail "name end"
cp "$work/edit.gba" "$work/kept.gba"
! "$bin/quillon-cli" rename "$work/edit.gba" 0.0 "ABCDEFGHIJKLMNOPQRS" --at "$at" 2> "$work/err" \
    || fail "19 characters accepted"
cmp -s "$work/edit.gba" "$work/kept.gba" || fail "a refused name wrote something"
# Moved data goes only onto free space or its own old place: the bank table, the map's own
# header, 0xFF bytes when free space was said to hold 0x00, and the footer right behind the
# grid are refused in English, and nothing is written.
json=$(header)
grid=$(field "$json" grid_offset)
own=$(field "$json" header_offset)
for args in "resize 0.0 30 30 --at $((bankTable - 8))" "event-counts 0.0 1 1 0 0 --at $own" \
    "resize 0.0 5 5 --at $(( $(stat -c %s "$work/edit.gba") - 200 )) --fill 00"; do
    read -r command map rest <<< "$args"
    # shellcheck disable=SC2086
    ! "$bin/quillon-cli" "$command" "$work/edit.gba" "$map" $rest 2> "$work/err" \
        || fail "$args accepted"
    grep -q "not free at .*; nothing was written" "$work/err" || fail "$args: $(cat "$work/err")"
    cmp -s "$work/edit.gba" "$work/kept.gba" || fail "$args wrote something"
done
grep -q "the byte there is \$FF, not the fill byte \$00" "$work/err" || fail "--fill: $(cat "$work/err")"
! "$bin/quillon-cli" resize "$work/edit.gba" 0.0 30 25 --at $((grid - 8)) 2> "$work/err" \
    || fail "grown in place over the footer"
grep -q "the map footer of map 0.0 at" "$work/err" || fail "grown in place: $(cat "$work/err")"
cmp -s "$work/edit.gba" "$work/kept.gba" || fail "grown in place: written"
# Every write above is a transaction in the history beside the ROM: undone and redone as a
# whole they give exactly the files from before and after.
steps=$("$bin/quillon-cli" history "$work/edit.gba" | grep -c '"id":' || true)
[ "$steps" -ge 2 ] || fail "history: $("$bin/quillon-cli" history "$work/edit.gba")"
"$bin/quillon-cli" history "$work/edit.gba" | grep -m1 '"name":' | grep -q '"Rename map"' \
    || fail "newest first: $("$bin/quillon-cli" history "$work/edit.gba")"
cp "$work/edit.gba" "$work/done.gba"
! "$bin/quillon-cli" undo "$work/edit.gba" --steps $((steps + 1)) 2> "$work/err" || fail "undo too many"
cmp -s "$work/edit.gba" "$work/done.gba" || fail "a refused undo wrote something"
"$bin/quillon-cli" undo "$work/edit.gba" --steps "$steps" > /dev/null || fail "undo"
cmp -s "$work/edit.gba" "$work/edit-start.gba" || fail "undo did not give the first file back"
! "$bin/quillon-cli" undo "$work/edit.gba" 2> "$work/err" || fail "undo with nothing to undo"
grep -q "nothing to undo" "$work/err" || fail "undo message: $(cat "$work/err")"
"$bin/quillon-cli" redo "$work/edit.gba" --steps "$steps" > /dev/null || fail "redo"
cmp -s "$work/edit.gba" "$work/done.gba" || fail "redo did not give the edited file back"
! "$bin/quillon-cli" redo "$work/edit.gba" 2> /dev/null || fail "redo with nothing to redo"
"$bin/quillon-cli" recover "$work/edit.gba" --rollback | grep -q "No unfinished" || fail "recover"
cmp -s "$work/edit.gba" "$work/done.gba" || fail "recover without anything to do wrote"
# A history that does not belong to the ROM beside it: a read command says so in English and
# leaves it where and as it is.
cp "$work/demo.gba" "$work/other.gba"
cp "$work/edit.gba.quillon-history" "$work/other.gba.quillon-history"
hist=$(md5sum < "$work/other.gba.quillon-history")
"$bin/quillon-cli" info "$work/other.gba" > /dev/null 2> "$work/err" || fail "info: foreign history"
grep -q "does not belong to this ROM" "$work/err" || fail "foreign notice: $(cat "$work/err")"
! grep -q '[äöüÄÖÜß]' "$work/err" || fail "not English: $(cat "$work/err")"
[ "$(md5sum < "$work/other.gba.quillon-history")" = "$hist" ] || fail "info changed the history"
[ "$(find "$work" -name 'other.gba.quillon-history*' | wc -l)" = 1 ] || fail "info set it aside"
# Map files: the town written out and put into slot 0.1, exactly the listed bytes changed.
cp "$work/demo.gba" "$work/ins.gba"
"$bin/quillon-cli" export-map "$work/ins.gba" 0.0 "$work/town" > /dev/null || fail "export-map"
[ -f "$work/town.Map" ] && [ -f "$work/town.Evt" ] || fail "export-map files: $(ls "$work")"
cmp -s "$work/ins.gba" "$work/demo.gba" || fail "export-map wrote into the ROM"
json=$("$bin/quillon-cli" header "$work/ins.gba" 0.0 | tr -d ' \n')
w=$(field "$json" width); h=$(field "$json" height)
[ "$(stat -c %s "$work/town.Map")" -eq $((24 + 2 * w * h)) ] || fail "map file size"
[ "$(stat -c %s "$work/town.Evt")" -eq $((5 * 24 + 2 * 8 + 3 * 12 + 4)) ] || fail "event file size"
slot=$("$bin/quillon-cli" header "$work/ins.gba" 0.1 | tr -d ' \n')
hdr=$(field "$slot" header_offset); ftr=$(field "$slot" footer_offset)
space=$((2 * w * h + 32)); eventbytes=$((5 * 24 + 2 * 8 + 3 * 12 + 20))
hit=$("$bin/quillon-cli" find-free "$work/ins.gba" --count $((space + eventbytes + 48)) | head -1)
grid=$(( (16#${hit#\$} + 3) / 4 * 4 )); events=$(( (grid + space + 3) / 4 * 4 ))
for bad in "0 $grid $events" "0.1 $((grid + 1)) $events" "0.1 $grid $((events + 2))"; do
    read -r s g e <<< "$bad"
    ! "$bin/quillon-cli" insert "$work/ins.gba" "$work/town.Map" --slot "$s" --grid-at "$g" \
        --events-at "$e" 2> "$work/err" || fail "insert $bad accepted"
    [ -s "$work/err" ] || fail "insert $bad: no message"
    cmp -s "$work/ins.gba" "$work/demo.gba" || fail "insert $bad wrote something"
done
grep -qx "quillon-cli: --events-at \$[0-9A-F]* is not a multiple of 4 (.*" "$work/err" \
    || fail "message: $(cat "$work/err")"
! "$bin/quillon-cli" insert "$work/ins.gba" "$work/town.Map" --slot 9.0 --grid-at "$grid" \
    --events-at "$events" 2> "$work/err" || fail "slot 9.0"
grep -qx "quillon-cli: --slot 9.0: the ROM's tables have no bank 9" "$work/err" \
    || fail "message: $(cat "$work/err")"
head -c 23 "$work/town.Map" > "$work/cut.map"
! "$bin/quillon-cli" insert "$work/ins.gba" "$work/cut.map" --slot 0.1 --grid-at "$grid" \
    --events-at "$events" 2> "$work/err" || fail "a cut map file was inserted"
grep -q "map file \"$work/cut.map\" has 23 bytes; a map file has at least 24" "$work/err" || fail "message: $(cat "$work/err")"
"$bin/quillon-cli" insert "$work/ins.gba" "$work/town.Map" --slot 0.1 --grid-at "$grid" \
    --events-at "$events" > "$work/ins.json" || fail "insert"
changed=$(cmp -l "$work/demo.gba" "$work/ins.gba" | awk '{ printf "%d ", $1 - 1 }' || true)
[ -n "$changed" ] || fail "insert changed nothing"
brd=$(tr -d ' \n' < "$work/ins.json" | grep -o '"border_offset":[0-9]*' | cut -d: -f2)
for offset in $changed; do
    if [ "$offset" -ge $((grid + 8)) ] && [ "$offset" -lt $((grid + 8 + 2 * w * h)) ]; then continue; fi
    if [ "$offset" -ge "$brd" ] && [ "$offset" -lt $((brd + 8)) ]; then continue; fi
    if [ "$offset" -ge "$events" ] && [ "$offset" -lt $((events + eventbytes)) ]; then continue; fi
    case $((offset - ftr)) in 0|1|2|3|4|5|6|7|12|13|14|15|16|17|18|19|20|21|22|23) continue;; esac
    case $((offset - hdr)) in 4|5|6|7) continue;; esac
    fail "insert changed byte $offset"
done
"$bin/quillon-cli" render "$work/ins.gba" 0.0 -o "$work/a.bmp"
"$bin/quillon-cli" render "$work/ins.gba" 0.1 -o "$work/b.bmp"
cmp -s "$work/a.bmp" "$work/b.bmp" || fail "slot 0.1 does not show the town"
[ "$("$bin/quillon-cli" events "$work/ins.gba" 0.1 | grep -c '"movementType":')" -eq 5 ] \
    || fail "slot 0.1 events"
"$bin/quillon-cli" undo "$work/ins.gba" > /dev/null || fail "undo insert"
cmp -s "$work/ins.gba" "$work/demo.gba" || fail "undoing the insertion left bytes behind"
# Slot 0.1 made to share 0.0's footer: refused naming both maps; with a footer of its own the
# shared footer stays as it was.
hdr0=$(field "$("$bin/quillon-cli" header "$work/ins.gba" 0.0 | tr -d ' \n')" header_offset)
ftr0=$(field "$("$bin/quillon-cli" header "$work/ins.gba" 0.0 | tr -d ' \n')" footer_offset)
dd if="$work/demo.gba" of="$work/ins.gba" bs=1 skip="$hdr0" seek="$hdr" count=4 conv=notrunc \
    2> /dev/null
cp "$work/ins.gba" "$work/shared.gba"
! "$bin/quillon-cli" insert "$work/ins.gba" "$work/town.Map" --slot 0.1 --grid-at "$grid" \
    --events-at "$events" 2> "$work/err" || fail "a shared footer was written"
grep -q "^quillon-cli: --slot 0.1: its map footer at .* is shared by 2 maps (0.0, 0.1)" \
    "$work/err" || fail "message: $(cat "$work/err")"
cmp -s "$work/ins.gba" "$work/shared.gba" || fail "the refused insertion wrote something"
own=$(( (events + eventbytes + 3) / 4 * 4 ))
"$bin/quillon-cli" insert "$work/ins.gba" "$work/town.Map" --slot 0.1 --grid-at "$grid" \
    --events-at "$events" --own-footer --footer-at "$own" > /dev/null || fail "own footer"
cmp -s -i "$ftr0:$ftr0" -n 24 "$work/ins.gba" "$work/shared.gba" || fail "the shared footer changed"
[ "$(field "$("$bin/quillon-cli" header "$work/ins.gba" 0.1 | tr -d ' \n')" footer_offset)" \
    = "$own" ] || fail "slot 0.1 has no footer of its own"
"$bin/quillon-cli" render "$work/ins.gba" 0.1 -o "$work/c.bmp"
cmp -s "$work/a.bmp" "$work/c.bmp" || fail "slot 0.1 with its own footer does not show the town"

# One block as JSON: its record's eight entries lie at record_offset (little-endian words).
"$bin/quillon-cli" block "$work/demo.gba" 0.0 '$205' > "$work/block.json" || fail "block"
json=$(tr -d ' \n' < "$work/block.json")
[ "$(grep -o '"tile":' <<< "$json" | wc -l)" -eq 8 ] || fail "block entries: $json"
record=$(grep -o '"record_offset":[0-9]*' <<< "$json" | tr -dc 0-9)
first=$(od -An -tu2 -j"$record" -N2 "$work/demo.gba" | tr -d ' ')
[ "$(grep -o '"tile":[0-9]*' <<< "$json" | head -1 | tr -dc 0-9)" = "$((first & 1023))" ] \
    || fail "block entry 0 is not the word $first at $record"
attribute=$(grep -o '"attribute_offset":[0-9]*' <<< "$json" | tr -dc 0-9)
[ "$(grep -o '"behaviour":[0-9]*' <<< "$json" | tr -dc 0-9)" = \
    "$(od -An -tu1 -j"$attribute" -N1 "$work/demo.gba" | tr -d ' ')" ] || fail "behaviour: $json"
! "$bin/quillon-cli" block "$work/demo.gba" 0.0 2000 2> "$work/err" || fail "block 2000"
grep -q "outside" "$work/err" || fail "block message: $(cat "$work/err")"
# The writers on a copy: block --set and paint write, a refused call exits 1 and writes
# nothing, and undo takes both calls back.
cp "$work/demo.gba" "$work/paint.gba"
"$bin/quillon-cli" block "$work/paint.gba" 0.0 '$205' --set 'behaviour=$21' > /dev/null \
    || fail "block --set"
"$bin/quillon-cli" paint "$work/paint.gba" 0.0 0,0=5:1 '2,1=$1A' > /dev/null || fail "paint"
edited=$(md5sum < "$work/paint.gba")
[ "$edited" != "$before" ] || fail "block --set and paint wrote nothing"
! "$bin/quillon-cli" paint "$work/paint.gba" 0.0 0,0=7 999,0=1 2> "$work/err" || fail "paint 999"
grep -q "999,0=1 lies outside the map" "$work/err" || fail "paint message: $(cat "$work/err")"
! "$bin/quillon-cli" block "$work/paint.gba" 0.0 '$205' --set behaviour=1 'tiles=1:99,-,-,-,-,-,-,-' \
    2> "$work/err" || fail "block --set palette 99"
grep -q "palette: 99 is outside 0 to 15" "$work/err" || fail "block --set: $(cat "$work/err")"
[ "$(md5sum < "$work/paint.gba")" = "$edited" ] || fail "a refused call wrote"
"$bin/quillon-cli" undo "$work/paint.gba" --steps 2 > /dev/null || fail "undo"
cmp -s "$work/demo.gba" "$work/paint.gba" || fail "undo did not take back block --set and paint"
# A tileset part's picture and palette: a BMP of 16 tiles a row and 64 bytes of colours.
"$bin/quillon-cli" tileset "$work/demo.gba" 0.0 --part 2 --palette 7 -o "$work/part2.bmp" \
    > /dev/null || fail "tileset"
[ "$(od -An -tu4 -j18 -N4 "$work/part2.bmp" | tr -d ' ')" = "128" ] || fail "tileset BMP width"
[ "$(stat -c %s "$work/part2.pal")" -eq 64 ] || fail "palette file size"
# Tiles and palettes written back (on a copy of the demo).
source "$(dirname "$0")/import_cases.sh"

# Connections: each map's list (or null) and the whole-ROM check agree: every connection
# marked "reverse": false has its line, and the exit status says whether there are any.
set +e
check=$("$bin/quillon-cli" check-connections "$work/demo.gba")
status=$?
set -e
if [ -z "$check" ]; then [ "$status" -eq 0 ] || fail "check-connections: status $status"
else [ "$status" -eq 1 ] || fail "check-connections found $check but exited $status"; fi
for id in $(echo "$maps" | cut -f1); do
    list=$("$bin/quillon-cli" connections "$work/demo.gba" "$id")
    case "$list" in null|\[*) ;; *) fail "connections $id: $list" ;; esac
    broken=$(echo "$list" | grep -c '"reverse": false' || true)
    lines=$(echo "$check" | grep -c "^$id " || true)
    [ "$broken" -eq "$lines" ] || fail "$id: $broken without way back, check lists $lines"
done
! "$bin/quillon-cli" connections "$work/demo.gba" 9.9 2> "$work/err" || fail "connections 9.9"
grep -q "there is no bank 9" "$work/err" || fail "connections 9.9: $(cat "$work/err")"
# The table search finds the demo's tables where its shipped profile says, each one sure.
shippedBefore=$(md5sum < "$bin/Ini/Quillon.ini")
"$bin/quillon-cli" find-tables "$work/demo.gba" > "$work/found.ini" || fail "find-tables demo"
[ "$(grep -c '^; .*: \$[0-9A-F]*, sure (' "$work/found.ini")" -eq 7 ] \
    || fail "find-tables verdicts: $(cat "$work/found.ini")"
for key in MapBankHeader TilesetHeader NamenHeader AnzMapNamen PokemonNamen WildePokemon \
    SpriteHeader SpritePaletten SpritePalettenAnz; do
    line=$(grep "^$key=" "$work/found.ini") || fail "find-tables: no $key"
    echo "$shipped" | grep -qx -- "$line" || fail "find-tables: $line, shipped $key differs"
done
# A game without a profile (the demo under another game code): no maps until the section the
# search stores is read over the shipped profiles.
cp "$work/demo.gba" "$work/nameless.gba"
printf 'QDMF' | dd of="$work/nameless.gba" bs=1 seek=$((0xAC)) conv=notrunc status=none
"$bin/quillon-cli" info "$work/nameless.gba" 2> /dev/null | grep -qx 'Maps: 0' || fail "unknown: maps"
"$bin/quillon-cli" find-tables "$work/nameless.gba" --save > /dev/null 2> "$work/err" \
    || fail "find-tables --save: $(cat "$work/err")"
grep -q "QUILLON DEMOQDMF" "$work/userdata/Brenvik/Quillon/Profile.ini" || fail "not stored"
[ "$("$bin/quillon-cli" maps "$work/nameless.gba" | cut -f1)" = "$(echo "$maps" | cut -f1)" ] \
    || fail "the stored profile lists other maps"
# No bank table: the verdicts are printed, nothing is stored, the status says so.
head -c 192 "$work/demo.gba" > "$work/blank.gba"
truncate -s 1M "$work/blank.gba"
stored=$(md5sum < "$work/userdata/Brenvik/Quillon/Profile.ini")
! "$bin/quillon-cli" find-tables "$work/blank.gba" --save > "$work/out" 2> "$work/err" \
    || fail "find-tables without tables succeeded"
grep -q "the bank table was not found: no profile is stored" "$work/err" \
    || fail "find-tables blank: $(cat "$work/err")"
grep -q "^; MapBankHeader: the bank table: not found" "$work/out" || fail "blank: $(cat "$work/out")"
[ "$(md5sum < "$work/userdata/Brenvik/Quillon/Profile.ini")" = "$stored" ] || fail "blank stored"
[ "$(md5sum < "$bin/Ini/Quillon.ini")" = "$shippedBefore" ] || fail "shipped profiles changed"
[ "$(md5sum < "$work/demo.gba")" = "$before" ] || fail "the ROM was changed"
grep -q "Einstellungen" "$bin/Ini/Quillon.ini" && ! grep -q "^BlockPaletteBreite=16" "$bin/Ini/Quillon.ini" \
    || fail "the command line wrote a setting"
echo "cli tests passed"
