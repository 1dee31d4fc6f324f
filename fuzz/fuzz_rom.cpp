#include "fuzz/fuzz_rom.h"

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "core/errors.h"
#include "core/session/session.h"
#include "romkit/rom_files.h"

namespace quillon::fuzz {

namespace {

romkit::TilesetSpec tileset(bool compressed) {
    romkit::TilesetSpec t;
    t.compressed = compressed;
    for (int tile = 0; tile < 5; ++tile) {
        t.tiles.insert(t.tiles.end(), 32, static_cast<std::uint8_t>(tile * 0x11));
    }
    t.palettes.push_back({0x0000, 0x001F, 0x03E0, 0x7C00, 0x7FFF});
    for (int i = 0; i < 16; ++i) {
        const auto tile = static_cast<std::uint16_t>(1 + i % 4);
        t.blocks.push_back({tile, tile, tile, tile, 0, 0, 0, 0});
    }
    return t;
}

void addSprites(romkit::RomBuilder& b) {
    romkit::SpriteSpec person;
    person.pixels.assign(16 * 32 / 2, 0x12);
    romkit::SpriteSpec special{.width = 32, .height = 32, .slot = 10, .paletteTag = 0x1111};
    special.pixels.assign(32 * 32 / 2, 0x34);
    b.addSprite(person);
    b.addSprite(special);
    b.addSpritePalette(0x1100, {0x0000, 0x001F, 0x03E0});
    b.setSlotTags({0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100, 0x1100});
    b.addSpecialPalette(0x1111, 0x1100);
    b.addFlyRecord(0, 0, 2, 2);
}

// Connections of every shape the band and the way-back check meet: 0.0 has a neighbour on each
// edge (one with a different tileset pair) and a dive, 0.1 and 1.0 lead back, 1.1 has a header
// without records, 0.2 none at all.
std::optional<std::vector<Connection>> connectionsOf(int bank, int map) {
    using D = ConnectionDirection;
    const auto c = [](D direction, std::int32_t offset, int b, int m) {
        return Connection{static_cast<std::uint32_t>(direction), offset,
                          static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(m), 0};
    };
    if (bank == 0 && map == 0) {
        return std::vector{c(D::Down, 0, 0, 1), c(D::Up, 1, 0, 2), c(D::Left, -1, 1, 0),
                           c(D::Right, 0, 1, 1), c(D::Dive, 0, 1, 0)};
    }
    if (bank == 0 && map == 1) {
        return std::vector{c(D::Up, 0, 0, 0)};
    }
    if (bank == 1 && map == 0) {
        return std::vector{c(D::Right, 1, 0, 0), c(D::Emerge, 0, 0, 0)};
    }
    if (bank == 1 && map == 1) {
        return std::vector<Connection>{};
    }
    return std::nullopt;
}

romkit::MapSpec mapSpec(int bank, int map) {
    romkit::MapSpec m;
    m.bank = bank;
    m.map = map;
    m.width = static_cast<std::uint16_t>(4 + map);
    m.height = static_cast<std::uint16_t>(3 + bank);
    for (int i = 0; i < m.width * m.height; ++i) {
        m.grid.push_back(static_cast<std::uint16_t>((i % 16) | ((bank + map) << 10)));
    }
    m.nameIndex = static_cast<std::uint8_t>(map % 2);
    m.secondary = bank == 1 && map == 0 ? 2 : 1;
    m.connections = connectionsOf(bank, map);
    if (bank == 0 && map == 0) {
        m.persons = {romkit::personRecord(1, 0, 1, 1), romkit::personRecord(2, 1, 3, 2)};
        m.warps = {romkit::warpRecord(2, 2, 0, 1, 0)};
        m.scripts = {romkit::scriptRecord(0, 2, 0x300)};
        m.signposts = {romkit::signpostRecord(3, 0, 7, 0x400)};
    }
    return m;
}

romkit::WildKindSpec wildKind(wild::Kind kind, std::uint8_t level) {
    romkit::WildKindSpec slots{.rate = 20u + static_cast<std::uint32_t>(kind)};
    for (int i = 0; i < wild::slotCount(kind); ++i) {
        slots.entries.push_back({level, static_cast<std::uint8_t>(level + i),
                                static_cast<std::uint16_t>(1 + i % 3)});
    }
    return slots;
}

// Wild encounters: every kind on 0.0, grass on 0.1, water and fishing on 1.1 (listed before
// 0.1: the table need not be sorted).
void addWild(romkit::RomBuilder& b) {
    using wild::Kind;
    romkit::WildSpec all{.bank = 0, .map = 0};
    for (Kind kind : wild::kKinds) {
        all.kinds[static_cast<std::size_t>(kind)] = wildKind(kind, 3);
    }
    romkit::WildSpec water{.bank = 1, .map = 1};
    water.kinds[1] = wildKind(Kind::Water, 10);
    water.kinds[3] = wildKind(Kind::Fishing, 5);
    romkit::WildSpec grass{.bank = 0, .map = 1};
    grass.kinds[0] = wildKind(Kind::Grass, 2);
    b.addWild(all);
    b.addWild(water);
    b.addWild(grass);
}

romkit::BuiltRom build() {
    romkit::RomBuilder b(romkit::Family::Rse, "QUILLON FUZZ", "QFZE", 1 << 18);
    b.addTileset(tileset(false));
    b.addTileset(tileset(true));
    b.addTileset(tileset(false));
    b.addMapName("PALLET");
    b.addMapName("ROUTE");
    b.addPokemonName("BISASAM");
    addSprites(b);
    addWild(b);
    for (int bank = 0; bank < 2; ++bank) {
        for (int map = 0; map < 3 - bank; ++map) {
            b.addMap(mapSpec(bank, map));
        }
    }
    return b.build();
}

class FolderOnce {
public:
    FolderOnce()
        : m_path(std::filesystem::temp_directory_path() /
                 ("quillon-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        romkit::writeProgramFolder(m_path, fuzzRom());
    }
    ~FolderOnce() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace

const romkit::BuiltRom& fuzzRom() {
    static const romkit::BuiltRom rom = build();
    return rom;
}

void applyPatches(std::vector<std::uint8_t>& image, std::span<const std::uint8_t> data) {
    std::size_t at = 0;
    while (at + 4 <= data.size() && !image.empty()) {
        const std::size_t offset =
            (data[at] | data[at + 1] << 8 | data[at + 2] << 16) % image.size();
        const std::size_t wanted = data[at + 3];
        at += 4;
        const std::size_t count = std::min({wanted, data.size() - at, image.size() - offset});
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), count,
                    image.begin() + static_cast<std::ptrdiff_t>(offset));
        at += wanted;
    }
}

void appendPatch(std::vector<std::uint8_t>& out, std::uint32_t offset,
                 std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min<std::size_t>(bytes.size(), 255);
    out.push_back(static_cast<std::uint8_t>(offset));
    out.push_back(static_cast<std::uint8_t>(offset >> 8));
    out.push_back(static_cast<std::uint8_t>(offset >> 16));
    out.push_back(static_cast<std::uint8_t>(count));
    out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

const std::filesystem::path& fuzzProgramFolder() {
    static const FolderOnce folder;
    return folder.path();
}

Session& fuzzSession() {
    static Session session(fuzzProgramFolder());
    return session;
}

void openEveryMap(std::span<const std::uint8_t> data, void (*draw)(Session&)) {
    std::vector<std::uint8_t> image = fuzzRom().bytes;
    applyPatches(image, data);
    Session& session = fuzzSession();
    try {
        session.openRom(std::make_unique<MemoryRomFile>(std::move(image)), "fuzz.gba");
    } catch (const Error&) {
        return;
    }
    for (const auto& bank : session.romState().bankScan().banks) {
        for (const auto& map : bank) {
            try {
                session.openMap(std::to_string(map.bank) + "." + std::to_string(map.map), "t");
                draw(session);
            } catch (const Error&) {
            }
        }
    }
}

}  // namespace quillon::fuzz
