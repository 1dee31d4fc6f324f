#include "romkit/rom_builder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "romkit/rom_builder_parts.h"
#include "romkit/rom_image.h"
#include "romkit/western_charset.h"

namespace quillon::romkit {

namespace {

// Code and data of a real game come first; structures start here, behind the GBA header.
constexpr std::uint32_t kDataStart = 0x1000;
constexpr int kPokemonRecords = 412;  // record 0 is the placeholder before the first species
constexpr std::size_t kPokemonNameLength = 11;
constexpr char kUnsetPokemonName[] = "??????????";
constexpr std::uint32_t kCodeAreaStart = 0xC0;  // behind the GBA header
constexpr std::size_t kSpecialPaletteEntries = 26;

void writeGbaHeader(RomImage& image, const std::string& title12, const std::string& code4,
                    std::uint8_t revision) {
    // ARM branch over the header to the entry point at 0xC0.
    image.put32(0x00, 0xEA00002E);
    for (std::uint32_t i = 0x04; i < 0xC0; ++i) {
        image.put8(i, 0);
    }
    image.putAscii(0xA0, title12);
    image.putAscii(0xAC, code4);
    image.putAscii(0xB0, "00");
    image.put8(0xB2, 0x96);
    image.put8(0xBC, revision);
    std::uint8_t sum = 0;
    for (std::uint32_t i = 0xA0; i < 0xBD; ++i) {
        sum = static_cast<std::uint8_t>(sum + image.bytes()[i]);
    }
    image.put8(0xBD, static_cast<std::uint8_t>(-(sum + 0x19)));
}

// 412 records of 11 bytes: the text, 0xFF, zeros. Returns the offset of record 1, which is
// what the profile names.
std::uint32_t layPokemonNames(RomImage& image, const std::vector<std::string>& names) {
    const std::uint32_t table = image.reserve(kPokemonRecords * kPokemonNameLength);
    for (int i = 0; i < kPokemonRecords; ++i) {
        const bool set = i >= 1 && static_cast<std::size_t>(i) <= names.size();
        std::vector<std::uint8_t> text = encodeWestern(set ? names[i - 1] : kUnsetPokemonName);
        if (text.size() >= kPokemonNameLength) {
            throw std::invalid_argument("Pokemon name longer than 10 characters");
        }
        text.push_back(0xFF);
        text.resize(kPokemonNameLength, 0x00);
        image.putBytes(static_cast<std::uint32_t>(table + i * kPokemonNameLength), text);
    }
    return static_cast<std::uint32_t>(table + kPokemonNameLength);
}

// The names as 0xFF-ended texts, then the table that points to them: 8-byte records with the
// pointer at +4 (bytes 0-3 a 1 x 1 place on the region map) or plain pointers.
std::uint32_t layMapNames(RomImage& image, Family family, const std::vector<std::string>& names) {
    if (names.empty()) {
        return 0;
    }
    std::vector<std::uint32_t> texts;
    for (const std::string& name : names) {
        std::vector<std::uint8_t> text = encodeWestern(name);
        text.push_back(0xFF);
        texts.push_back(image.place(text, 1));
    }
    const int recordSize = traitsOf(family).nameRecordSize;
    const std::uint32_t table = image.reserve(texts.size() * recordSize);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto record = static_cast<std::uint32_t>(table + i * recordSize);
        if (recordSize == 8) {
            image.putBytes(record, std::array<std::uint8_t, 4>{0, 0, 1, 1});
        }
        image.putPointer(record + recordSize - 4, texts[i]);
    }
    return table;
}

void checkMaps(const std::map<std::pair<int, int>, MapSpec>& maps, std::size_t tilesetCount) {
    std::pair<int, int> previous{-1, 0};  // the first map must be 0.0
    for (const auto& [key, wanted] : maps) {
        const bool next = key == std::make_pair(previous.first, previous.second + 1) ||
                          key == std::make_pair(previous.first + 1, 0);
        if (!next) {
            throw std::invalid_argument("map " + std::to_string(key.first) + "." +
                                        std::to_string(key.second) +
                                        " leaves a gap: banks and maps must count from 0");
        }
        previous = key;
        for (int tileset : {wanted.primary, wanted.secondary}) {
            if (tileset < 0 || static_cast<std::size_t>(tileset) >= tilesetCount) {
                throw std::invalid_argument("map uses tileset " + std::to_string(tileset) +
                                            " that was not added");
            }
        }
        if (!wanted.grid.empty() && wanted.grid.size() != std::size_t{wanted.width} * wanted.height) {
            throw std::invalid_argument("grid size differs from width x height");
        }
    }
}

}  // namespace

FamilyTraits traitsOf(Family family) {
    if (family == Family::Frlg) {
        return {640, 40, 7, 4};
    }
    return {512, 32, 6, 8};
}

RomBuilder::RomBuilder(Family family, std::string title12, std::string code4, std::size_t romSize)
    : m_family(family),
      m_title12(std::move(title12)),
      m_code4(std::move(code4)),
      m_dataStart(kDataStart),
      m_romSize(romSize) {
    if (m_title12.size() > 12 || m_code4.size() != 4) {
        throw std::invalid_argument("title over 12 characters or game code not 4");
    }
}

