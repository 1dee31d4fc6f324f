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
// Version 1 records name a transaction by its German text; version 2 adds records that name it
// by its message (id and arguments, nested). A version 2 file may hold records of both kinds
// (a version 1 file that was written on); version 1 files hold only the old kind.
namespace quillon::history_format {

constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kFrameExtra = 12;

std::uint32_t crc32(std::span<const std::uint8_t> data);

constexpr std::uint32_t kOldVersion = 1;
constexpr std::uint32_t kVersion = 2;

struct Header {
    std::uint64_t romSize = 0;
    std::uint64_t firstId = 1;
    std::uint32_t version = kVersion;
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
// The record of e in the current version (its title as a message).
std::vector<std::uint8_t> entryPayload(const HistoryEntry& e);
std::vector<std::uint8_t> markPayload(std::uint64_t id, bool done);
// nullopt for a payload that is no well-formed record. A record of version 1 gets its German
// name as a plain title; one of version 2 its message, and the message's German as name.
std::optional<Record> parse(std::span<const std::uint8_t> payload);

}  // namespace quillon::history_format
