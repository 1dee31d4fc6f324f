#include <array>
#include <stdexcept>
#include <string>

#include "romkit/rom_builder_parts.h"

namespace quillon::romkit {

namespace {

template <std::size_t N>
void put16(std::array<std::uint8_t, N>& record, std::size_t at, std::uint16_t value) {
    record[at] = static_cast<std::uint8_t>(value);
    record[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

template <std::size_t N>
void put32(std::array<std::uint8_t, N>& record, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        record[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Every event record starts with its cell: X and Y, 16 bits each (persons at +4).
template <std::size_t N>
std::array<std::uint8_t, N> placed(std::size_t at, std::uint16_t x, std::uint16_t y) {
    std::array<std::uint8_t, N> record{};
    put16(record, at, x);
    put16(record, at + 2, y);
    return record;
}

}  // namespace

std::array<std::uint8_t, 24> personRecord(std::uint8_t number, std::uint8_t picture,
                                          std::uint16_t x, std::uint16_t y,
                                          std::uint8_t movementType, std::uint8_t movement,
                                          std::uint8_t trainer, std::uint16_t sight,
                                          std::uint32_t script) {
    auto record = placed<24>(4, x, y);
    record[0] = number;
    record[1] = picture;
    record[9] = movementType;
    record[10] = movement;
    record[12] = trainer;
    put16(record, 14, sight);
    put32(record, 16, romPointer(script));
    return record;
}

std::array<std::uint8_t, 8> warpRecord(std::uint16_t x, std::uint16_t y, std::uint8_t targetWarp,
                                       std::uint8_t targetMap, std::uint8_t targetBank) {
    auto record = placed<8>(0, x, y);
    record[5] = targetWarp;
    record[6] = targetMap;
    record[7] = targetBank;
    return record;
}

std::array<std::uint8_t, 16> scriptRecord(std::uint16_t x, std::uint16_t y, std::uint32_t script) {
    auto record = placed<16>(0, x, y);
    put32(record, 12, romPointer(script));
    return record;
}

std::array<std::uint8_t, 12> signpostRecord(std::uint16_t x, std::uint16_t y, std::uint8_t type,
                                            std::uint32_t script) {
    auto record = placed<12>(0, x, y);
    record[5] = type;
    put32(record, 8, romPointer(script));
    return record;
}

namespace detail {

namespace {

constexpr std::size_t kEventHeaderSize = 20;
constexpr std::size_t kMaxEvents = 255;  // the event header counts them in one byte
constexpr int kFlyRecordSize = 8;
constexpr int kUnterminatedFlyRecords = 300;
constexpr std::uint8_t kUnterminatedBankMap = 0xEE;

// The records of one table back to back; returns where they start (where they would start
// when there are none) and sets offset to it, or to 0 when there are none.
template <std::size_t N>
std::uint32_t layTable(RomImage& image, const std::vector<std::array<std::uint8_t, N>>& records,
                       std::uint32_t& offset) {
    if (records.size() > kMaxEvents) {
        throw std::invalid_argument("a map holds at most 255 events of a kind, not " +
                                    std::to_string(records.size()));
    }
    const std::uint32_t start = image.reserve(records.size() * N);
    for (std::size_t i = 0; i < records.size(); ++i) {
        image.putBytes(static_cast<std::uint32_t>(start + i * N), records[i]);
    }
    offset = records.empty() ? 0 : start;
    return start;
}

}  // namespace

void layEvents(RomImage& image, const MapSpec& wanted, BuiltMap& built) {
    const bool anyRecords = !wanted.persons.empty() || !wanted.warps.empty() || !wanted.scripts.empty() ||
                            !wanted.signposts.empty();
    if (wanted.noEventHeader) {
        if (anyRecords) {
            throw std::invalid_argument("map without an event header cannot hold events");
        }
        return;
    }
    // The layout the editor itself writes when it changes the counts: an empty table's pointer
    // names the spot where the next table (or the header) starts.
    const std::array<std::uint32_t, 4> tables{layTable(image, wanted.persons, built.persons),
                                              layTable(image, wanted.warps, built.warps),
                                              layTable(image, wanted.scripts, built.scripts),
                                              layTable(image, wanted.signposts, built.signposts)};
    built.events = image.reserve(kEventHeaderSize);
    image.put8(built.events, static_cast<std::uint8_t>(wanted.persons.size()));
    image.put8(built.events + 1, static_cast<std::uint8_t>(wanted.warps.size()));
    image.put8(built.events + 2, static_cast<std::uint8_t>(wanted.scripts.size()));
    image.put8(built.events + 3, static_cast<std::uint8_t>(wanted.signposts.size()));
    for (std::uint32_t i = 0; i < 4; ++i) {
        image.putPointer(built.events + 4 + 4 * i, tables[i]);
    }
}

std::uint32_t layFlyTable(RomImage& image, const std::vector<std::array<std::uint8_t, 8>>& records,
                          bool unterminated) {
    if (records.empty() && !unterminated) {
        return 0;
    }
    const std::size_t tail = unterminated ? kUnterminatedFlyRecords : 1;
    const std::uint32_t table = image.reserve((records.size() + tail) * kFlyRecordSize);
    std::uint32_t at = table;
    for (const auto& record : records) {
        image.putBytes(at, record);
        at += kFlyRecordSize;
    }
    if (!unterminated) {
        // Whatever follows the table in a game; here a record of 0xFF bytes, word 6 included.
        image.putBytes(at, std::array<std::uint8_t, kFlyRecordSize>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                                    0xFF, 0xFF, 0xFF});
        return table;
    }
    for (int i = 0; i < kUnterminatedFlyRecords; ++i, at += kFlyRecordSize) {
        image.putBytes(at, std::array<std::uint8_t, kFlyRecordSize>{
                               kUnterminatedBankMap, kUnterminatedBankMap, 0, 0, 0, 0, 0, 0});
    }
    return table;
}

}  // namespace detail

}  // namespace quillon::romkit
