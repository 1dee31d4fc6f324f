#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "romkit/rom_builder.h"

namespace quillon {
class Session;
}

namespace quillon::fuzz {

// The ROM the ROM targets damage: both families' worth of structures in one small
// Ruby/Sapphire/Emerald image: two raw tilesets and an LZ77 one, bank 0 with three maps and
// bank 1 with two (1.0 on another tileset pair), map names, species names, two sprites (one
// through the special palette table), events of every kind on map 0.0, a fly table,
// connections between the maps (some with their way back) and a wild table.
const romkit::BuiltRom& fuzzRom();

// Applies the patch records of data to image. A record is a 3-byte little-endian offset
// (taken modulo the image size), a length byte and that many bytes, cut short at the end of
// the data or of the image. The fuzzer's bytes thus land on the structures wherever they are.
void applyPatches(std::vector<std::uint8_t>& image, std::span<const std::uint8_t> data);

// One patch record that writes bytes at offset.
void appendPatch(std::vector<std::uint8_t>& out, std::uint32_t offset,
                 std::span<const std::uint8_t> bytes);

// A program folder (profile, character table, tileset list) for fuzzRom() under the
// temporary directory, written once per process and removed when it ends.
const std::filesystem::path& fuzzProgramFolder();

// The one session of the process, on fuzzProgramFolder(); no ROM until a target opens one.
Session& fuzzSession();

// The body of the ROM targets: fuzzRom() patched with data is opened in the one
// session of the process (opening a ROM replaces everything the previous input left), then
// every listed map is opened and draw(session) runs on it. The editor's own errors are
// expected answers to damage; anything else is a finding.
void openEveryMap(std::span<const std::uint8_t> data, void (*draw)(Session&));

}  // namespace quillon::fuzz