int RomBuilder::addTileset(const TilesetSpec& tileset) {
    m_tilesets.push_back(tileset);
    return static_cast<int>(m_tilesets.size()) - 1;
}

void RomBuilder::addMap(const MapSpec& map) {
    if (map.bank < 0 || map.map < 0) {
        throw std::invalid_argument("negative bank or map number");
    }
    if (!m_maps.emplace(std::make_pair(map.bank, map.map), map).second) {
        throw std::invalid_argument("map " + std::to_string(map.bank) + "." +
                                    std::to_string(map.map) + " added twice");
    }
}

int RomBuilder::addMapName(const std::string& name) {
    encodeWestern(name);  // refuse text without a code now, not at build()
    m_mapNames.push_back(name);
    return static_cast<int>(m_mapNames.size()) - 1;
}

void RomBuilder::addPokemonName(const std::string& name) {
    if (m_pokemonNames.size() + 1 >= kPokemonRecords) {
        throw std::invalid_argument("more than 411 Pokemon names");
    }
    m_pokemonNames.push_back(name);
}

int RomBuilder::addSprite(const SpriteSpec& sprite) {
    const std::size_t size = std::size_t{sprite.width / 8u} * (sprite.height / 8u) * 32;
    if (sprite.slot > 15) {
        throw std::invalid_argument("sprite palette slot over 15");
    }
    if (!sprite.pixels.empty() && sprite.pixels.size() != size) {
        throw std::invalid_argument("sprite pixels: " + std::to_string(sprite.pixels.size()) +
                                    " bytes for " + std::to_string(size));
    }
    m_sprites.push_back(sprite);
    return static_cast<int>(m_sprites.size()) - 1;
}

void RomBuilder::addSpritePalette(std::uint16_t tag, std::array<std::uint16_t, 16> colours) {
    m_spritePalettes.emplace_back(tag, colours);
}

void RomBuilder::setSlotTags(std::array<std::uint16_t, 10> tags) { m_slotTags = tags; }

void RomBuilder::addSpecialPalette(std::uint32_t tag, std::uint16_t paletteTag) {
    if (m_specialPalettes.size() >= kSpecialPaletteEntries) {
        throw std::length_error("the special palette table holds 26 entries");
    }
    m_specialPalettes.emplace_back(tag, paletteTag);
}

void RomBuilder::addFlyRecord(std::uint8_t bank, std::uint8_t map, std::uint16_t x, std::uint16_t y,
                              std::uint16_t unknown) {
    m_flyRecords.push_back({bank, map, static_cast<std::uint8_t>(x),
                            static_cast<std::uint8_t>(x >> 8), static_cast<std::uint8_t>(y),
                            static_cast<std::uint8_t>(y >> 8), static_cast<std::uint8_t>(unknown),
                            static_cast<std::uint8_t>(unknown >> 8)});
}

void RomBuilder::putCodeBytes(std::uint32_t offset, const std::vector<std::uint8_t>& bytes) {
    if (offset < kCodeAreaStart || offset + bytes.size() > kDataStart) {
        throw std::invalid_argument("code bytes outside 0xC0 to 0x1000");
    }
    m_codeBytes.emplace_back(offset, bytes);
}

void RomBuilder::setDataStart(std::uint32_t offset) {
    if (offset < kDataStart) {
        throw std::invalid_argument("data start below 0x1000");
    }
    m_dataStart = offset;
}

BuiltRom RomBuilder::build() const {
    checkMaps(m_maps, m_tilesets.size());
    RomImage image(m_romSize, m_dataStart);
    writeGbaHeader(image, m_title12, m_code4, m_revision);

    BuiltRom rom;
    rom.family = m_family;
    rom.tilesethoehe = traitsOf(m_family).tilesethoehe;
    rom.pokemonNames = layPokemonNames(image, m_pokemonNames);
    rom.nameTable = layMapNames(image, m_family, m_mapNames);
    rom.nameCount = static_cast<int>(m_mapNames.size());

    std::vector<bool> secondary(m_tilesets.size(), false);
    for (const auto& [key, wanted] : m_maps) {
        secondary[wanted.secondary] = true;
    }
    rom.tilesets = detail::layTilesets(image, m_family, m_tilesets, secondary);
    rom.tilesetHeaders = rom.tilesets.empty() ? 0 : rom.tilesets.front().header;
    for (const BuiltTileset& t : rom.tilesets) {
        rom.tilesetHeaderOffsets.push_back(t.header);
    }
    detail::laySprites(image, {m_sprites, m_spritePalettes, m_slotTags, m_specialPalettes}, rom);
    rom.flyTable = detail::layFlyTable(image, m_flyRecords, m_flyUnterminated);
    detail::layWildTable(image, m_wild, rom);
    // The bank table comes last: what follows it is free space, where no map is found.
    detail::layMaps(image, m_family, m_maps, rom.tilesets, rom);
    rom.freeSpace = image.cursor();
    for (const auto& [offset, bytes] : m_codeBytes) {
        image.putBytes(offset, bytes);
    }

    std::array<std::uint8_t, 16> id{};
    std::copy_n(image.bytes().begin() + 0xA0, 16, id.begin());
    rom.title = titleFromHeader(id);
    rom.bytes = image.release();
    return rom;
}

}  // namespace quillon::romkit
