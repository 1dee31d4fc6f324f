#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// A palette file name ending in ".jasc.pal" (any case) asks for the text form.
bool isJascName(const std::string& name);
// A picture name ending in ".png" (any case) asks for an indexed PNG.
bool isPngName(const std::string& name);

}  // namespace blocks
}  // namespace quillon
