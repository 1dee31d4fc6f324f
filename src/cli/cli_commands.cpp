#include "cli/cli_commands.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/cli_messages.h"
#include "cli/cli_qt_parts.h"
#include "core/errors.h"
#include "core/events/event_fields.h"
#include "core/events/event_tables.h"
#include "core/session/session.h"

namespace quillon::cli {

void printWarnings(Session& session, std::ostream& out) {
    for (const Message& warning : session.romState().warnings()) {
        out << "warning: " << messageText(warning) << '\n';
    }
}

void printInfo(Session& session, std::ostream& out) {
    out << "Title: " << session.rom().Title() << '\n';
    out << "Family: " << (session.rom().isFrlg() ? "FRLG" : "RSE") << '\n';
    out << "Profile: " << (session.romState().profile().found ? "yes" : "no") << '\n';
    out << "Maps: " << session.romState().bankScan().mapCount() << '\n';
    for (const tables::TableFailure& failure : session.romState().tableFailures()) {
        out << "Table not used: " << messageText(failure.message) << '\n';
    }
}

void checkBankTable(Session& session) {
    session.romState().requireTable(tables::Table::Banks);
}

void printMaps(Session& session, std::ostream& out) {
    for (const auto& bank : session.romState().bankScan().banks) {
        for (const auto& m : bank) {
            out << m.bank << '.' << m.map << '\t' << m.name << '\n';
        }
    }
}

namespace {

void openMap(Session& session, const std::string& id, bool grid) {
    openMapForWrite(session, id);
    session.settings().setFlag(Settings::Flag::Grid, grid);
    session.mapState().invalidatePictures();
}

// One record as an object of its fields; a run of one-byte fields becomes a list.
nlohmann::ordered_json recordJson(const EventTables& events, EventKind kind, int index) {
    nlohmann::ordered_json record;
    for (EventField f : eventFields(kind)) {
        if (f.count == 1) {
            record[f.name] = events.field(index, f);
            continue;
        }
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (int i = 0; i < f.count; ++i) {
            list.push_back(events.field(index, {kind, f.name, f.offset + i * f.width, f.width}));
        }
        record[f.name] = list;
    }
    record["offset"] = events.recordOffset(kind, index);
    return record;
}

nlohmann::ordered_json tableJson(const EventTables& events, EventKind kind) {
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (int i = 0; i < events.count(kind); ++i) {
        table.push_back(recordJson(events, kind, i));
    }
    return table;
}

}  // namespace

void savePicture(const Bitmap& picture, const std::filesystem::path& file) {
    picture_files::saveBitmap(picture, file);
}

void printEvents(Session& session, const std::string& id, std::ostream& out) {
    openMap(session, id, false);
    const EventTables& events = session.mapState().events();
    constexpr std::pair<const char*, EventKind> kTables[] = {{"persons", EventKind::Person},
                                                             {"warps", EventKind::Warp},
                                                             {"scripts", EventKind::ScriptTrigger},
                                                             {"signposts", EventKind::Signpost}};
    nlohmann::ordered_json json;
    for (const auto& [name, kind] : kTables) {
        json[name] = tableJson(events, kind);
    }
    json["fly"] = events.hasFlyPosition() ? recordJson(events, EventKind::Fly, 0)
                                          : nlohmann::ordered_json(nullptr);
    for (const auto& [name, kind] : kTables) {
        json["tables"][name] = events.tableOffset(kind);
    }
    out << json.dump(2) << '\n';
}

const Bitmap& blockPalette(Session& session, const std::string& id, int width, bool grid) {
    openMap(session, id, grid);
    session.settings().setBlockPaletteWidth(width);
    return session.mapState().pictures().blockPalette();
}

}  // namespace quillon::cli
