// Writing commands on a damaged ROM. The input is a command byte, a map byte, six parameter
// bytes and patch records; the records damage the built image (map headers, footers, event
// headers and tables, connection headers, the wild table), then one writing command runs on
// the chosen map. Every outcome must be one of two:
//  - refused: an Error, and the file byte for byte as it was;
//  - done: the map reads back as written, and undoing the command gives the file back exactly.
// Anything else (a crash, a refusal that wrote, a success that reads back otherwise, an undo
// that does not restore) aborts as a finding.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/rom/rom_file.h"
#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/session/session.h"
#include "core/state/map_state.h"
#include "core/writers/connection_save.h"
#include "core/writers/event_counts.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_resize.h"
#include "fuzz/fuzz_rom.h"

namespace {

using namespace quillon;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHead = 8;

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "write fuzz finding: %s\n", what);
    std::abort();
}

Bytes image(Session& s) {
    return s.rom().ReadBlock(0, static_cast<std::size_t>(s.rom().size()));
}

// An offset for data that moves: inside the ROM's free space (low bit of p0 clear), or
// anywhere in the file (the hostile user), aligned as the command needs.
std::uint32_t place(const std::uint8_t* p, std::uint32_t align) {
    const auto& rom = fuzz::fuzzRom();
    const std::uint32_t raw = p[1] | (p[2] << 8) | ((p[0] >> 1) << 16);
    const std::uint32_t size = static_cast<std::uint32_t>(rom.bytes.size());
    const std::uint32_t at = (p[0] & 1) ? raw % size : rom.freeSpace + raw % 0x4000;
    return at / align * align;
}

// What the command wrote, for reading it back.
struct Written {
    int width = 0, height = 0;
    EventCounts counts;
    int x = 0, y = 0, block = 0;
    int weather = 0;
    std::size_t connections = 0;
};

void command(Session& s, std::uint8_t which, const std::uint8_t* p, Written& w) {
    switch (which % 5) {
        case 0:
            w.width = 1 + p[3] % 40;
            w.height = 1 + p[4] % 40;
            resizeMap(s.rom(), s.romState().profile(), s.mapState(), w.width, w.height,
                      place(p, 2));
            return;
        case 1:
            w.counts = {p[3] % 6, p[4] % 6, p[5] % 6, (p[3] >> 4) % 6};
            applyEventCounts(s.rom(), s.mapState(), w.counts, place(p, 4));
            return;
        case 2:
            w.x = p[3] % s.mapState().grid().width;
            w.y = p[4] % s.mapState().grid().height;
            w.block = p[5] % 16;
            s.mapState().editor().selectBlock(w.block);
            s.mapState().editor().paint(w.x, w.y);
            saveOpenMap(s.rom(), s.mapState());
            return;
        case 3:
            w.weather = p[3];
            map_attributes::writeByte(s.rom(), s.mapState(), HeaderByte::Weather, w.weather);
            return;
        default: {
            ConnectionList list = loadConnections(s.rom(), s.mapState());
            if (list.count() > 0) {
                list.remove(1 + p[3] % list.count());
            }
            w.connections = list.count();
            saveConnections(s.rom(), s.mapState(), list, place(p, kConnectionAlignment));
        }
    }
}

// The map opened anew from the ROM must show what the command wrote.
void readBack(Session& s, std::uint8_t which, const std::string& id, const Written& w) {
    try {
        s.openMap(id, "t");
    } catch (const Error&) {
        finding("the map cannot be opened after a write that succeeded");
    }
    const bool same = [&] {
        switch (which % 5) {
            case 0:
                return s.mapState().grid().width == w.width &&
                       s.mapState().grid().height == w.height;
            case 1:
                return eventCounts(s.mapState().events()) == w.counts;
            case 2:
                return s.mapState().grid().at(w.x, w.y).block() == w.block;
            case 3:
                return s.mapState().map().header.weather() == w.weather;
            default: return loadConnections(s.rom(), s.mapState()).count() == w.connections;
        }
    }();
    if (!same) {
        finding("the map reads back otherwise than written");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHead) {
        return 0;
    }
    Bytes rom = fuzz::fuzzRom().bytes;
    fuzz::applyPatches(rom, {data + kHead, size - kHead});
    Session& s = fuzz::fuzzSession();
    const std::string id = data[1] % 3 == 2 ? "1.0" : "0." + std::to_string(data[1] % 2);
    try {
        s.openRom(std::make_unique<MemoryRomFile>(std::move(rom)), "fuzz.gba");
        s.openMap(id, "t");
    } catch (const Error&) {
        return 0;  // reading refused the damage: nothing to write through
    }
    const Bytes before = image(s);
    Written written;
    try {
        command(s, data[0], data + 2, written);
    } catch (const Error&) {
        if (image(s) != before) {
            finding("a refused command changed the file");
        }
        return 0;
    }
    readBack(s, data[0], id, written);
    if (s.rom().history().entries().empty()) {
        return 0;  // nothing to write (the same bytes again)
    }
    try {
        undoWithOpenMap(s.rom(), s.romState(), s.mapState(), s.data().tilesets(),
                        s.rom().history().entries().back().id);
    } catch (const Error&) {
        finding("undo refused after a command that succeeded");
    }
    if (image(s) != before) {
        finding("undo did not restore the file");
    }
    return 0;
}
