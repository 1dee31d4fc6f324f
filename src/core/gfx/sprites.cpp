#include "core/gfx/sprites.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr int kRecordSize = 36;
constexpr int kTileBytes = 32;
constexpr int kMaxPixelBytes = 3072;
constexpr int kPictureCount = 218;  // numbers 0-217; larger ones are folded onto these
constexpr int kSlotTags = 10;

// Picture numbers from 240 wrap around; numbers past the table draw picture 5.
int pictureNumber(int n) {
    if (n >= 240) {
        n %= 240;
    }
    return n > 217 ? 5 : n;
}

// Tiles row by row, w a row; in a tile, pixel row y at byte 4y, the low nibble the left pixel.
void unpackTiles(const std::vector<std::uint8_t>& data, int w, int h, SpriteSet::Picture& out) {
    out.width = w * 8;
    out.height = h * 8;
    out.pixels.resize(static_cast<std::size_t>(out.width * out.height));
    for (int i = 0; i < w * h * kTileBytes * 2; ++i) {
        const int tile = i / 64;
        const int px = (tile % w) * 8 + i % 8;
        const int py = (tile / w) * 8 + (i % 64) / 8;
        const std::uint8_t b = data[static_cast<std::size_t>(i / 2)];
        out.pixels[static_cast<std::size_t>(py * out.width + px)] =
            static_cast<std::uint8_t>(i % 2 == 0 ? b & 0x0F : b >> 4);
    }
}

}  // namespace

bool SpriteSet::readable(std::int64_t offset, std::int64_t count) const {
    // Offset 0 is a table the profile does not name (or one that failed its check).
    return m_rom && offset > 0 && count >= 0 &&
           static_cast<std::uint64_t>(offset + count) <= m_fileSize;
}

void SpriteSet::prepare(TRom& rom, const GameProfile& profile) {
    m_rom = &rom;
    m_fileSize = rom.size();
    m_spriteHeader = profile.spriteHeader;
    m_pictures.assign(kPictureCount, std::nullopt);
    m_slots = TPalette{};
    m_special.fill(0);
    if (readable(profile.specialPalHeader, static_cast<std::int64_t>(m_special.size()))) {
        rom.ReadBlock(profile.specialPalHeader, m_special);
    }
    loadPalettes(profile);
    loadSlots(profile);
    for (int s = 10; s < 16; ++s) {
        m_slots.Colours[static_cast<std::size_t>(s)] =
            m_slots.Colours[static_cast<std::size_t>(s - 10)];
    }
}

void SpriteSet::loadPalettes(const GameProfile& profile) {
    const int count = std::clamp(profile.spritePaletteCount, 0, kMaxPaletteEntries);
    m_palettes.assign(static_cast<std::size_t>(count), {});
    m_paletteTags.assign(static_cast<std::size_t>(count), 0);
    if (!readable(profile.spritePalettes, std::int64_t{count} * 8)) {
        return;
    }
    const auto table =
        m_rom->ReadBlock(profile.spritePalettes, static_cast<std::size_t>(count) * 8);
    for (std::size_t e = 0; e < static_cast<std::size_t>(count); ++e) {
        m_paletteTags[e] = readLe32(&table[e * 8 + 4]);
        const std::int64_t colours = readPointerField(&table[e * 8]);
        if (!readable(colours, kTileBytes)) {
            continue;  // a palette the table cannot reach stays black
        }
        std::uint8_t words[32];
        m_rom->ReadBlock(static_cast<std::int32_t>(colours), words);
        for (std::size_t i = 0; i < 16; ++i) {
            m_palettes[e][i] = GbaColourToRgb(readLe16(words + 2 * i));
        }
    }
}

void SpriteSet::loadSlots(const GameProfile& profile) {
    if (!readable(profile.spritePalHeader, 4)) {
        return;
    }
    const std::int64_t list = m_rom->ReadPointer(profile.spritePalHeader);
    if (!readable(list, 2 * kSlotTags)) {
        return;
    }
    std::uint8_t tags[2 * kSlotTags];
    m_rom->ReadBlock(static_cast<std::int32_t>(list), tags);
    for (int s = 0; s < kSlotTags; ++s) {
        copyTaggedPalette(readLe16(tags + 2 * s), s);
    }
}

