#include "core/blocks/tileset_import.h"

#include <gtest/gtest.h>

#include <random>

#include "core/errors.h"
#include "core/gfx/lz77_compress.h"
#include "core/rom/rom_pointer.h"
#include "core/session/map_opening.h"
#include "core/session/open_map_history.h"
#include "tests/blocks/import_test_rom.h"
#include "tests/edit/header_test_rom.h"

namespace quillon {
namespace {

using romkit::Family;
using testing::OpenedRom;

struct Variant {
    Family family;
    bool compressed;
};
constexpr Variant kVariants[] = {
    {Family::Rse, false}, {Family::Rse, true}, {Family::Frlg, false}, {Family::Frlg, true}};

std::string nameOf(const Variant& v) {
    return std::string(v.family == Family::Frlg ? "FRLG" : "RSE") +
           (v.compressed ? " LZ77" : " raw");
}

blocks::TileImport plan(OpenedRom& o, int part, const blocks::IndexedPicture& picture) {
    Session& s = o.session();
    return blocks::planTileImport(s.rom(), s.romState().profile(), s.romState().tilesets(),
                                  s.mapState().map(), part, picture);
}

void import(OpenedRom& o, const blocks::TileImport& p, std::optional<std::uint32_t> at) {
    Session& s = o.session();
    blocks::importTiles(s.rom(), p, at, kFreeFill, s.mapState().map().identifier);
    readTilesetsAgain(s.rom(), s.romState(), s.mapState(), s.data().tilesets());
}

void setPixel(blocks::IndexedPicture& picture, int tile, int x, int y, std::uint8_t index) {
    picture.pixels.at(static_cast<std::size_t>((tile / 16 * 8 + y) * 128 + tile % 16 * 8 + x)) =
        index;
}

// Exported and imported again, both parts of every kind come back as they were: nothing in
// the file changes and no transaction is written.
TEST(TilesetImport, AnExportedPartComesBackUnchanged) {
    for (const Variant& v : kVariants) {
        for (int part : {1, 2}) {
            SCOPED_TRACE(nameOf(v) + " part " + std::to_string(part));
            OpenedRom o(testing::buildImportRom(v.family, v.compressed), "0.0");
            const auto before = o.image();
            const auto p =
                plan(o, part, blocks::partIndices(o.session().romState().tilesets(), part));
            EXPECT_FALSE(p.changed);
            EXPECT_FALSE(p.notInPlace.has_value());
            import(o, p, std::nullopt);
            EXPECT_EQ(o.image(), before);
            EXPECT_TRUE(o.session().rom().history().entries().empty());
        }
    }
}

// Where the header at offset points the tiles now.
std::uint32_t tilePointer(const std::vector<std::uint8_t>& image, std::uint32_t header) {
    std::uint32_t word = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        word |= static_cast<std::uint32_t>(image.at(header + 4 + i)) << (8 * i);
    }
    return decodeRomPointer(word).value_or(0);
}

// One pixel of tile 1 of part 2 recoloured: raw, exactly that byte changes; LZ77, the new
// stream lies over the old one or, one item longer, at the chosen place with the header
// pointing there, and nothing else changes. The map shows the new colour; undo brings the
// old file back.
TEST(TilesetImport, AnEditedPixelChangesItsTileAndUndoBringsItBack) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(nameOf(v));
        OpenedRom o(testing::buildImportRom(v.family, v.compressed), "0.0");
        Session& s = o.session();
        const romkit::BuiltTileset& built = o.built().tilesets[1];
        const auto before = o.image();
        const blocks::IndexedPicture original = blocks::partIndices(s.romState().tilesets(), 2);
        blocks::IndexedPicture edited = original;
        setPixel(edited, 1, 3, 2, 15);  // was (1 + 3 * 2) % 16 = 7

        const auto p = plan(o, 2, edited);
        ASSERT_TRUE(p.changed);
        ASSERT_TRUE(v.compressed || !p.notInPlace) << germanText(*p.notInPlace);
        const std::uint32_t at = p.notInPlace ? (o.built().freeSpace + 0x40) & ~3u : built.tiles;
        import(o, p, p.notInPlace ? std::optional(at) : std::nullopt);

