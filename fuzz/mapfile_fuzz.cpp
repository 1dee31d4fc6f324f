// Map files and event files as a user may hand them over: the fuzzer's bytes are a map file
// and an event file, written beside each other and read as "Map Öffnen" reads them; a map
// that reads is opened with the fuzz ROM's tilesets and drawn with its events. Whatever
// decodes must encode to the very same bytes again.
//   byte 0: bit 0 set: the event file exists; bytes 1-2: the map file's length (little
//   endian, cut to what follows); then the map file, then the event file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <vector>

#include "core/errors.h"
#include "core/mapfile/map_from_file.h"
#include "core/mapfile/map_file.h"
#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

using namespace quillon;
using Bytes = std::span<const std::uint8_t>;

namespace {

void writeFile(const std::filesystem::path& path, Bytes bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

template <typename Decode, typename Encode>
void checkRoundTrip(Bytes bytes, Decode decode, Encode encode) {
    try {
        const auto encoded = encode(decode(bytes, "fuzz"));
        if (!std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end())) {
            std::abort();
        }
    } catch (const DataError&) {
    }
}

Session& sessionWithRom() {
    Session& session = fuzz::fuzzSession();
    if (!session.romState().loaded()) {
        session.openRom(std::make_unique<MemoryRomFile>(fuzz::fuzzRom().bytes), "fuzz.gba");
    }
    return session;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const Bytes rest(data + 3, size - 3);
    const std::size_t mapBytes = std::min<std::size_t>(data[1] | data[2] << 8, rest.size());
    const Bytes mapFile = rest.first(mapBytes), eventFile = rest.subspan(mapBytes);
    checkRoundTrip(mapFile, map_file::decodeMap, map_file::encodeMap);
    checkRoundTrip(eventFile, map_file::decodeEvents, map_file::encodeEvents);

    const auto path = fuzz::fuzzProgramFolder() / "fuzz.map";
    writeFile(path, mapFile);
    std::filesystem::remove(map_file::eventFileName(path));
    if (data[0] & 1) {
        writeFile(map_file::eventFileName(path), eventFile);
    }
    Session& session = sessionWithRom();
    try {
        session.openDetachedMap(detachedFromFiles(path));
        session.mapState().pictures().map();
        session.mapState().eventPicture();
    } catch (const Error&) {
    }
    return 0;
}