void SpriteSet::copyTaggedPalette(std::uint32_t tag, int slot) {
    // Every entry with the tag copies its colours: the last one wins.
    for (std::size_t e = 0; e < m_palettes.size(); ++e) {
        if (m_paletteTags[e] == tag) {
            m_slots.Colours[static_cast<std::size_t>(slot)] = m_palettes[e];
        }
    }
}

const SpriteSet::Picture& SpriteSet::picture(int number) {
    auto& cached = m_pictures[static_cast<std::size_t>(number)];
    if (!cached) {
        cached = decode(number);
    }
    return *cached;
}

SpriteSet::Picture SpriteSet::decode(int number) {
    Picture out;
    const std::int64_t entry = m_spriteHeader + 4 * std::int64_t{number};
    if (!readable(entry, 4)) {
        return out;
    }
    const std::int64_t recordOffset = m_rom->ReadPointer(static_cast<std::int32_t>(entry));
    if (!readable(recordOffset, kRecordSize)) {
        return out;
    }
    std::uint8_t record[kRecordSize];
    m_rom->ReadBlock(static_cast<std::int32_t>(recordOffset), record);
    const int w = readLe16(record + 8) >> 3;
    const int h = readLe16(record + 10) >> 3;
    if (w == 0 || h == 0 || w * h * kTileBytes > kMaxPixelBytes) {
        return out;
    }
    out.slot = record[12] & 0x0F;
    if (out.slot == 1) {
        out.slot = 0;
    }
    if (out.slot == 10 && !readSpecialPalette(readLe16(record + 2), out)) {
        return out;
    }
    const std::int64_t frames = readPointerField(record + 28);
    if (!readable(frames, 4)) {
        return out;
    }
    const std::int64_t pixels = m_rom->ReadPointer(static_cast<std::int32_t>(frames));
    const int bytes = w * h * kTileBytes;
    if (!readable(pixels, bytes)) {
        return out;
    }
    const auto data =
        m_rom->ReadBlock(static_cast<std::int32_t>(pixels), static_cast<std::size_t>(bytes));
    unpackTiles(data, w, h, out);
    out.valid = true;
    return out;
}

// The first of the 26 special entries whose tag is the picture's tag and whose pointer is a ROM
// pointer names the palette tag. False when that tag cannot be read; no entry is no palette.
bool SpriteSet::readSpecialPalette(std::uint16_t tag, Picture& out) {
    for (int e = 0; e < kSpecialEntries; ++e) {
        const std::uint8_t* entry = m_special.data() + 8 * e;
        if (readLe32(entry) != tag || !isRomPointer(readLe32(entry + 4))) {
            continue;
        }
        const std::int64_t at = readPointerField(entry + 4);
        if (!readable(at, 2)) {
            return false;
        }
        out.specialPalette = m_rom->ReadU16(static_cast<std::int32_t>(at));
        return true;
    }
    return true;
}

bool SpriteSet::DrawPersonSprite(int number, int x, int y, Bitmap& target) {
    // A sprite header at 0 (the cartridge's entry point) means the profile names none.
    if (!m_rom || m_spriteHeader == 0 || number < 0) {
        return false;
    }
    const Picture& p = picture(pictureNumber(number));
    if (!p.valid) {
        return false;
    }
    if (p.specialPalette) {
        copyTaggedPalette(*p.specialPalette, 10);
    }
    const int w = p.width / 8;
    const int h = p.height / 8;
    const int left = x - ((w - 2) / 2) * 8;
    const int top = y + (2 - h) * 8;
    const auto& colours = m_slots.Colours[static_cast<std::size_t>(p.slot)];
    const PixelRect r = clipRect({left, top, p.width, p.height}, target.width(), target.height());
    for (int j = r.y; j < r.y + r.height; ++j) {
        const std::uint8_t* src = p.pixels.data() + static_cast<std::size_t>((j - top) * p.width);
        std::uint32_t* dest = target.row(j);
        for (int i = r.x; i < r.x + r.width; ++i) {
            const std::uint32_t c = colours[src[i - left]];
            // Transparent by colour value: any index whose colour equals colour 0.
            if (c != colours[0]) {
                dest[i] = c;
            }
        }
    }
    return true;
}

}  // namespace quillon