        std::vector<std::uint8_t> tiles = testing::patternTiles();
        tiles[32 + 8 + 1] = 0xF5;  // pixels 2 (colour 5) and 3 (15) of row 2
        const auto after = o.image();
        EXPECT_EQ(tilePointer(after, built.header), at);
        EXPECT_EQ(testing::tilesAt(after, at, v.compressed), tiles);
        if (!v.compressed) {
            testing::expectOnly(before, after, {{built.tiles + 32 + 9, 0xF5}});
        }
        const std::uint32_t written = at == built.tiles ? built.storedTileBytes : p.data.size();
        for (std::size_t i = 0; i < after.size(); ++i) {
            const bool pointer = i >= built.header + 4 && i < built.header + 8;
            if ((i < at || i >= at + written) && !pointer) {
                ASSERT_EQ(after[i], before[i]) << "byte at " << std::hex << i;
            }
        }
        ASSERT_EQ(s.rom().history().entries().size(), 1u);
        EXPECT_EQ(s.rom().history().entries()[0].name, "Tileset laden 1");
        EXPECT_EQ(blocks::partIndices(s.romState().tilesets(), 2).pixels, edited.pixels);
        EXPECT_EQ(s.mapState().pictures().map().pixel(16 + 3, 2),
                  s.romState().tilesets().palette().colour(8, 15));

        undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                        s.rom().history().entries()[0].id);
        EXPECT_EQ(o.image(), before);
        EXPECT_EQ(blocks::partIndices(s.romState().tilesets(), 2).pixels, original.pixels);
        EXPECT_EQ(s.mapState().pictures().map().pixel(16 + 3, 2),
                  s.romState().tilesets().palette().colour(8, 7));
    }
}

// Tiles that no longer fit where the data lie (a longer LZ77 stream; raw tiles reaching into
// the palettes behind them) are refused without a new place, and with one they go there
// whole, the header's tile pointer last; undo puts the old pointer back.
TEST(TilesetImport, DataThatDoNotFitGoToTheChosenPlace) {
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(nameOf(v));
        OpenedRom o(testing::buildImportRom(v.family, v.compressed), "0.0");
        Session& s = o.session();
        const romkit::BuiltTileset& built = o.built().tilesets[0];
        blocks::IndexedPicture picture = blocks::partIndices(s.romState().tilesets(), 1);
        std::mt19937 random(5);
        const int tiles = v.compressed ? 64 : 65;  // raw: tile 64 lies on the palettes
        for (int t = 0; t < tiles; ++t) {
            for (int k = 0; k < 64; ++k) {
                setPixel(picture, t, k % 8, k / 8, static_cast<std::uint8_t>(random() % 16));
            }
        }
        const auto before = o.image();
        const auto p = plan(o, 1, picture);
        ASSERT_TRUE(p.notInPlace.has_value());
        if (!v.compressed) {
            EXPECT_NE(germanText(*p.notInPlace).find("Paletten von Tileset 0"), std::string::npos)
                << germanText(*p.notInPlace);
        }
        EXPECT_THROW(import(o, p, std::nullopt), Error);
        const std::uint32_t at = (o.built().freeSpace + 0x100) & ~3u;
        EXPECT_THROW(import(o, p, at + 2), Error) << "not on 4";
        EXPECT_THROW(import(o, p, built.palettes), Error) << "over the palettes";
        EXPECT_EQ(o.image(), before);
        EXPECT_TRUE(s.rom().history().entries().empty());

        import(o, p, at);
        auto expected = before;
        std::copy(p.data.begin(), p.data.end(), expected.begin() + at);
        const std::uint32_t pointer = encodeRomPointer(at);
        for (std::uint32_t i = 0; i < 4; ++i) {
            expected[built.header + 4 + i] = static_cast<std::uint8_t>(pointer >> (8 * i));
        }
        EXPECT_EQ(o.image(), expected);
        EXPECT_EQ(blocks::partIndices(s.romState().tilesets(), 1).pixels, picture.pixels);
        undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                        s.rom().history().entries()[0].id);
        EXPECT_EQ(o.image(), before);
    }
}

