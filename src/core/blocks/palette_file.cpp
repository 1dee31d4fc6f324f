#include "core/blocks/palette_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "core/errors.h"
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

constexpr std::size_t kBinarySize = 64;
constexpr int kMostColours = 256;

std::vector<std::string> textLines(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::uint8_t b : bytes) {
        if (b == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (b != '\r') {
            line.push_back(static_cast<char>(b));
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// id: what the line should hold ("import.jasc_count").
[[noreturn]] void brokenLine(std::size_t line, const char* id) {
    throw Error(message(id, {std::to_string(line + 1)}));
}

// The whole line as numbers from 0 to max, nothing else on it.
std::vector<int> numbersOf(const std::string& line, std::size_t count, int max) {
    std::istringstream in(line);
    std::vector<int> numbers;
    int n = 0;
    while (in >> n) {
        numbers.push_back(n);
    }
    const bool whole = in.eof();
    const bool inRange =
        std::all_of(numbers.begin(), numbers.end(), [max](int v) { return v >= 0 && v <= max; });
    if (!whole || numbers.size() != count || !inRange) {
        return {};
    }
    return numbers;
}

std::vector<PaletteColour> readJasc(std::span<const std::uint8_t> bytes) {
    const std::vector<std::string> lines = textLines(bytes);
    if (lines.size() < 3 || lines[1] != "0100") {
        brokenLine(1, "import.jasc_version");
    }
    const std::vector<int> count = numbersOf(lines[2], 1, kMostColours);
    if (count.empty()) {
        brokenLine(2, "import.jasc_count");
    }
    std::vector<PaletteColour> colours;
    for (std::size_t i = 3; i < 3 + static_cast<std::size_t>(count[0]); ++i) {
        const std::vector<int> rgb =
            i < lines.size() ? numbersOf(lines[i], 3, 255) : std::vector<int>{};
        if (rgb.empty()) {
            brokenLine(i, "import.jasc_colour");
        }
        colours.push_back({static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]),
                           static_cast<std::uint8_t>(rgb[2])});
    }
    return colours;
}

}  // namespace

std::vector<PaletteColour> readPaletteFile(std::span<const std::uint8_t> bytes) {
    const std::string magic = "JASC-PAL";
    if (bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin())) {
        return readJasc(bytes);
    }
    if (bytes.size() != kBinarySize) {
        throw Error(message("import.palette_file_size", {std::to_string(bytes.size())}));
    }
    std::vector<PaletteColour> colours;
    for (std::size_t i = 0; i < kBinarySize; i += 4) {
        colours.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
    }
    return colours;
}

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
