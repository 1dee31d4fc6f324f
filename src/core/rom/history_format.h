#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/rom/rom_history.h"

// The history file: a header (magic, version, ROM size, first id, CRC-32 of the header), then
// frames [length][CRC-32 of the payload][payload][length]. The length at the end lets the file
// be read from its end backwards. Payloads: a transaction record, or the mark that follows it
// once its bytes are in the ROM (done) or the old bytes are back (not done).
namespace quillon::history_format {

constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kFrameExtra = 12;

std::uint32_t crc32(std::span<const std::uint8_t> data);

struct Header {
    std::uint64_t romSize = 0;
    std::uint64_t firstId = 1;
};
std::vector<std::uint8_t> header(const Header& h);
std::optional<Header> readHeader(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> frame(const std::vector<std::uint8_t>& payload);
// The payload of the frame starting at pos when the frame is whole and its checksum matches.
std::optional<std::span<const std::uint8_t>> frameAt(std::span<const std::uint8_t> data,
                                                     std::size_t pos);

struct Record {
    bool isMark = false;
    HistoryEntry entry;  // a transaction record
    std::uint64_t id = 0;  // a mark: the transaction it ends
    bool done = false;
};
std::vector<std::uint8_t> entryPayload(const HistoryEntry& e);
std::vector<std::uint8_t> markPayload(std::uint64_t id, bool done);
// nullopt for a payload that is no well-formed record.
std::optional<Record> parse(std::span<const std::uint8_t> payload);

}  // namespace quillon::history_format
