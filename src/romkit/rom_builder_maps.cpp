#include "romkit/rom_builder_parts.h"

namespace quillon::romkit::detail {

namespace {

constexpr std::size_t kMapHeaderSize = 28;

std::vector<std::uint8_t> words16(const std::uint16_t* values, std::size_t count) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(values[i]));
        bytes.push_back(static_cast<std::uint8_t>(values[i] >> 8));
    }
    return bytes;
}

// Footer: width, height (32 bits each), border, grid, tileset part 1 and part 2 headers.
// FireRed/LeafGreen footers go on with the border's width and height, 28 bytes in all.
std::uint32_t layFooter(RomImage& image, Family family, const MapSpec& wanted,
                        const std::vector<BuiltTileset>& tilesets, const BuiltMap& built) {
    const std::uint32_t footer = image.reserve(family == Family::Frlg ? 28 : 24);
    image.put32(footer, wanted.width);
    image.put32(footer + 4, wanted.height);
    image.putPointer(footer + 8, built.border);
    image.putPointer(footer + 12, built.grid);
    image.putPointer(footer + 16, tilesets[wanted.primary].header);
    image.putPointer(footer + 20, tilesets[wanted.secondary].header);
    if (family == Family::Frlg) {
        image.put32(footer + 24, 0x0202);
    }
    return footer;
}

// Connection records back to back, then the header that counts them and points at them.
void layConnections(RomImage& image, const MapSpec& wanted, BuiltMap& built) {
    if (!wanted.connections) {
        return;
    }
    std::vector<std::uint8_t> records;
    for (const Connection& c : *wanted.connections) {
        const auto bytes = c.encode();
        records.insert(records.end(), bytes.begin(), bytes.end());
    }
    built.connectionRecords = records.empty() ? image.reserve(0) : image.place(records);
    built.connectionHeader = image.reserve(ConnectionTable::kHeaderSize);
    image.put32(built.connectionHeader, static_cast<std::uint32_t>(wanted.connections->size()));
    image.putPointer(built.connectionHeader + 4, built.connectionRecords);
}

// Header: +0 footer, +4 events, +8 map scripts (none), +12 connections, +16 music,
// +18 layout number, +20 name index, +22 weather, +23 type, +26 show name.
std::uint32_t layHeader(RomImage& image, const MapSpec& wanted, const BuiltMap& built,
                        std::uint16_t layoutNumber) {
    const std::uint32_t header = image.reserve(kMapHeaderSize);
    for (std::uint32_t i = 0; i < kMapHeaderSize; i += 4) {
        image.put32(header + i, 0);
    }
    image.putPointer(header, built.footer);
    image.putPointer(header + 4, built.events);
    if (built.connectionHeader != 0) {
        image.putPointer(header + 12, built.connectionHeader);
    }
    image.put16(header + 16, wanted.music);
    image.put16(header + 18, layoutNumber);
    image.put8(header + 20, wanted.nameIndex);
    image.put8(header + 22, wanted.weather);
    image.put8(header + 23, wanted.type);
    image.put8(header + 26, wanted.showName);
    return header;
}

BuiltMap layMap(RomImage& image, Family family, const MapSpec& wanted,
                const std::vector<BuiltTileset>& tilesets, std::uint16_t layoutNumber) {
    BuiltMap built{};
    built.border = image.place(words16(wanted.border.data(), wanted.border.size()));
    std::vector<std::uint16_t> grid = wanted.grid;
    grid.resize(std::size_t{wanted.width} * wanted.height, 0);
    built.grid = image.place(words16(grid.data(), grid.size()));
    built.footer = layFooter(image, family, wanted, tilesets, built);
    layEvents(image, wanted, built);
    layConnections(image, wanted, built);
    built.header = layHeader(image, wanted, built, layoutNumber);
    return built;
}

}  // namespace

void layMaps(RomImage& image, Family family, const std::map<std::pair<int, int>, MapSpec>& maps,
             const std::vector<BuiltTileset>& tilesets, BuiltRom& rom) {
    std::uint16_t layoutNumber = 1;
    for (const auto& [key, wanted] : maps) {
        rom.maps[key] = layMap(image, family, wanted, tilesets, layoutNumber++);
    }
    // Map tables back to back in bank order: the editor reads bank b's table only up to the
    // start of bank b + 1's. The closing empty bank's table is one non-pointer word.
    const int banks = maps.empty() ? 0 : maps.rbegin()->first.first + 1;
    for (int bank = 0; bank < banks; ++bank) {
        std::vector<std::uint32_t> headers;
        for (auto it = maps.lower_bound({bank, 0}); it != maps.end() && it->first.first == bank;
             ++it) {
            headers.push_back(rom.maps[it->first].header);
        }
        const std::uint32_t table = image.reserve(4 * headers.size());
        for (std::size_t m = 0; m < headers.size(); ++m) {
            image.putPointer(static_cast<std::uint32_t>(table + 4 * m), headers[m]);
        }
        rom.mapTables.push_back(table);
    }
    rom.mapTables.push_back(image.reserve(4));
    image.put32(rom.mapTables.back(), 0);

    rom.bankTable = image.reserve(4 * (rom.mapTables.size() + 1));
    for (std::size_t b = 0; b < rom.mapTables.size(); ++b) {
        image.putPointer(static_cast<std::uint32_t>(rom.bankTable + 4 * b), rom.mapTables[b]);
    }
    image.put32(static_cast<std::uint32_t>(rom.bankTable + 4 * rom.mapTables.size()), 0);
}

}  // namespace quillon::romkit::detail
