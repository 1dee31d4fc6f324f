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

// The ROM the map and event targets damage: both families' worth of structures in one small
// Ruby/Sapphire/Emerald image: a raw and an LZ77 tileset, bank 0 with three maps and bank 1
// with two, map names, species names, two sprites (one through the special palette table),
// events of every kind on map 0.0 and a fly table.
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

// The body of the map and event targets: fuzzRom() patched with data is opened in the one
// session of the process (opening a ROM replaces everything the previous input left), then
// every listed map is opened and draw(session) runs on it. The editor's own errors are
// expected answers to damage; anything else is a finding.
void openEveryMap(std::span<const std::uint8_t> data, void (*draw)(Session&));

}  // namespace quillon::fuzz
