#include "core/gfx/tileset_pair.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "core/base/numbers.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr int kTileSpace = 1024;

void makeSlot(Bitmap& slot) {
    if (slot.empty()) {
        slot.resize(16, 16);
        slot.fill(kBlack);
    }
}

// How error messages name a tileset: its number, and where its header lies when known.
Message describe(const TilesetRequest& request) {
    const std::string number = std::to_string(request.number);
    if (request.headerOffset == 0) {
        return message("tilesets.name", {number});
    }
    return message("tilesets.name_at", {number, "$" + IntToHex(request.headerOffset, 6)});
}

// Runs read, a transfer of one piece of a tileset (piece: a tilesets.piece.* id); a failure is
// reported with the tileset and the piece's offset ("tileset 12 (header at $2D4C54): tile data
// at $EA1D68 runs past the end of the file"), keeping its kind.
template <class Read>
void readPiece(const Message& tileset, const char* piece, std::int32_t offset, Read read) {
    const std::string at = "$" + IntToHex(static_cast<std::uint32_t>(offset), 6);
    try {
        read();
    } catch (const RomIoError& e) {
        if (e.message().id == "io.read_beyond_end") {
            throw RomIoError(message("tilesets.piece_past_end", {tileset, message(piece), at}));
        }
        throw RomIoError(
            message("tilesets.piece_failed", {tileset, message(piece), at, e.message()}));
    } catch (const DataError& e) {
        throw DataError(
            message("tilesets.piece_failed", {tileset, message(piece), at, e.message()}));
    }
}

}  // namespace

TilesetPair::TilesetPair() : m_blocks(kSlots), m_records(kSlots) { imagesChanged(); }

void TilesetPair::imagesChanged() {
    static std::atomic<std::uint64_t> versions{0};
    m_imagesVersion = ++versions;
}

void TilesetPair::reset() {
    m_parts[0].number.reset();
    m_parts[1].number.reset();
    imagesChanged();
}

int TilesetPair::partIndex(int part) {
    if (part != 1 && part != 2) {
        throw IndexError(part);
    }
    return part - 1;
}

std::optional<int> TilesetPair::tilesetNumber(int part) const {
    return m_parts[partIndex(part)].number;
}

std::int32_t TilesetPair::blockTableOffset(int part) const {
    return m_parts[partIndex(part)].blockTable;
}

const std::array<std::uint8_t, TilesetPair::kHeaderSize>& TilesetPair::header(int part) const {
    return m_parts[partIndex(part)].header;
}

bool TilesetPair::partUnchanged(int part) const { return m_parts[partIndex(part)].unchanged; }

const TGFX& TilesetPair::gfx(int part) const { return m_gfx[partIndex(part)]; }

TGFX& TilesetPair::gfx(int part) { return m_gfx[partIndex(part)]; }

const Bitmap* TilesetPair::blockImage(int slot) const {
    if (slot < 0 || slot >= kSlots || m_blocks[static_cast<std::size_t>(slot)].empty()) {
        return nullptr;
    }
    return &m_blocks[static_cast<std::size_t>(slot)];
}

