#include "core/connections/way_back.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/map/map_list.h"
#include "core/rom/trom.h"

namespace quillon {

bool leadsSomewhere(const Connection& c) { return c.direction >= 1 && c.direction <= 6; }

Connection counterpartOf(const Connection& c, int bank, int map) {
    Connection back;
    back.direction = oppositeDirection(c.direction);
    back.offset = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(c.offset));
    back.bank = static_cast<std::uint8_t>(bank);
    back.map = static_cast<std::uint8_t>(map);
    return back;
}

bool hasWayBack(const Connection& c, int bank, int map,
                const std::vector<Connection>& neighbourRecords) {
    const Connection back = counterpartOf(c, bank, map);
    return std::any_of(neighbourRecords.begin(), neighbourRecords.end(), [&](const Connection& n) {
        return n.direction == back.direction && n.offset == back.offset && n.bank == back.bank &&
               n.map == back.map;
    });
}

std::optional<std::uint32_t> listedHeader(const BankScan& scan, int bank, int map) {
    if (bank < 0 || map < 0 || static_cast<std::size_t>(bank) >= scan.banks.size()) {
        return std::nullopt;
    }
    const auto& maps = scan.banks[static_cast<std::size_t>(bank)];
    if (static_cast<std::size_t>(map) >= maps.size()) {
        return std::nullopt;
    }
    return maps[static_cast<std::size_t>(map)].headerOffset;
}

ConnectionTable readConnectionsAt(TRom& rom, std::uint32_t headerOffset) {
    if (std::uint64_t{headerOffset} + MapHeader::kSize > rom.size()) {
        throw DataError(message("edit.header_past_end", {hexOffset(headerOffset)}));
    }
    const auto bytes = rom.ReadBlock(static_cast<std::int32_t>(headerOffset), MapHeader::kSize);
    return readConnections(rom, MapHeader::decode(bytes));
}

WayBack wayBackOf(TRom& rom, const BankScan& scan, int bank, int map, const Connection& c) {
    if (!leadsSomewhere(c)) {
        return WayBack::NotNeeded;
    }
    const auto header = listedHeader(scan, c.bank, c.map);
    if (!header) {
        return WayBack::NoNeighbour;
    }
    try {
        const ConnectionTable table = readConnectionsAt(rom, *header);
        return hasWayBack(c, bank, map, table.records) ? WayBack::Present : WayBack::Absent;
    } catch (const Error&) {
        return WayBack::Unreadable;
    }
}

namespace {

struct ReadTable {
    std::vector<Connection> records;
    std::optional<Message> error;
};
using AllTables = std::vector<std::vector<ReadTable>>;

// Every listed map's connections, by bank and map, each read once.
AllTables readAllTables(TRom& rom, const BankScan& scan) {
    AllTables tables(scan.banks.size());
    for (std::size_t b = 0; b < scan.banks.size(); ++b) {
        for (const BankMap& m : scan.banks[b]) {
            ReadTable& t = tables[b].emplace_back();
            try {
                t.records = readConnectionsAt(rom, m.headerOffset).records;
            } catch (const Error& e) {
                t.error = e.message();
            }
        }
    }
    return tables;
}

}  // namespace

std::vector<MissingWayBack> checkAllConnections(TRom& rom, const BankScan& scan) {
    const AllTables tables = readAllTables(rom, scan);
    std::vector<MissingWayBack> missing;
    for (std::size_t b = 0; b < tables.size(); ++b) {
        for (std::size_t m = 0; m < tables[b].size(); ++m) {
            const int bank = static_cast<int>(b), map = static_cast<int>(m);
            const ReadTable& own = tables[b][m];
            if (own.error) {
                missing.push_back({bank, map, std::nullopt, WayBack::Unreadable, *own.error});
                continue;
            }
            for (const Connection& c : own.records) {
                if (!leadsSomewhere(c)) {
                    continue;
                }
                WayBack why = WayBack::Absent;
                if (static_cast<std::size_t>(c.bank) >= tables.size() ||
                    static_cast<std::size_t>(c.map) >= tables[c.bank].size()) {
                    why = WayBack::NoNeighbour;
                } else if (tables[c.bank][c.map].error) {
                    why = WayBack::Unreadable;
                } else if (hasWayBack(c, bank, map, tables[c.bank][c.map].records)) {
                    continue;
                }
                missing.push_back({bank, map, c, why, {}});
            }
        }
    }
    return missing;
}

}  // namespace quillon
