#include "core/map/map_list.h"

#include <algorithm>

#include "core/base/numbers.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/map/map_header.h"
#include "core/rom/rom_pointer.h"
#include "core/rom/trom.h"

namespace quillon {

namespace {

constexpr int kMaxBanks = 101;
constexpr int kMaxMaps = 201;
const std::string kMissingName = "???";

bool isPointer(const std::vector<std::uint8_t>& table, std::size_t entry) {
    return entry * 4 + 4 <= table.size() && isRomPointer(readLe32(&table[entry * 4]));
}

std::uint32_t entryOffset(const std::vector<std::uint8_t>& table, std::size_t entry) {
    return readPointerField(&table[entry * 4]);
}

std::vector<std::uint8_t> readEntries(TRom& rom, std::uint64_t fileSize, std::uint32_t offset,
                                      std::size_t entries) {
    if (offset >= fileSize) {
        return {};
    }
    auto count = static_cast<std::size_t>(std::min<std::uint64_t>(entries * 4, fileSize - offset));
    return rom.ReadBlock(static_cast<std::int32_t>(offset), count & ~std::size_t{3});
}

std::uint32_t wordAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return readLe32(&bytes[at]);
}

// Whether a map table entry leads to a map header: a whole header inside the file whose first
// word points to a footer (width, height, border pointer, grid pointer) inside the file. The
// bank table itself, which often follows the last map table, points to map tables instead:
// their first word is a pointer where a footer has its width.
bool leadsToMapHeader(TRom& rom, std::uint64_t fileSize, std::uint32_t entry) {
    const auto header = decodeRomPointer(entry);
    if (!header || std::uint64_t{*header} + MapHeader::kSize > fileSize) {
        return false;
    }
    const auto footer = decodeRomPointer(readLe32(rom.ReadBlock(static_cast<std::int32_t>(*header), 4).data()));
    if (!footer || std::uint64_t{*footer} + 16 > fileSize) {
        return false;
    }
    const auto words = rom.ReadBlock(static_cast<std::int32_t>(*footer), 16);
    return !isRomPointer(wordAt(words, 0)) && !isRomPointer(wordAt(words, 4)) &&
           isRomPointer(wordAt(words, 8)) && isRomPointer(wordAt(words, 12));
}

// The last bank's map table has no next table to end it: it ends before the first entry that
// does not lead to a map header.
std::size_t lastBankLength(TRom& rom, std::uint64_t fileSize, std::uint32_t table) {
    const auto entries = readEntries(rom, fileSize, table, kMaxMaps);
    std::size_t m = 0;
    while (m * 4 + 4 <= entries.size() && leadsToMapHeader(rom, fileSize, wordAt(entries, m * 4))) {
        ++m;
    }
    return m;
}

std::string hex6(std::uint32_t v) {
    std::string text = "$";
    return text += IntToHex(v, 6);
}

}  // namespace

int BankScan::bankCount() const {
    if (unlistedBank >= 0) {
        return unlistedBank + 1;
    }
    auto count = banks.size();
    while (count > 0 && banks[count - 1].empty()) {
        --count;  // the empty bank that closes the table
    }
    return static_cast<int>(count);
}

int BankScan::mapCount() const {
    int n = 0;
    for (const auto& b : banks) {
        n += static_cast<int>(b.size());
    }
    return n;
}