bool TilesetPair::LoadTilesets(TRom& rom, TilesetRequest part1, TilesetRequest part2,
                               const IniFile& tilesetsIni, int tilesetHeight) {
    const bool frlg = rom.isFrlg();
    m_tilesetHeight = std::clamp(tilesetHeight, 0, kTileSpace / kTilesPerRow);
    // A part is known by its number and where its header lies: headers off the table's steps
    // share their number with another.
    m_parts[0].unchanged =
        m_parts[0].number == part1.number && m_parts[0].headerOffset == part1.headerOffset;
    m_parts[1].unchanged =
        m_parts[1].number == part2.number && m_parts[1].headerOffset == part2.headerOffset;
    m_parts[0].loading = describe(part1);
    m_parts[1].loading = describe(part2);
    if (m_parts[0].unchanged && m_parts[1].unchanged) {
        return false;
    }
    // Until every part and block is in place nothing counts as loaded: a failure leaves the
    // pair to be read afresh.
    reset();
    if (!m_parts[0].unchanged) {
        loadPart(rom, 1, part1.header, frlg);
    }
    if (!m_parts[1].unchanged) {
        loadPart(rom, 2, part2.header, frlg);
    }
    m_startPalette =
        std::clamp(tilesetsIni.readInteger(std::to_string(part1.number), "Start Pal", 0), 0, 15);
    m_blocksPart1 = frlg ? 640 : 512;
    const std::string code = rom.gameCode3();
    if (frlg || code == "BPE") {
        m_lastBlock = kMaxBlock;
    } else {
        // "Blocks" counts part 2's blocks; a value that would pass slot 1024 (or fall below
        // part 2's first slot) is limited so the slot table is never left.
        const int blocks = tilesetsIni.readInteger(std::to_string(part2.number), "Blocks", 512);
        m_lastBlock = m_blocksPart1 + std::clamp(blocks, 0, kMaxBlock - m_blocksPart1);
    }
    LoadTileset(rom);
    m_parts[0].number = part1.number;
    m_parts[1].number = part2.number;
    m_parts[0].headerOffset = part1.headerOffset;
    m_parts[1].headerOffset = part2.headerOffset;
    return true;
}

void TilesetPair::loadPart(TRom& rom, int part, std::span<const std::uint8_t, kHeaderSize> header,
                           bool frlg) {
    PartState& state = m_parts[partIndex(part)];
    TGFX& gfx = m_gfx[partIndex(part)];
    state.blockTable = static_cast<std::int32_t>(readPointerField(header.data() + 12));
    std::copy(header.begin(), header.end(), state.header.begin());
    const int split = frlg ? 7 : 6;
    const auto paletteOffset = static_cast<std::int32_t>(readPointerField(header.data() + 8));
    readPiece(state.loading, "tilesets.piece.palettes", paletteOffset, [&] {
        if (part == 1) {
            m_palette.LoadFromRom(rom, paletteOffset, 0, split - 1);
        } else {
            m_palette.LoadFromRom(rom, paletteOffset, split, TPalette::kPalettes - 1);
        }
    });
    gfx.HeightTiles = part == 1 ? m_tilesetHeight : kTileSpace / kTilesPerRow - m_tilesetHeight;
    const auto tileOffset = static_cast<std::int32_t>(readPointerField(header.data() + 4));
    readPiece(state.loading, "tilesets.piece.tiles", tileOffset, [&] {
        readTilePicture(rom, gfx, tileOffset);
        gfx.Compressed = header[0] == 1;
        gfx.Decompress();
    });
    gfx.DrawPicture(m_palette, 2);
}

void TilesetPair::readTilePicture(TRom& rom, TGFX& gfx, std::int32_t offset) {
    // The picture's uncompressed size is read even for a compressed stream; a stream near the
    // end of the file is legitimate, so the read stops there and the rest reads as zeros.
    const std::uint64_t fileSize = rom.size();
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= fileSize) {
        throw RomIoError(message("io.read_beyond_end"));
    }
    const std::size_t count = static_cast<std::size_t>(
        std::min<std::uint64_t>(gfx.pictureBytes(), fileSize - static_cast<std::uint64_t>(offset)));
    rom.ReadBlock(offset, std::span<std::uint8_t>(gfx.Data.data(), count));
    std::fill(gfx.Data.begin() + static_cast<std::ptrdiff_t>(count), gfx.Data.end(), 0);
}

void TilesetPair::LoadTileset(TRom& rom) {
    for (int s = m_parts[0].unchanged ? m_blocksPart1 : 0; s <= m_lastBlock; ++s) {
        makeSlot(m_blocks[static_cast<std::size_t>(s)]);
    }
    for (int i = 0; i < 2; ++i) {
        const PartState& part = m_parts[i];
        const int first = i == 0 ? 0 : m_blocksPart1;
        const int last = i == 0 ? m_blocksPart1 - 1 : m_lastBlock;
        if (!part.unchanged) {
            readPiece(part.loading, "tilesets.piece.blocks", part.blockTable,
                      [&] { LoadTilesetTeil(rom, first, last, part.blockTable); });
        } else {
            // A kept part's blocks may draw tiles and palettes of the other part: those are
            // composed again from the records read before, without reading the ROM.
            for (int s = first; s <= last; ++s) {
                const auto& record = m_records[static_cast<std::size_t>(s)];
                if (drawsFromPart(record, 1 - i, rom.isFrlg() ? 7 : 6)) {
                    composeBlock(record, m_blocks[static_cast<std::size_t>(s)]);
                }
            }
        }
    }
}

