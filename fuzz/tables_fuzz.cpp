// The table search on any bytes. The first byte chooses the image: even, the fuzz ROM with a
// literal pool naming its tables (as a game's code holds one), patched by the fuzzer's patch
// records (the pool, the tables and what they point to rewritten); odd, the rest of the data
// itself as a whole image. Every table found must lie inside the image, a found section names
// only found tables, and the search must end (bounded work on any input).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/tables/table_finder.h"
#include "core/text/message_catalogue.h"
#include "fuzz/fuzz_rom.h"
#include "romkit/rom_image.h"
#include "romkit/table_references.h"

using namespace quillon;

namespace {

constexpr std::uint32_t kPool = 0xF00;

const std::vector<std::uint8_t>& pooledRom() {
    static const std::vector<std::uint8_t> image = [] {
        std::vector<std::uint8_t> bytes = fuzz::fuzzRom().bytes;
        const auto pool = romkit::literalPool(romkit::referencedTables(fuzz::fuzzRom()));
        std::copy(pool.begin(), pool.end(), bytes.begin() + kPool);
        return bytes;
    }();
    return image;
}

void check(const tables::FoundProfile& found, std::size_t size) {
    for (const tables::FoundTable& t : found.tables) {
        if (t.found() && (t.start >= size || t.records <= 0)) {
            std::abort();
        }
        if (quillon::germanText(tables::describe(t)).empty()) {
            std::abort();
        }
        const std::string key = tables::profileKey(t.table) + std::string("=");
        if (!t.found() && found.iniText().find("\n" + key) != std::string::npos) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> image;
    if (data[0] % 2 == 0) {
        image = pooledRom();
        fuzz::applyPatches(image, {data + 1, size - 1});
    } else {
        image.assign(data + 1, data + size);
    }
    check(tables::findTables(image, tables::GameIdentity::of(image)), image.size());
    return 0;
}
