#pragma once

#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rom/byte_range.h"
#include "core/text/message.h"

namespace quillon {

class TRom;

// Free space: runs of the filler bytes 0x00 or 0xFF where data that grew can move. A run of
// filler inside game data (a picture, a sound sample, a table ending in 0xFF) is not free: the
// search therefore offers a start only behind a guard of filler bytes, never inside the tables
// it is told to leave alone, and by default begins where the game's free area begins
// (defaultFreeSpaceQuery in core/writers/free_space_rules.h).


// Filler bytes a hit needs directly before it. Data that ends in filler bytes (a picture whose
// last rows are colour 15, a table closed by FF FF) would otherwise look like the start of a
// free run and be extended by whatever is written there.
inline constexpr std::uint32_t kFreeSpaceGuard = 32;

// What to look for. Without an end the search runs up to the end of the file and stops after
// ten hits; with an end (inclusive) it lists every hit up to it.
struct FreeSpaceQuery {
    std::uint8_t value = 0xFF;          // 0x00 or 0xFF
    std::uint32_t count = 1;            // bytes the data needs, at least 1
    std::uint32_t start = 0;            // first candidate
    std::optional<std::uint32_t> end;   // last candidate, inclusive
    std::uint32_t guard = kFreeSpaceGuard;  // filler bytes required right before a hit
    std::vector<ByteRange> excluded;    // bytes that count as used whatever they hold
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

// Looks at one candidate after another from query.start. A byte is free when it equals the
// value and lies in no excluded range; a candidate p is a hit when the guard bytes before it
// and the count bytes from it are all free (so p >= guard), and the next candidate is then
// p + count + 1. Hits thus lie in the free runs of at least guard + count bytes, the first
// guard bytes after the run's start (or at query.start, when enough free bytes precede it).
// A hit may extend past the end offset, never past the end of the file; the search ends
// quietly there, keeping its hits. Throws Error for a count below 1 or a value other than 0x00
// and 0xFF; RomIoError when the file cannot be read.
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
// or the byte at offset is neither 00 nor FF (or lies past the end of the file). Bytes in the
// excluded ranges end the run.
std::optional<std::uint32_t> nextAlignedFree(TRom& rom, std::uint32_t offset,
                                             std::uint32_t count, std::uint32_t alignment,
                                             const std::vector<ByteRange>& excluded = {});

// True when the count bytes from offset all lie in the file and all equal fill (the placement
// check's test for "free"; count 0 asks only that offset lies in the file or at its end).
// Reads only those bytes. Throws RomIoError when the file cannot be read.
bool isFreeSpace(TRom& rom, std::uint32_t offset, std::uint32_t count, std::uint8_t fill);

// A maximal run of one byte value.
struct FreeRun {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// The longest run of fill bytes from offset from to the end of the file (the first of equal
// ones), found in one pass of 1 MiB reads; nullopt when no byte there equals fill.
std::optional<FreeRun> largestFreeRun(TRom& rom, std::uint8_t fill, std::uint32_t from);

// Throws Error with the text "Der Offset $XXXXXX ist nicht durch N teilbar; ..." naming the
// aligned alternative from nextAlignedFree (or saying there is none). No-op when aligned.
void requireAligned(TRom& rom, std::uint32_t offset, std::uint32_t count,
                    std::uint32_t alignment);

// The two texts of the alignment refusal, shared by the repoint dialog's offer.
Message misalignedText(std::uint32_t offset, std::uint32_t alignment,
                       std::optional<std::uint32_t> alternative, std::uint32_t count);

}  // namespace quillon
