#include "core/mapfile/map_file.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "core/base/numbers.h"
#include "core/writers/tileset_choice.h"
#include "core/errors.h"
#include "core/events/event_kind.h"
#include "core/events/event_tables.h"
#include "core/map/map_loader.h"
#include "core/files/file_replace.h"
#include "core/rom/rom_pointer.h"

namespace quillon::map_file {

namespace {

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

int tilesetNumber(std::uint32_t value, int part, const std::string& name) {
    if (value > static_cast<std::uint32_t>(INT_MAX)) {
        throw DataError(message("mapfile.no_tileset",
                                {name, std::to_string(part), std::to_string(value)}));
    }
    return static_cast<int>(value);
}

}  // namespace

std::vector<std::uint8_t> encodeMap(const MapFileContents& map) {
    std::vector<std::uint8_t> out(map.border.begin(), map.border.end());
    const std::vector<std::uint8_t> grid = map.grid.encode();
    out.insert(out.end(), grid.begin(), grid.end());
    put32(out, map.grid.width);
    put32(out, map.grid.height);
    put32(out, static_cast<std::uint32_t>(map.tileset1));
    put32(out, static_cast<std::uint32_t>(map.tileset2));
    return out;
}

MapFileContents decodeMap(std::span<const std::uint8_t> bytes, const std::string& name) {
    const std::size_t fixed = kBorderBytes + kTrailerBytes;
    if (bytes.size() < fixed) {
        throw DataError(message("mapfile.short", {name, std::to_string(bytes.size())}));
    }
    const std::size_t trailer = bytes.size() - kTrailerBytes;
    const std::uint32_t width = read32(bytes, trailer);
    const std::uint32_t height = read32(bytes, trailer + 4);
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0) {
        throw DataError(message("mapfile.empty_size", {name, size}));
    }
    const std::uint64_t cells = std::uint64_t{width} * height;
    if (cells > static_cast<std::uint64_t>(BlockGrid::kMaxCells)) {
        throw DataError(message("mapfile.too_large",
                                {name, size, std::to_string(BlockGrid::kMaxCells)}));
    }
    const std::uint64_t expected = fixed + cells * BlockGrid::kEntryBytes;
    if (bytes.size() != expected) {
        throw DataError(message("mapfile.wrong_length", {name, std::to_string(bytes.size()), size,
                                                         std::to_string(expected)}));
    }
    MapFileContents map;
    std::copy_n(bytes.begin(), kBorderBytes, map.border.begin());
    map.grid =
        BlockGrid::decode(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                          bytes.subspan(kBorderBytes, trailer - kBorderBytes));
    map.tileset1 = tilesetNumber(read32(bytes, trailer + 8), 1, name);
    map.tileset2 = tilesetNumber(read32(bytes, trailer + 12), 2, name);
    return map;
}

std::vector<std::uint8_t> encodeEvents(const EventRecords& records) {
    std::vector<std::uint8_t> out;
    for (const auto& table : records) {
        out.insert(out.end(), table.begin(), table.end());
    }
    for (std::size_t s = 0; s < records.size(); ++s) {
        const auto size = static_cast<std::size_t>(recordSize(kTableKinds[s]));
        out.push_back(static_cast<std::uint8_t>(records[s].size() / size));
    }
    return out;
}

EventRecords decodeEvents(std::span<const std::uint8_t> bytes, const std::string& name) {
    constexpr std::size_t kCounts = 4;
    if (bytes.size() < kCounts) {
        throw DataError(message("mapfile.events_short", {name, std::to_string(bytes.size())}));
    }
    const auto counts = bytes.subspan(bytes.size() - kCounts);
    std::size_t expected = kCounts;
    for (std::size_t s = 0; s < kCounts; ++s) {
        expected += counts[s] * static_cast<std::size_t>(recordSize(kTableKinds[s]));
    }
    if (bytes.size() != expected) {
        throw DataError(message(
            "mapfile.events_wrong_length",
            {name, std::to_string(bytes.size()),
             std::to_string(counts[0]) + ", " + std::to_string(counts[1]) + ", " +
                 std::to_string(counts[2]) + ", " + std::to_string(counts[3]),
             std::to_string(expected)}));
    }
    EventRecords records;
    std::size_t at = 0;
    for (std::size_t s = 0; s < kCounts; ++s) {
        const std::size_t size = counts[s] * static_cast<std::size_t>(recordSize(kTableKinds[s]));
        records[s].assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    return records;
}

int tilesetValue(const GameProfile& profile, std::uint32_t header) {
    if (auto n = tileset_choice::exactNumber(profile, header)) {
        return *n;
    }
    return static_cast<int>(encodeRomPointer(header));
}

std::uint32_t tilesetHeader(TRom& rom, const GameProfile& profile, int value, int part) {
    if (auto header = decodeRomPointer(static_cast<std::uint32_t>(value))) {
        return tileset_choice::checkedHeader(rom, *header, part, hexOffset(*header));
    }
    return tileset_choice::headerOffset(rom, profile, value, part);
}

std::filesystem::path eventFileName(const std::filesystem::path& mapFile) {
    std::filesystem::path name = mapFile;
    return name.replace_extension(".Evt");
}

std::filesystem::path withMapExtension(const std::filesystem::path& name) {
    std::string ending = name.extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending == ".map") {
        return name;
    }
    return std::filesystem::path(name.string() + ".Map");
}

MapFiles read(const std::filesystem::path& mapFile) {
    std::error_code ec;
    if (!std::filesystem::exists(mapFile, ec)) {
        throw Error(message("mapfile.not_found", {mapFile.string()}));
    }
    MapFiles files;
    files.map = decodeMap(readWholeFile(mapFile, kMaxMapFileBytes), mapFile.string());
    const std::filesystem::path events = eventFileName(mapFile);
    if (std::filesystem::exists(std::filesystem::symlink_status(events, ec))) {
        files.events = decodeEvents(readWholeFile(events, kMaxEventFileBytes), events.string());
    }
    return files;
}

void write(const std::filesystem::path& mapFile, const CurrentMap& map, const BlockGrid& grid,
           const EventTables& events, const GameProfile& profile) {
    MapFileContents contents;
    contents.border = map.border;
    contents.grid = grid;
    contents.tileset1 = tilesetValue(profile, map.footer.tileset1Offset());
    contents.tileset2 = tilesetValue(profile, map.footer.tileset2Offset());
    EventRecords records;
    for (std::size_t s = 0; s < records.size(); ++s) {
        records[s] = events.table(kTableKinds[s]);
    }
    const std::vector<std::uint8_t> mapBytes = encodeMap(contents);
    const std::vector<std::uint8_t> eventBytes = encodeEvents(records);
    replaceFiles({{mapFile, mapBytes}, {eventFileName(mapFile), eventBytes}});
}

}  // namespace quillon::map_file