// Pictures the part cannot take are refused, naming the reason, before anything is read or
// written.
TEST(TilesetImport, PicturesThePartCannotTakeAreRefused) {
    OpenedRom o(testing::buildImportRom(Family::Frlg, true), "0.0");
    Session& s = o.session();
    const blocks::IndexedPicture whole =
        blocks::partIndices(s.romState().tilesets(), 2);  // 384 tiles
    const auto sized = [&](int width, int height) {
        blocks::IndexedPicture p{width, height, {}};
        p.pixels.assign(static_cast<std::size_t>(width * height), 1);
        return p;
    };
    blocks::IndexedPicture index16 = whole;
    setPixel(index16, 17, 2, 5, 16);
    setPixel(index16, 40, 0, 0, 200);
    const struct {
        blocks::IndexedPicture picture;
        const char* message;
    } cases[] = {
        {sized(120, 64),
         "Das Bild ist 120 Pixel breit; ein Tileset-Bild ist 128 Pixel (16 Tiles) "
         "breit."},
        {sized(128, 12),
         "Das Bild ist 12 Pixel hoch; ein Tileset-Bild hat 8 Pixel je "
         "Tile-Reihe."},
        {sized(128, 0), "Das Bild ist 0 Pixel hoch; ein Tileset-Bild hat 8 Pixel je Tile-Reihe."},
        {sized(128, 200), "Das Bild hat 400 Tiles; Tileset-Teil 2 fasst 384 Tiles."},
        {index16, "Tile 17, Pixel (2, 5) hat den Farbindex 16; ein Tile kennt nur 0 bis 15."},
    };
    const auto before = o.image();
    for (const auto& c : cases) {
        try {
            plan(o, 2, c.picture);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    EXPECT_EQ(o.image(), before);
    EXPECT_TRUE(s.rom().history().entries().empty());
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A stream that never copies from 1 byte back (what the BIOS's 16-bit routine needs) is
// replaced by one that does not either; a stream that does may be replaced by the shorter kind.
TEST(TilesetImport, TheNewStreamKeepsTheOldOnesKindOfCopies) {
    for (bool near : {true, false}) {
        SCOPED_TRACE(near);
        romkit::BuiltRom built = testing::buildImportRom(romkit::Family::Rse, true);
        const romkit::BuiltTileset& tileset = built.tilesets[0];
        std::uint32_t at = tileset.tiles;
        if (!near) {
            const auto stream = lz77Compress(testing::patternTiles(), true);
            at = (built.freeSpace + 0x100) & ~3u;
            std::copy(stream.begin(), stream.end(), built.bytes.begin() + at);
            writePointerField(&built.bytes[tileset.header + 4], at);
        }
        ASSERT_EQ(lz77Scan(std::span(built.bytes).subspan(at)).nearReferences, near);
        testing::OpenedRom o(built, "0.0");
        Session& s = o.session();
        blocks::IndexedPicture picture = blocks::partIndices(s.romState().tilesets(), 1);
        setPixel(picture, 3, 0, 0, 9);
        const auto p =
            blocks::planTileImport(s.rom(), s.romState().profile(), s.romState().tilesets(),
                                   s.mapState().map(), 1, picture);
        ASSERT_TRUE(p.changed);
        EXPECT_EQ(lz77Scan(p.data).nearReferences, near);
    }
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// Raw tiles name no size: part 1's 64 tiles moved right before part 2's tiles, a picture that
// changes part 1's tile 64 would write over part 2's tile 0. It is refused in place and goes
// to a chosen place whole; part 2 keeps its tiles.
TEST(TilesetImport, RawTilesEndWhereAnotherTilesetsDataStart) {
    romkit::BuiltRom built = testing::buildImportRom(romkit::Family::Frlg, false);
    const romkit::BuiltTileset& one = built.tilesets[0];
    const romkit::BuiltTileset& two = built.tilesets[1];
    const std::uint32_t moved = (built.freeSpace + 0x100) & ~3u;
    const std::uint32_t size = testing::kImportTiles * 32;
    std::copy_n(built.bytes.begin() + one.tiles, size, built.bytes.begin() + moved);
    std::copy_n(built.bytes.begin() + two.tiles, size, built.bytes.begin() + moved + size);
    writePointerField(&built.bytes[one.header + 4], moved);
    writePointerField(&built.bytes[two.header + 4], moved + size);
    testing::OpenedRom o(built, "0.0");
    Session& s = o.session();
    blocks::IndexedPicture picture = blocks::partIndices(s.romState().tilesets(), 1);
    setPixel(picture, 64, 0, 0, 3);
    const auto before = o.image();

    const auto p = plan(o, 1, picture);
    ASSERT_TRUE(p.notInPlace.has_value());
    EXPECT_NE(germanText(*p.notInPlace).find("nicht frei"), std::string::npos)
        << germanText(*p.notInPlace);
    EXPECT_THROW(import(o, p, std::nullopt), Error);
    EXPECT_EQ(o.image(), before);

    const std::uint32_t at = (moved + 2 * size + 0x100) & ~3u;
    import(o, p, at);
    const auto after = o.image();
    EXPECT_TRUE(std::equal(after.begin() + moved, after.begin() + moved + 2 * size,
                           before.begin() + moved));
    EXPECT_EQ(blocks::partIndices(s.romState().tilesets(), 1).pixels, picture.pixels);
    EXPECT_EQ(tilePointer(after, one.header), at);
}

}  // namespace
}  // namespace quillon