void TilesetPair::LoadTilesetTeil(TRom& rom, int first, int last, std::int32_t tableOffset) {
    const int from = std::max(first, 0);
    last = std::min(last, kMaxBlock);
    if (from > last) {
        return;
    }
    imagesChanged();
    const long long start = static_cast<long long>(tableOffset) + kRecordSize * (from - first);
    std::vector<std::uint8_t> table(static_cast<std::size_t>(last - from + 1) * kRecordSize);
    rom.ReadBlock(start > INT32_MAX ? -1 : static_cast<std::int32_t>(start), table);
    for (int s = from; s <= last; ++s) {
        Bitmap& slot = m_blocks[static_cast<std::size_t>(s)];
        makeSlot(slot);
        const std::size_t at = static_cast<std::size_t>(s - from) * kRecordSize;
        auto& record = m_records[static_cast<std::size_t>(s)];
        std::copy_n(table.data() + at, kRecordSize, record.begin());
        composeBlock(record, slot);
    }
}

bool TilesetPair::drawsFromPart(std::span<const std::uint8_t, kRecordSize> record, int index,
                                int split) const {
    for (int e = 0; e < 8; ++e) {
        const TileEntry entry{readLe16(record.data() + 2 * e)};
        const bool tileOfFirst = entry.tile() / kTilesPerRow < m_tilesetHeight;
        const bool paletteOfFirst = entry.palette() < split;
        if (tileOfFirst == (index == 0) || paletteOfFirst == (index == 0)) {
            return true;
        }
    }
    return false;
}

const std::uint8_t* TilesetPair::tileData(int n) const {
    const int row = n / kTilesPerRow;
    const int column = n % kTilesPerRow;
    const TGFX& part = row < m_tilesetHeight ? m_gfx[0] : m_gfx[1];
    const int partRow = row < m_tilesetHeight ? row : row - m_tilesetHeight;
    return part.tile(partRow * part.WidthTiles + column);
}

void TilesetPair::composeBlock(std::span<const std::uint8_t, kRecordSize> record,
                               Bitmap& out) const {
    out.resize(16, 16);
    for (int e = 0; e < 8; ++e) {
        const int quarter = e & 3;
        // Upper-layer entries (4-7) leave out colour 0 of their palette, by value.
        drawEntry(TileEntry{readLe16(record.data() + 2 * e)}, e >= 4, out, 8 * (quarter & 1),
                  8 * (quarter >> 1));
    }
}

void TilesetPair::drawEntry(TileEntry entry, bool keyed, Bitmap& out, int x, int y) const {
    const std::uint32_t* colours =
        m_palette.Colours[static_cast<std::size_t>(entry.palette())].data();
    drawTilePixels(tileData(entry.tile()), colours, entry.flipX(), entry.flipY(), keyed,
                   out.row(y) + x, out.width());
}

void TilesetPair::replaceBlock(int slot, std::span<const std::uint8_t, kRecordSize> record) {
    if (slot < 0 || slot >= kSlots) {
        throw IndexError(slot);
    }
    imagesChanged();
    std::copy(record.begin(), record.end(), m_records[static_cast<std::size_t>(slot)].begin());
    composeBlock(record, m_blocks[static_cast<std::size_t>(slot)]);
}

const Bitmap& TilesetPair::DrawTileNumber(int n, int palette) {
    if (n < 0 || n >= kTileSpace) {
        throw IndexError(n);
    }
    const int row = n / kTilesPerRow;
    const int column = n % kTilesPerRow;
    TGFX& part = row < m_tilesetHeight ? m_gfx[0] : m_gfx[1];
    part.DrawTile(column, row < m_tilesetHeight ? row : row - m_tilesetHeight, m_palette, palette);
    return part.TileImage;
}

}  // namespace quillon
