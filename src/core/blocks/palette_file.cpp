#include "core/blocks/palette_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/gfx/palette.h"

namespace quillon::blocks {

namespace {

bool endsWithNoCase(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

struct Rgb {
    int r, g, b;
};

Rgb rgbOf(const TPalette& colours, int palette, int index) {
    const std::uint32_t c = colours.colour(palette, index);
    return {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
            static_cast<int>(c & 0xFF)};
}

}  // namespace

std::array<std::uint8_t, 64> paletteFileBytes(const TPalette& colours, int palette) {
    std::array<std::uint8_t, 64> bytes{};
    for (int i = 0; i < TPalette::kColours; ++i) {
        const Rgb c = rgbOf(colours, palette, i);
        bytes[4 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.r);
        bytes[4 * static_cast<std::size_t>(i) + 1] = static_cast<std::uint8_t>(c.g);
        bytes[4 * static_cast<std::size_t>(i) + 2] = static_cast<std::uint8_t>(c.b);
    }
    return bytes;
}

std::string jascPaletteText(const TPalette& colours, int palette) {
    std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
    for (int i = 0; i < TPalette::kColours; ++i) {
        const Rgb c = rgbOf(colours, palette, i);
        text +=
            std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b) + "\r\n";
    }
    return text;
}

std::string paletteFileName(const std::string& pictureName) {
    std::filesystem::path path(pictureName);
    path.replace_extension(".pal");
    // A picture named "x.pal" keeps its name; its palette goes beside it as "x.pal.pal".
    if (endsWithNoCase(pictureName, ".pal")) {
        return pictureName + ".pal";
    }
    return path.string();
}

bool isJascName(const std::string& name) { return endsWithNoCase(name, ".jasc.pal"); }

bool isPngName(const std::string& name) { return endsWithNoCase(name, ".png"); }

}  // namespace quillon::blocks
