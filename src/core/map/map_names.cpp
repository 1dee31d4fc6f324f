#include "core/map/map_names.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/config/game_profile.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"
#include "core/text/char_table.h"

namespace quillon {

namespace {

// Longest name the editor decodes; a pointer into unterminated data stops here.
constexpr std::size_t kMaxNameBytes = 1024;
constexpr std::size_t kChunk = 64;

// Reads what the file holds of [offset, offset + count): fewer bytes at its end.
std::vector<std::uint8_t> readClamped(TRom& rom, std::uint64_t fileSize, std::uint32_t offset,
                                      std::size_t count) {
    if (offset >= fileSize) {
        return {};
    }
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, fileSize - offset));
    return rom.ReadBlock(static_cast<std::int32_t>(offset), n);
}

std::string readGameText(TRom& rom, std::uint64_t fileSize, std::uint32_t offset,
                         const CharTable& chars) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < kMaxNameBytes) {
        auto chunk = readClamped(rom, fileSize, offset + static_cast<std::uint32_t>(bytes.size()),
                                 kChunk);
        if (chunk.empty()) {
            break;
        }
        auto end = std::find(chunk.begin(), chunk.end(), 0xFF);
        bytes.insert(bytes.end(), chunk.begin(), end);
        if (end != chunk.end()) {
            break;
        }
    }
    return chars.decode(bytes);
}

}  // namespace

std::vector<std::string> readMapNames(TRom& rom, const GameProfile& profile,
                                      const CharTable& chars, std::vector<Message>& warnings) {
    int count = profile.mapNameCount + 1;
    std::vector<std::string> names(static_cast<std::size_t>(std::max(count, 0)));
    if (profile.mapNamesHeader == 0 || count <= 0) {
        return names;
    }
    const std::size_t stride = rom.isFrlg() ? 4 : 8;
    const std::size_t field = rom.isFrlg() ? 0 : 4;
    const std::uint64_t fileSize = rom.size();
    auto table = readClamped(rom, fileSize, static_cast<std::uint32_t>(profile.mapNamesHeader),
                             stride * static_cast<std::size_t>(count));
    bool warned = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::size_t at = i * stride + field;
        std::uint32_t ptr = 0;
        if (at + 3 <= table.size()) {
            ptr = readPointerField(&table[at]);
        }
        if (at + 3 > table.size() || ptr >= fileSize) {
            if (!warned) {
                warnings.push_back(message("names.pointer_past_end", {std::to_string(i)}));
                warned = true;
            }
            continue;
        }
        names[i] = readGameText(rom, fileSize, ptr, chars);
    }
    return names;
}

std::vector<std::string> readPokemonNames(TRom& rom, const GameProfile& profile,
                                          const CharTable& chars) {
    constexpr int kSpecies = 411;
    const auto len = static_cast<std::size_t>(profile.nameLength);
    std::vector<std::string> names;
    names.reserve(kSpecies + 1);
    names.emplace_back("Bitte wählen");
    if (profile.pokemonNamesOffset <= 0) {
        // No table (none named, or it failed its check): the species stay unnamed.
        names.resize(kSpecies + 1);
        return names;
    }
    auto block = readClamped(rom, rom.size(), static_cast<std::uint32_t>(profile.pokemonNamesOffset),
                             len * kSpecies);
    for (std::size_t i = 0; i < kSpecies; ++i) {
        std::size_t start = i * len;
        if (start + len > block.size()) {
            names.emplace_back();
            continue;
        }
        names.push_back(chars.decode({block.data() + start, len - 1}));
    }
    return names;
}

}  // namespace quillon
