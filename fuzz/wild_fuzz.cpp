// The wild encounter table on a damaged ROM: the fuzzer's patch records overwrite the built
// image (the table's headers and end mark, the encounter records and their slot lists), then
// every listed map is opened, its header looked up and each kind read as the wild tab reads
// it. A kind that reads as available must hold exactly its number of slots.
#include <cstdint>
#include <cstdlib>

#include "core/session/session.h"
#include "core/wild/wild_table.h"
#include "fuzz/fuzz_rom.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::openEveryMap({data, size}, [](Session& session) {
        const auto table = static_cast<std::uint32_t>(session.romState().profile().wildPokemon);
        const CurrentMap& map = session.mapState().map();
        const wild::Lookup found = wild::findHeader(session.rom(), table, map.bank, map.map);
        if (!found.header) {
            return;
        }
        for (wild::Kind kind : wild::kKinds) {
            const wild::Encounter e = wild::readEncounter(session.rom(), *found.header, kind);
            const auto slots = static_cast<std::size_t>(wild::slotCount(kind));
            if (e.available ? e.entries.size() != slots : !e.entries.empty()) {
                std::abort();
            }
        }
    });
    return 0;
}
