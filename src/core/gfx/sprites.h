#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/gfx/bitmap.h"
#include "core/gfx/palette.h"

namespace quillon {

class TRom;
struct GameProfile;

// The overworld pictures of persons, read from the ROM through five tables of the game
// profile (all addresses in them are ROM pointers):
// - SpriteHeader: one pointer per picture number to a 36-byte sprite record (+2 palette tag,
//   +8 width and +10 height in pixels, +12 bits 0-3 palette slot, +28 pointer to the frame
//   table, whose first pointer locates frame 0's 4bpp tiles, row by row);
// - SpritePaletten: SpritePalettenAnz (at most 27) entries {pointer to 16 colours, 32-bit tag};
// - SpritePalHeader: a pointer to the ten 16-bit tags of palette slots 0-9;
// - SpezialPalHeader: 26 entries {32-bit tag, pointer to the 16-bit tag of the palette} for
//   the pictures of slot 10.
// Slots 10-15 start as copies of slots 0-5; slot 10 takes the palette of each slot-10 picture
// drawn and keeps it until the next one. Bad data never throws: what cannot be read stays
// black, and a picture that cannot be read is skipped. A sprite header at 0 (the profile names
// none) draws nothing.
class SpriteSet {
public:
    static constexpr int kMaxPaletteEntries = 27;
    static constexpr int kSpecialEntries = 26;

    // Builds the palette slots of the ROM (once a ROM is opened and its profile read) and
    // forgets the pictures decoded for the previous ROM. rom must outlive the set's use.
    void prepare(TRom& rom, const GameProfile& profile);

    // Draws frame 0 of picture number `picture` into target so that the 16 x 16 cell whose
    // top-left pixel is (x, y) carries it: centred over the cell, its bottom edge on the cell's,
    // clipped to target. Numbers from 240 count modulo 240; numbers above 217 draw picture 5.
    // Pixels whose colour equals colour 0 of the slot are left out. Returns false when the
    // picture is skipped: empty, over 3,072 bytes of pixels, or not readable from the ROM.
    bool DrawPersonSprite(int picture, int x, int y, Bitmap& target);

    // The sixteen palette slots as they stand (slot 10 changes with the pictures drawn).
    const TPalette& paletteSlots() const { return m_slots; }

    // A decoded picture: colour indices, the slot, and for slot 10 its special palette tag.
    struct Picture {
        bool valid = false;
        int width = 0;  // pixels
        int height = 0;
        int slot = 0;
        // Slot 10: the palette tag the special table names for the picture's tag, if any.
        std::optional<std::uint32_t> specialPalette;
        std::vector<std::uint8_t> pixels;  // one colour index per pixel, row by row
    };

private:
    const Picture& picture(int number);
    Picture decode(int number);
    bool readSpecialPalette(std::uint16_t tag, Picture& out);
    void loadPalettes(const GameProfile& profile);
    void loadSlots(const GameProfile& profile);
    void copyTaggedPalette(std::uint32_t tag, int slot);
    // True when [offset, offset + count) lies inside the file and offset is not 0.
    bool readable(std::int64_t offset, std::int64_t count) const;

    TRom* m_rom = nullptr;
    std::uint64_t m_fileSize = 0;
    std::int64_t m_spriteHeader = 0;
    std::array<std::uint8_t, kSpecialEntries * 8> m_special{};
    std::vector<std::array<std::uint32_t, 16>> m_palettes;
    std::vector<std::uint32_t> m_paletteTags;
    TPalette m_slots;
    std::vector<std::optional<Picture>> m_pictures;  // by picture number, decoded on first use
};

}  // namespace quillon
