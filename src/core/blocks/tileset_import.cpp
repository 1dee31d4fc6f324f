#include "core/blocks/tileset_import.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/base/numbers.h"
#include "core/blocks/tileset_ranges.h"
#include "core/errors.h"
#include "core/gfx/lz77.h"
#include "core/gfx/lz77_compress.h"
#include "core/gfx/tileset_pair.h"
#include "core/map/map_loader.h"
#include "core/rom/cartridge.h"
#include "core/rom/free_space.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon::blocks {

namespace {

constexpr int kPictureWidth = 128;
constexpr std::size_t kTileBytes = TGFX::kTileBytes;
// Enough input for any stream of a 64 KiB picture, incompressible data included.
constexpr std::uint64_t kLongestStream = 4 + TGFX::kDataSize / 8 * 9 + 8;

// The picture's tiles as 4-bit pixels, 32 bytes a tile. Throws Error for a picture the part
// cannot take.
std::vector<std::uint8_t> packTiles(const IndexedPicture& picture, int capacity, int part) {
    if (picture.width != kPictureWidth) {
        throw Error(message("import.width", {std::to_string(picture.width)}));
    }
    if (picture.height <= 0 || picture.height % 8 != 0) {
        throw Error(message("import.height", {std::to_string(picture.height)}));
    }
    const int tiles = picture.height / 8 * kTilesPerRow;
    if (tiles > capacity) {
        throw Error(message("import.tile_count", {std::to_string(tiles), std::to_string(part),
                                                  std::to_string(capacity)}));
    }
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(tiles) * kTileBytes, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t index = picture.pixels[static_cast<std::size_t>(y) * kPictureWidth +
                                                      static_cast<std::size_t>(x)];
            const int tile = y / 8 * kTilesPerRow + x / 8;
            if (index > 15) {
                throw Error(
                    message("import.colour_index", {std::to_string(tile), std::to_string(x % 8),
                                                    std::to_string(y % 8), std::to_string(index)}));
            }
            std::uint8_t& pair = packed[static_cast<std::size_t>(tile) * kTileBytes +
                                        static_cast<std::size_t>(4 * (y % 8) + (x % 8) / 2)];
            pair |= static_cast<std::uint8_t>(x % 2 == 0 ? index : index << 4);
        }
    }
    return packed;
}

// The bytes of packed that count: blank tiles (colour 0) past the old data's end are what the
// export draws there, not new tiles.
std::size_t usedSize(const std::vector<std::uint8_t>& packed, std::size_t oldSize) {
    std::size_t used = packed.size();
    while (used > oldSize && used >= kTileBytes &&
           std::all_of(packed.begin() + static_cast<std::ptrdiff_t>(used - kTileBytes),
                       packed.begin() + static_cast<std::ptrdiff_t>(used),
                       [](std::uint8_t b) { return b == 0; })) {
        used -= kTileBytes;
    }
    return used;
}

// The part's tile data as the ROM holds them now: decoded tiles and the bytes they occupy.
struct OldTiles {
    std::vector<std::uint8_t> tiles;
    std::uint32_t placeSize = 0;
    bool nearReferences = false;  // LZ77: the old stream copies from 1 byte back
};

OldTiles readOldTiles(TRom& rom, std::uint32_t offset, bool compressed, std::size_t capacity) {
    const std::uint64_t fileSize = rom.size();
    if (offset < kCartridgeHeaderSize || offset >= fileSize) {
        throw Error(message("import.tiles_outside", {hexOffset(offset)}));
    }
    const std::uint64_t room = fileSize - offset;
    OldTiles old;
    if (!compressed) {
        old.placeSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, room));
        old.tiles = rom.ReadBlock(static_cast<std::int32_t>(offset), old.placeSize);
        old.tiles.resize(capacity, 0);
        return old;
    }
    const auto stream = rom.ReadBlock(static_cast<std::int32_t>(offset),
                                      static_cast<std::uint32_t>(std::min(room, kLongestStream)));
    const Lz77Scan scan = lz77Scan(stream);
    old.placeSize = static_cast<std::uint32_t>(scan.length);
    old.nearReferences = scan.nearReferences;
    old.tiles = lz77Decompress(stream, TGFX::kDataSize);
    return old;
}

// Raw tiles end at the part's capacity, the file's end, the first table of the open tilesets
// or the first data of any tileset behind them, whichever comes first: the header names no
// size.
std::uint32_t rawPlaceSize(std::uint32_t offset, std::uint32_t size,
                           const std::vector<RomRange>& tables,
                           const std::vector<std::uint32_t>& starts) {
    const auto limit = [&](std::uint32_t start) {
        if (start > offset && start - offset < size) {
            size = start - offset;
        }
    };
    for (const RomRange& table : tables) {
        limit(table.offset);
    }
    for (std::uint32_t start : starts) {
        limit(start);
    }
    return size;
}

// One range per run of tiles that differ from the old ones.
void addChangedRuns(TileImport& plan, const std::vector<std::uint8_t>& packed,
                    const std::vector<std::uint8_t>& old, const Message& name) {
    const std::size_t tiles = packed.size() / kTileBytes;
    std::size_t t = 0;
    while (t < tiles) {
        const auto differs = [&](std::size_t k) {
            return !std::equal(packed.begin() + static_cast<std::ptrdiff_t>(k * kTileBytes),
                               packed.begin() + static_cast<std::ptrdiff_t>((k + 1) * kTileBytes),
                               old.begin() + static_cast<std::ptrdiff_t>(k * kTileBytes));
        };
        if (!differs(t)) {
            ++t;
            continue;
        }
        const std::size_t first = t;
        while (t < tiles && differs(t)) {
            ++t;
        }
        const auto from = packed.begin() + static_cast<std::ptrdiff_t>(first * kTileBytes);
        const auto to = packed.begin() + static_cast<std::ptrdiff_t>(t * kTileBytes);
        plan.inPlace.push_back({plan.oldData + static_cast<std::uint32_t>(first * kTileBytes),
                                static_cast<std::uint32_t>(to - from), name});
        plan.inPlaceBytes.emplace_back(from, to);
    }
}

