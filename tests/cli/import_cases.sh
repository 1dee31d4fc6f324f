# Tile and palette imports, run by cli_test.sh (uses its $bin, $work, fail and the demo ROM).

# bmp FILE WIDTH HEIGHT: an 8-bit indexed BMP of 16 grey colours whose pixels are the bytes
# read from stdin (WIDTH x HEIGHT, top row first; WIDTH a multiple of 4).
bmp() {
    local file=$1 width=$2 height=$3 size=$(($2 * $3))
    le32() {
        local shift
        for shift in 0 8 16 24; do printf "\\x$(printf %02x $(($1 >> shift & 255)))"; done
    }
    {
        printf 'BM'; le32 $((54 + 64 + size)); le32 0; le32 $((54 + 64))
        le32 40; le32 "$width"; le32 "$height"; printf '\x01\x00\x08\x00'; le32 0; le32 "$size"
        le32 2835; le32 2835; le32 16; le32 0
        for i in $(seq 0 15); do v=$(printf '\\x%02x' $((i * 16))); printf "$v$v$v\\x00"; done
    } > "$file"
    head -c "$size" > "$work/pixels"
    for ((row = height - 1; row >= 0; row--)); do
        tail -c +$((row * width + 1)) "$work/pixels" | head -c "$width" >> "$file"
    done
}
# pixels COUNT VALUE: COUNT bytes of VALUE (0-255).
pixels() { head -c "$1" /dev/zero | tr '\0' "\\$(printf %03o "$2")"; }
# noise COUNT: COUNT fixed pseudo-random colour indices 0-15.
noise() {
    LC_ALL=C awk -v n="$1" 'BEGIN { srand(7); for (i = 0; i < n; i++) printf "%c", int(rand() * 16) }'
}
le32at() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }

header=$("$bin/quillon-cli" header "$work/demo.gba" 0.0 | tr -d ' \n')
head1=$(($(field "$header" tileset1_header | tr -d '"$' | sed 's/^/16#/')))
head2=$(($(field "$header" tileset2_header | tr -d '"$' | sed 's/^/16#/')))
cp "$work/demo.gba" "$work/imp.gba"

# Exported and imported again, both parts leave the file as it is.
for part in 1 2; do
    "$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part $part -o "$work/p$part.png" > /dev/null
    "$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part $part --import "$work/p$part.png" \
        > "$work/out" || fail "import of the exported part $part"
    grep -q '"changed": false' "$work/out" || fail "part $part: $(cat "$work/out")"
done
cmp -s "$work/imp.gba" "$work/demo.gba" || fail "an unchanged import wrote bytes"

# Refusals name the reason and write nothing.
pixels 1024 16 | bmp "$work/i16.bmp" 128 8
pixels 960 1 | bmp "$work/w120.bmp" 120 8
"$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 2 --palette 3 -o "$work/true.bmp" > /dev/null
while IFS='|' read -r file message; do
    ! "$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 2 --import "$work/$file" \
        2> "$work/err" > /dev/null || fail "$file was imported"
    grep -qF "$message" "$work/err" || fail "$file: $(cat "$work/err")"
done <<'CASES'
i16.bmp|map 0.0: tile 0, pixel (0, 0) has the colour index 16; a tile knows only 0 to 15
w120.bmp|map 0.0: the picture is 120 pixels wide; a tileset picture is 128 pixels (16 tiles) wide
true.bmp|is truecolour (no colour table)
CASES
# --lang picks the language file's section for messages with an id; an unknown one is refused.
! "$bin/quillon-cli" --lang Deutsch tileset "$work/imp.gba" 0.0 --part 2 \
    --import "$work/w120.bmp" 2> "$work/err" > /dev/null || fail "--lang Deutsch imported"
grep -qF "map 0.0: Das Bild ist 120 Pixel breit; ein Tileset-Bild ist 128 Pixel (16 Tiles) breit." \
    "$work/err" || fail "--lang Deutsch: $(cat "$work/err")"
! "$bin/quillon-cli" --lang Latein info "$work/imp.gba" 2> "$work/err" > /dev/null \
    || fail "--lang Latein accepted"
grep -qF 'has no section "Latein" (it has Deutsch, English)' "$work/err" \
    || fail "--lang Latein: $(cat "$work/err")"
cmp -s "$work/imp.gba" "$work/demo.gba" || fail "a refused import wrote bytes"

# Raw part 2: the first row of tiles in colour 5 changes exactly those 512 bytes.
raw=$(le32at "$work/imp.gba" $((head2 + 4)))
raw=$((raw - 0x08000000))
pixels 1024 5 | bmp "$work/fives.bmp" 128 8
"$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 2 --import "$work/fives.bmp" \
    > "$work/out" || fail "import of 16 tiles"
tr -d ' \n' < "$work/out" | grep -q "\"offset\":$raw,\"written_bytes\":512,\"moved\":false" \
    || fail "16 tiles: $(cat "$work/out")"
