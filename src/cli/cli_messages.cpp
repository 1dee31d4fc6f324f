#include "cli/cli_messages.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <regex>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/map/map_list.h"
#include "core/session/session.h"

namespace quillon::cli {

namespace {

// Smallest file that holds a GBA cartridge header; every header holds 0x96 at 0xB2.
constexpr std::uintmax_t kHeaderSize = 0xC0;
constexpr std::streamoff kFixedByteAt = 0xB2;
constexpr unsigned char kFixedByte = 0x96;
constexpr std::uintmax_t kLargestRom = 32u << 20;

// Numbers above every bank and map, small enough for an int.
constexpr unsigned long kNoBank = 1000000;

std::string quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

std::string plural(std::size_t n, const std::string& word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// "3.12" -> bank 3, map 12; false for anything else (a map name file section).
bool parseBankMap(const std::string& id, unsigned long& bank, unsigned long& map) {
    static const std::regex kBankMap(R"(^(\d{1,6})\.(\d{1,6})$)");
    std::smatch m;
    if (!std::regex_match(id, m, kBankMap)) {
        return false;
    }
    bank = std::stoul(m[1].str());
    map = std::stoul(m[2].str());
    return true;
}

}  // namespace

void checkRomFile(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) {
        throw Error(quoted(file) + ": no such file");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw Error(quoted(file) + " is not a ROM image file (it is a folder or device)");
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (ec || !in) {
        throw Error(quoted(file) + ": the file cannot be read (no permission?)");
    }
    if (size < kHeaderSize) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has only " + plural(size, "byte") +
                    ", less than a cartridge header");
    }
    if (size > kLargestRom) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has " + plural(size, "byte") +
                    ", more than the 32 MiB a cartridge holds");
    }
    char fixed = 0;
    in.seekg(kFixedByteAt);
    in.get(fixed);
    if (static_cast<unsigned char>(fixed) != kFixedByte) {
        throw Error(quoted(file) + " is not a GBA ROM image: it has no cartridge header");
    }
}

void checkProfile(Session& session) {
    if (!session.romState().profile().found) {
        throw Error("the ROM's game (title \"" + session.rom().Title() +
                    "\") has no profile in Ini/Quillon.ini, so its maps cannot be found; "
                    "each release and language needs a profile of its own");
    }
}

void checkMapId(Session& session, const std::string& id) {
    const IniFile& names = session.data().mapsFile();
    if (names.readInteger(id, session.rom().Title(), 0) != 0) {
        return;  // the map name file gives this map's place for this game
    }
    unsigned long bank = 0;
    unsigned long map = 0;
    if (!parseBankMap(id, bank, map)) {
        if (names.sectionExists(id)) {
            throw Error("map " + id + ": the map name file gives no place for the game \"" +
                        session.rom().Title() + "\"");
        }
        throw Error("map " + id + ": not a map; give bank.map (e.g. 0.0) or a section of " +
                    "the map name file");
    }
    try {
        requireListedMap(session.romState().bankScan(), static_cast<int>(std::min(bank, kNoBank)),
                         static_cast<int>(std::min(map, kNoBank)));
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

int numberArgument(const std::string& what, const std::string& text, int min, int max) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw Error(what + ": \"" + text + "\" is not a number (decimal, or hexadecimal after $)");
    }
    if (*value < min || *value > max) {
        throw Error(what + ": " + text + " is outside " + std::to_string(min) + " to " +
                    std::to_string(max));
    }
    return *value;
}

std::uint8_t fillArgument(const std::string& text) {
    if (text == "FF" || text == "ff") {
        return 0xFF;
    }
    if (text == "00") {
        return 0x00;
    }
    throw Error("--fill: \"" + text + "\" is neither 00 nor FF");
}

void openMapForWrite(Session& session, const std::string& id) {
    checkMapId(session, id);
    try {
        if (auto notice = session.openMap(id, id)) {
            throw Error(std::move(*notice));
        }
    } catch (const Error& e) {
        throw Error("map " + id + ": " + errorText(e));
    }
}

}  // namespace quillon::cli
