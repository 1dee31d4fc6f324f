#pragma once

#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TRom;

// Free space: runs of the filler bytes 0x00 or 0xFF where data that grew can move.

// What to look for. Without an end the search runs up to offset 0x1000000 (16 MiB) and stops
// after ten hits; with an end (inclusive) it lists every hit up to it.
struct FreeSpaceQuery {
    std::uint8_t value = 0xFF;          // 0x00 or 0xFF
    std::uint32_t count = 1;            // bytes the data needs, at least 1
    std::uint32_t start = 0;            // first candidate
    std::optional<std::uint32_t> end;   // last candidate, inclusive
};

// How a search ended: every candidate was looked at (or the end of the file was reached),
// or the ten-hit limit of a search without end stopped it.
enum class FreeSpaceEnd { Finished, TenFound };

struct FreeSpaceResult {
    std::vector<std::uint32_t> offsets;  // ascending
    FreeSpaceEnd end = FreeSpaceEnd::Finished;
};

// The hit limit of a search without end.
inline constexpr std::size_t kFreeSpaceHitLimit = 10;
// The last candidate of a search without end.
inline constexpr std::uint32_t kFreeSpaceDefaultEnd = 0x1000000;

// Looks at one candidate after another from query.start: a candidate p whose count bytes all
// equal the value is a hit and the next candidate is p + count + 1; otherwise the next one is
// the byte behind the first that differs. A hit may extend past the end offset. The search
// ends quietly at the end of the file, keeping its hits. Throws Error for a count below 1 or
// a value other than 0x00 and 0xFF; RomIoError when the file cannot be read.
FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query);
// The same, reading the file in blocks of chunkBytes (the default reads 1 MiB at a time).
FreeSpaceResult findFreeSpace(TRom& rom, const FreeSpaceQuery& query, std::size_t chunkBytes);

// The query from the search fields as typed: byte "00" or "FF"; count decimal; offsets "$"
// hexadecimal or decimal; to empty for a search without end. Throws ConversionError for text
// that is not a number and Error for a count below 1, a negative offset or another byte.
FreeSpaceQuery freeSpaceQuery(std::string_view byte, std::string_view count,
                              std::string_view from, std::optional<std::string_view> to);

// The first offset >= offset that is a multiple of alignment and starts count bytes that all
// equal the byte at offset (00 or FF) within the same run; nullopt when the run is too short
// or the byte at offset is neither 00 nor FF (or lies past the end of the file).
std::optional<std::uint32_t> nextAlignedFree(TRom& rom, std::uint32_t offset,
                                             std::uint32_t count, std::uint32_t alignment);

// Throws Error with the text "Der Offset $XXXXXX ist nicht durch N teilbar; ..." naming the
// aligned alternative from nextAlignedFree (or saying there is none). No-op when aligned.
void requireAligned(TRom& rom, std::uint32_t offset, std::uint32_t count,
                    std::uint32_t alignment);

// The two texts of the alignment refusal, shared by the repoint dialog's offer.
std::string misalignedText(std::uint32_t offset, std::uint32_t alignment,
                           std::optional<std::uint32_t> alternative, std::uint32_t count);

}  // namespace quillon
