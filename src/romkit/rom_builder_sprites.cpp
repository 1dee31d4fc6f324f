#include "romkit/rom_builder_parts.h"

namespace quillon::romkit::detail {

namespace {

constexpr std::size_t kSpriteRecordSize = 36;
constexpr std::size_t kFrameEntrySize = 8;  // pointer to the pixels, their size in bytes
constexpr std::size_t kPaletteEntrySize = 8;
constexpr std::size_t kSpecialEntries = 26;
constexpr std::size_t kSpecialEntrySize = 8;
constexpr std::uint32_t kUnusedSpecialTag = 0xFFFF;
constexpr int kTagSets = 4;  // the game keeps four slot lists; the first is the one in use

std::vector<std::uint8_t> colourBytes(const std::array<std::uint16_t, 16>& colours) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t colour : colours) {
        bytes.push_back(static_cast<std::uint8_t>(colour));
        bytes.push_back(static_cast<std::uint8_t>(colour >> 8));
    }
    return bytes;
}

// Record: +0 tile tag (none), +2 palette tag, +4 reflection palette tag (none), +6 bytes of
// one frame, +8 width, +10 height, +12 palette slot in bits 0-3, +16 to +24 drawing tables the
// game needs and the editor does not (null), +28 frame table, +32 affine animations (null).
std::uint32_t layRecord(RomImage& image, const SpriteSpec& sprite, std::uint32_t frames,
                        std::size_t pixelBytes) {
    const std::uint32_t record = image.reserve(kSpriteRecordSize);
    for (std::uint32_t i = 0; i < kSpriteRecordSize; i += 4) {
        image.put32(record + i, 0);
    }
    image.put16(record, 0xFFFF);
    image.put16(record + 2, sprite.paletteTag);
    image.put16(record + 4, 0xFFFF);
    image.put16(record + 6, static_cast<std::uint16_t>(pixelBytes));
    image.put16(record + 8, sprite.width);
    image.put16(record + 10, sprite.height);
    image.put8(record + 12, sprite.slot & 0x0F);
    image.putPointer(record + 28, frames);
    return record;
}

void layPictures(RomImage& image, const std::vector<SpriteSpec>& sprites, BuiltRom& rom) {
    if (sprites.empty()) {
        return;
    }
    for (const SpriteSpec& sprite : sprites) {
        std::vector<std::uint8_t> pixels = sprite.pixels;
        pixels.resize(std::size_t{sprite.width / 8u} * (sprite.height / 8u) * 32, 0);
        const std::uint32_t data = image.place(pixels);
        const std::uint32_t frames = image.reserve(kFrameEntrySize);
        image.putPointer(frames, data);
        image.put32(frames + 4, static_cast<std::uint32_t>(pixels.size()));
        rom.spritePixels.push_back(data);
        rom.spriteRecords.push_back(layRecord(image, sprite, frames, pixels.size()));
    }
    rom.spriteHeader = image.reserve(4 * sprites.size());
    for (std::size_t n = 0; n < sprites.size(); ++n) {
        image.putPointer(static_cast<std::uint32_t>(rom.spriteHeader + 4 * n),
                         rom.spriteRecords[n]);
    }
}

// The colours of every entry, then the table of {pointer, 32-bit tag} closed by a null entry.
void layPalettes(RomImage& image, const SpriteTables& tables, BuiltRom& rom) {
    if (tables.palettes.empty()) {
        return;
    }
    std::vector<std::uint32_t> colours;
    for (const auto& [tag, palette] : tables.palettes) {
        colours.push_back(image.place(colourBytes(palette)));
    }
    const std::size_t count = tables.palettes.size();
    rom.spritePalettes = image.reserve((count + 1) * kPaletteEntrySize);
    for (std::size_t i = 0; i <= count; ++i) {
        const auto entry = static_cast<std::uint32_t>(rom.spritePalettes + i * kPaletteEntrySize);
        image.putPointer(entry, i < count ? colours[i] : 0);
        image.put32(entry + 4, i < count ? tables.palettes[i].first : 0);
    }
    rom.spritePaletteCount = static_cast<int>(count);
}

// Ten 16-bit tags, then the list of tag lists the profile names (its first entry is read).
void laySlotTags(RomImage& image, const SpriteTables& tables, BuiltRom& rom) {
    if (!tables.slotTags) {
        return;
    }
    std::vector<std::uint8_t> tags;
    for (std::uint16_t tag : *tables.slotTags) {
        tags.push_back(static_cast<std::uint8_t>(tag));
        tags.push_back(static_cast<std::uint8_t>(tag >> 8));
    }
    const std::uint32_t list = image.place(tags);
    rom.spritePalHeader = image.reserve(4 * kTagSets);
    for (std::uint32_t i = 0; i < kTagSets; ++i) {
        image.putPointer(rom.spritePalHeader + 4 * i, list);
    }
}

// 26 entries {32-bit tag, pointer to the 16-bit tag of the palette}; unused ones tag 0xFFFF.
void laySpecials(RomImage& image, const SpriteTables& tables, BuiltRom& rom) {
    if (tables.specials.empty()) {
        return;
    }
    std::vector<std::uint32_t> targets;
    for (const auto& [tag, paletteTag] : tables.specials) {
        targets.push_back(image.reserve(4));
        image.put32(targets.back(), paletteTag);
    }
    rom.spezialPalHeader = image.reserve(kSpecialEntries * kSpecialEntrySize);
    for (std::size_t i = 0; i < kSpecialEntries; ++i) {
        const auto entry = static_cast<std::uint32_t>(rom.spezialPalHeader + i * kSpecialEntrySize);
        const bool used = i < targets.size();
        image.put32(entry, used ? tables.specials[i].first : kUnusedSpecialTag);
        image.putPointer(entry + 4, used ? targets[i] : 0);
    }
}

}  // namespace

void laySprites(RomImage& image, const SpriteTables& tables, BuiltRom& rom) {
    layPictures(image, tables.sprites, rom);
    layPalettes(image, tables, rom);
    laySlotTags(image, tables, rom);
    laySpecials(image, tables, rom);
}

}  // namespace quillon::romkit::detail
