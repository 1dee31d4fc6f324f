#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class TPalette;

namespace blocks {

// A palette file of one palette: 16 colours of 4 bytes (red, green, blue, 0), components as
// the editor draws them (multiples of 8, at most 248). 64 bytes, no header.
std::array<std::uint8_t, 64> paletteFileBytes(const TPalette& colours, int palette);

// The same palette as JASC-PAL text: "JASC-PAL", "0100", "16", then one "R G B" line per
// colour, lines ended by CR LF.
std::string jascPaletteText(const TPalette& colours, int palette);

// The palette file beside a picture: the picture's name with its extension replaced by
// ".pal" ("wald.DIB" -> "wald.pal"; "tileset" -> "tileset.pal"). Only the last name of
// the path counts, so a dot in a folder name is left alone.
std::string paletteFileName(const std::string& pictureName);

// One colour of a palette file: 8-bit channels.
struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// The colours of a palette file as the export writes them: JASC-PAL text (its first line
// "JASC-PAL", then "0100", the count and one "R G B" line per colour; LF or CR LF) with any
// count, or the 64-byte form (16 colours of red, green, blue and one unused byte). Throws Error
// for text that breaks the form (naming the line) and for a file of another size.
std::vector<PaletteColour> readPaletteFile(std::span<const std::uint8_t> bytes);

// A palette file name ending in ".jasc.pal" (any case) asks for the text form.
bool isJascName(const std::string& name);
// A picture name ending in ".png" (any case) asks for an indexed PNG.
bool isPngName(const std::string& name);

}  // namespace blocks
}  // namespace quillon
