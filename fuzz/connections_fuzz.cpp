// Connections on a damaged ROM: the fuzzer's patch records overwrite the built image (map
// headers, connection headers and records, the bank table, the neighbours' footers, grids and
// tilesets), then every listed map is opened and its connections go through what the
// connections window, the way-back check and the Map tab do with them: the list and its
// buttons, the way back of each connection and the plan for a missing one, the check of all
// maps, and the band of neighbours drawn around the map. The band takes whatever the ROM
// holds: an error out of drawing it is a finding.
#include <cstdint>
#include <cstdlib>

#include "core/connections/button_layout.h"
#include "core/writers/connection_save.h"
#include "core/connections/way_back.h"
#include "core/errors.h"
#include "core/gfx/bitmap.h"
#include "core/state/neighbours.h"
#include "core/session/session.h"
#include "fuzz/fuzz_rom.h"

using namespace quillon;

namespace {

void windowAndCheck(Session& session) {
    const BankScan& scan = session.romState().bankScan();
    const CurrentMap& map = session.mapState().map();
    const ConnectionList list = loadConnections(session.rom(), session.mapState());
    layoutButtons(list.records(), [&](int bank, int m) {
        return listedHeader(scan, bank, m).has_value();
    });
    for (std::size_t n = 1; n <= list.count(); ++n) {
        wayBackOf(session.rom(), scan, map.bank, map.map, list.at(n));
        try {
            planCounterpart(session.rom(), scan, session.mapState(), list, n);
        } catch (const Error&) {
        }
    }
    checkAllConnections(session.rom(), scan);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::openEveryMap({data, size}, [](Session& session) {
        try {
            windowAndCheck(session);
        } catch (const Error&) {
        }
        const Bitmap& picture = session.mapState().pictures().map();
        try {
            const NeighbourBand band = drawNeighbourBand(session.rom(), session.romState(),
                                                         session.data(), session.mapState());
            Bitmap composed;
            composeNeighbourPicture(band, picture, composed);
        } catch (const Error&) {
            std::abort();
        }
    });
    return 0;
}