BankScan scanBanks(TRom& rom, std::uint32_t bankTable, const std::vector<std::string>& names,
                   bool listLastBank) {
    BankScan scan;
    if (bankTable == 0) {
        scan.warnings.push_back(message("scan.no_bank_table"));
        return scan;
    }
    const std::uint64_t fileSize = rom.size();
    auto banks = readEntries(rom, fileSize, bankTable, kMaxBanks + 1);
    if (banks.size() < 4) {
        scan.warnings.push_back(message("scan.banks_past_end", {hex6(bankTable)}));
        return scan;
    }
    bool badName = false;
    std::uint32_t bound = 0;
    for (std::size_t b = 0; b < kMaxBanks; ++b) {
        if (b * 4 + 4 > banks.size()) {
            break;
        }
        const std::uint32_t table = entryOffset(banks, b);
        const bool last = !isPointer(banks, b + 1);
        if (last && (b + 2) * 4 > banks.size()) {
            // The file ends inside the table: where this bank's maps end is not known.
            scan.warnings.push_back(
                message("scan.banks_cut", {hex6(bankTable), std::to_string(b)}));
        }
        if (!last) {
            bound = entryOffset(banks, b + 1);
        }
        std::vector<BankMap> maps;
        std::size_t candidates = bound > table ? (bound - table + 3) / 4 : 0;
        candidates = std::min<std::size_t>(candidates, kMaxMaps);
        if (table >= fileSize) {
            scan.warnings.push_back(
                message("scan.map_table_past_end", {std::to_string(b), hex6(table)}));
            candidates = 0;
        }
        if (last && table < fileSize && isPointer(readEntries(rom, fileSize, table, 1), 0)) {
            if (listLastBank) {
                candidates = lastBankLength(rom, fileSize, table);
            } else {
                scan.unlistedBank = static_cast<int>(b);
            }
        }
        auto entries = readEntries(rom, fileSize, table, candidates);
        for (std::size_t m = 0; m < candidates && isPointer(entries, m); ++m) {
            BankMap bm{static_cast<int>(b), static_cast<int>(m), entryOffset(entries, m), {}};
            if (bm.headerOffset + MapHeader::kSize > fileSize) {
                scan.warnings.push_back(message(
                    "scan.header_past_end",
                    {std::to_string(b) + "." + std::to_string(m), hex6(bm.headerOffset)}));
                bm.name = kMissingName;
            } else {
                std::uint8_t k = rom.ReadByte(static_cast<std::int32_t>(bm.headerOffset + 20));
                if (k < names.size()) {
                    bm.name = names[k];
                } else {
                    bm.name = kMissingName;
                    badName = true;
                }
            }
            maps.push_back(std::move(bm));
        }
        scan.banks.push_back(std::move(maps));
        if (last) {
            break;
        }
    }
    if (badName) {
        scan.warnings.push_back(message("scan.names_missing"));
    }
    return scan;
}

void requireListedMap(const BankScan& scan, int bank, int map) {
    if (scan.unusable) {
        throw DataError(*scan.unusable);
    }
    const int banks = scan.bankCount();
    if (bank == scan.unlistedBank) {
        throw DataError(
            message("scan.bank_unlisted", {std::to_string(bank), std::to_string(banks)}));
    }
    if (bank < 0 || bank >= banks) {
        throw DataError(message("scan.no_bank", {std::to_string(bank), std::to_string(banks)}));
    }
    const int maps = static_cast<int>(scan.banks[static_cast<std::size_t>(bank)].size());
    if (map < 0 || map >= maps) {
        throw DataError(message("scan.no_map", {std::to_string(bank), std::to_string(map),
                                                std::to_string(maps)}));
    }
}

std::string mapLineText(const std::string& name, const std::string& identifier) {
    return name + " (" + identifier + ")";
}

MapListTree buildMapListTree(const BankScan& scan, const IniFile& mainFile, const IniFile& mapsFile,
                             Settings::MapListParts parts, const MapListTexts& texts) {
    MapListTree tree;
    tree.warnings = scan.warnings;
    const bool mainExists = mainFile.exists();
    const bool showHeader = parts != Settings::MapListParts::IniOnly || !mainExists;
    const bool showIni = mainExists && parts != Settings::MapListParts::HeaderOnly;
    if (showHeader) {
        MapListNode root{texts.headerRoot, {}};
        for (std::size_t b = 0; b < scan.banks.size(); ++b) {
            if (scan.banks[b].empty()) {
                continue;
            }
            MapListNode bank{std::to_string(b), {}};
            for (const auto& m : scan.banks[b]) {
                bank.children.push_back(
                    {mapLineText(m.name, std::to_string(m.bank) + "." + std::to_string(m.map)),
                     {}});
            }
            root.children.push_back(std::move(bank));
        }
        tree.headerRoot = static_cast<int>(tree.roots.size());
        tree.roots.push_back(std::move(root));
    }
    if (showIni) {
        MapListNode root{texts.iniRoot, {}};
        tree.groups = mainFile.sections();
        for (const auto& group : tree.groups) {
            MapListNode node{group, {}};
            for (int i = 0; mainFile.hasKey(group, std::to_string(i)); ++i) {
                std::string id = mainFile.readString(group, std::to_string(i), "");
                std::string name = mapsFile.readString(id, "Name", "Kein Name");
                node.children.push_back({mapLineText(name, id), {}});
            }
            root.children.push_back(std::move(node));
        }
        tree.iniRoot = static_cast<int>(tree.roots.size());
        tree.roots.push_back(std::move(root));
    }
    return tree;
}

std::optional<std::string> identifierFromLine(const std::string& line) {
    const auto open = line.rfind('(');
    const auto close = open == std::string::npos ? open : line.find(')', open);
    if (close == std::string::npos) {
        return std::nullopt;
    }
    return line.substr(open + 1, close - open - 1);
}

bool isValidTypedIdentifier(const std::string& text) {
    auto dot = text.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    auto bank = TryStrToInt(text.substr(0, dot));
    auto map = TryStrToInt(text.substr(dot + 1));
    return bank && map && *bank != -10 && *map != -10;
}

}  // namespace quillon