Placement inPlacePlacement(const TileImport& plan, std::uint8_t fill) {
    const RomRange old{plan.oldData, plan.oldPlaceSize, place_name::kTiles};
    Placement placement{{}, plan.reliedOn, fill};
    for (const RomRange& range : plan.inPlace) {
        placement.writes.push_back({range, {old}});
    }
    return placement;
}

// The new stream copies from 1 byte back only when the old one did: then the game expands
// its tiles with a routine that can, and the shorter stream fits more often.
void planCompressed(TileImport& plan, const std::vector<std::uint8_t>& tiles, bool near,
                    const Message& name) {
    plan.data = lz77Compress(tiles, !near);
    const std::size_t length = lz77StreamLength(plan.data);
    plan.inPlace.push_back({plan.oldData, static_cast<std::uint32_t>(length), name});
    plan.inPlaceBytes.emplace_back(plan.data.begin(),
                                   plan.data.begin() + static_cast<std::ptrdiff_t>(length));
    if (plan.changed && length > plan.oldPlaceSize) {
        plan.notInPlace =
            message("import.tiles_longer", {std::to_string(length), hexOffset(plan.oldData),
                                            std::to_string(plan.oldPlaceSize)});
    }
}

// Whether the in-place writes pass the placement check; its refusal becomes notInPlace.
void judgeInPlace(TRom& rom, TileImport& plan) {
    if (plan.notInPlace || !plan.changed) {
        return;
    }
    try {
        requirePlacement(rom, inPlacePlacement(plan, kFreeFill));
    } catch (const RomIoError&) {
        throw;
    } catch (const Error& e) {
        plan.notInPlace = e.message();
    }
}

}  // namespace

TileImport planTileImport(TRom& rom, const GameProfile& profile, const TilesetPair& tilesets,
                          const CurrentMap& map, int part, const IndexedPicture& picture) {
    if (!tilesets.tilesetNumber(1) || !tilesets.tilesetNumber(2)) {
        throw Error(message("block.no_tilesets"));
    }
    const TGFX& gfx = tilesets.gfx(part);
    const std::vector<std::uint8_t> packed = packTiles(picture, gfx.tileCount(), part);
    TileImport plan;
    plan.part = part;
    plan.number = tilesets.tilesetNumber(part).value_or(0);
    plan.header = tilesetHeaderOffset(map, part);
    const auto header = readTilesetHeader(rom, plan.header);
    plan.compressed = header[0] == 1;
    plan.oldData = pointerTarget(readLe32(header.data() + 4));
    plan.reliedOn = tilesetTables(rom, tilesets, map);
    const Message name = tilesetOwnedName(place_name::kTiles, plan.number);
    OldTiles old = readOldTiles(rom, plan.oldData, plan.compressed, gfx.pictureBytes());
    std::vector<std::uint8_t> tiles = old.tiles;
    tiles.resize(std::max(tiles.size(), usedSize(packed, old.tiles.size())), 0);
    std::copy_n(packed.begin(), std::min(packed.size(), tiles.size()), tiles.begin());
    plan.changed = tiles != old.tiles;
    if (plan.compressed) {
        plan.oldPlaceSize = old.placeSize;
        planCompressed(plan, tiles, old.nearReferences, name);
    } else {
        plan.oldPlaceSize =
            rawPlaceSize(plan.oldData, old.placeSize, plan.reliedOn, tableDataStarts(rom, profile));
        addChangedRuns(plan, packed, old.tiles, name);
        plan.data = std::move(tiles);
    }
    judgeInPlace(rom, plan);
    return plan;
}

void checkTilePlace(TRom& rom, const TileImport& plan, std::uint32_t offset, std::uint8_t fill) {
    const auto size = static_cast<std::uint32_t>(plan.data.size());
    requireAligned(rom, offset, size, 4);
    const Message name = tilesetOwnedName(place_name::kTiles, plan.number);
    const RomRange old{plan.oldData, plan.oldPlaceSize, name};
    const RomRange data{offset, size, name};
    const RomRange pointer{plan.header + 4, 4,
                           tilesetOwnedName(place_name::kTilesetHeader, plan.number)};
    requirePlacement(rom, {{{data, {old}}, {pointer, {pointer}}}, plan.reliedOn, fill});
}

void importTiles(TRom& rom, const TileImport& plan, std::optional<std::uint32_t> at,
                 std::uint8_t fill, const std::string& mapId) {
    if (!at) {
        if (plan.notInPlace) {
            throw Error(*plan.notInPlace);
        }
        requirePlacement(rom, inPlacePlacement(plan, fill));
    } else {
        checkTilePlace(rom, plan, *at, fill);
    }
    if (!plan.changed) {
        return;
    }
    TRom::Transaction tx(rom, message("history.name.tiles", {std::to_string(plan.number)}), mapId);
    if (!at) {
        for (std::size_t i = 0; i < plan.inPlace.size(); ++i) {
            rom.WriteBlock(plan.inPlaceBytes[i], static_cast<std::int32_t>(plan.inPlace[i].offset));
        }
    } else {
        rom.WriteBlock(plan.data, static_cast<std::int32_t>(*at));
        std::array<std::uint8_t, 4> pointer{};
        writePointerField(pointer.data(), *at);
        rom.WriteBlock(pointer, static_cast<std::int32_t>(plan.header + 4));
    }
    tx.commit();
    rom.Close();
}

}  // namespace quillon::blocks