cp "$work/demo.gba" "$work/expected.gba"
pixels 512 $((0x55)) | dd of="$work/expected.gba" bs=1 seek="$raw" conv=notrunc status=none
cmp -s "$work/imp.gba" "$work/expected.gba" || fail "the raw import changed other bytes"
"$bin/quillon-cli" history "$work/imp.gba" | grep -q "Import tiles of tileset 1" \
    || fail "history: $("$bin/quillon-cli" history "$work/imp.gba")"

# Compressed part 1, noise that no longer fits: refused without --at, written at the free
# place with it, the header's tile pointer last; the rest of the file stays.
noise 4096 | bmp "$work/noise.bmp" 128 32
cp "$work/imp.gba" "$work/before.gba"
! "$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 1 --import "$work/noise.bmp" \
    2> "$work/err" > /dev/null || fail "noise imported in place"
grep -q "need a new place; give --at" "$work/err" || fail "no --at: $(cat "$work/err")"
cmp -s "$work/imp.gba" "$work/before.gba" || fail "the refused import wrote bytes"
bytes=$(grep -o 'free place for [0-9]*' "$work/err" | tr -dc 0-9)
at=$("$bin/quillon-cli" find-free "$work/imp.gba" --count "$bytes" | head -1)
! "$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 1 --import "$work/noise.bmp" \
    --at "\$$(printf %X $((16#${at#\$} + 2)))" 2> "$work/err" > /dev/null || fail "odd --at"
grep -q "is not a multiple of 4" "$work/err" || fail "odd --at: $(cat "$work/err")"
"$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 1 --import "$work/noise.bmp" --at "$at" \
    > "$work/out" || fail "import at $at"
grep -q '"moved": true' "$work/out" || fail "moved: $(cat "$work/out")"
[ "$(le32at "$work/imp.gba" $((head1 + 4)))" = "$((16#${at#\$} + 0x08000000))" ] \
    || fail "the tile pointer does not point at $at"
[ "$(cmp -l "$work/imp.gba" "$work/before.gba" | awk -v lo=$((16#${at#\$})) -v n="$bytes" \
    -v p=$((head1 + 4)) '{ o = $1 - 1 } !((o >= lo && o < lo + n) || (o >= p && o < p + 4))' \
    | wc -l)" -eq 0 ] || fail "the moved import changed bytes outside its data and pointer"
"$bin/quillon-cli" undo "$work/imp.gba" > /dev/null
cmp -s "$work/imp.gba" "$work/before.gba" || fail "undo did not bring the old tiles back"

# Palettes: an exported palette comes back unchanged; new colours change its 32 bytes only.
pal2=$(($(le32at "$work/imp.gba" $((head2 + 8))) - 0x08000000))
"$bin/quillon-cli" tileset "$work/imp.gba" 0.0 --part 2 --palette 7 --jasc -o "$work/p7.png" \
    > /dev/null
for file in p7.pal p7.png; do
    "$bin/quillon-cli" palette "$work/imp.gba" 0.0 --part 2 --palette 7 --import "$work/$file" \
        > /dev/null || fail "palette from $file"
done
cmp -s "$work/imp.gba" "$work/before.gba" || fail "an unchanged palette import wrote bytes"
{ printf 'JASC-PAL\r\n0100\r\n16\r\n'; for i in $(seq 16); do printf '255 0 64\r\n'; done; } \
    > "$work/red.pal"
"$bin/quillon-cli" palette "$work/imp.gba" 0.0 --part 2 --palette 7 --import "$work/red.pal" \
    > /dev/null || fail "palette import"
cp "$work/before.gba" "$work/expected.gba"
for i in $(seq 16); do printf '\x1f\x20'; done \
    | dd of="$work/expected.gba" bs=1 seek=$((pal2 + 7 * 32)) conv=notrunc status=none
cmp -s "$work/imp.gba" "$work/expected.gba" || fail "the palette import changed other bytes"
head -c 63 /dev/zero > "$work/short.pal"
{ printf 'JASC-PAL\n0100\n15\n'; for i in $(seq 15); do printf '1 2 3\n'; done; } > "$work/15.pal"
while IFS='|' read -r file palette message; do
    ! "$bin/quillon-cli" palette "$work/imp.gba" 0.0 --part 2 --palette "$palette" \
        --import "$work/$file" 2> "$work/err" > /dev/null || fail "$file was imported"
    grep -qF "$message" "$work/err" || fail "$file: $(cat "$work/err")"
done <<'CASES'
short.pal|7|the palette file has 63 bytes; expected are 64 bytes (16 colours) or JASC-PAL text
15.pal|7|the file has 15 colours; a palette has 16 (--fit takes it anyway)
red.pal|2|palette 2 belongs to tileset part 1 (palettes 0 to 5), not to part 2
CASES
cmp -s "$work/imp.gba" "$work/expected.gba" || fail "a refused palette import wrote bytes"
"$bin/quillon-cli" palette "$work/imp.gba" 0.0 --part 2 --palette 7 --import "$work/15.pal" \
    --fit > /dev/null || fail "--fit"
[ "$(od -An -tx1 -j$((pal2 + 7 * 32 + 28)) -N4 "$work/imp.gba" | tr -d ' ')" = "00001f20" ] \
    || fail "--fit: 15 colours written, the 16th kept"
