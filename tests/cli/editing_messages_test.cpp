#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "cli/cli_messages.h"
#include "core/blocks/block_edit.h"
#include "core/config/game_profile.h"
#include "core/connections/connection_list.h"
#include "core/writers/map_attributes.h"
#include "core/writers/map_resize.h"
#include "core/errors.h"
#include "core/writers/event_counts.h"
#include "core/writers/wild_save.h"

namespace quillon {
namespace {

// Twelve grass rows of level 5 with the given rate text.
wild::Input grassInput(const std::string& rate) {
    wild::Input input{rate, {}, {}};
    for (int row = 0; row < 12; ++row) {
        input.levels.push_back({"5", "5"});
        input.species.push_back(1);
    }
    return input;
}

// The message the core call throws; a call that does not throw fails the test.
Message thrown(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.message();
    }
    ADD_FAILURE() << "nothing thrown";
    return {};
}

struct Sample {
    const char* family;
    Message message;
    const char* english;
    const char* german;
};

// One refusal or notice of each family the editing commands raise, as the tool prints it in
// English (the default) and with --lang Deutsch. The messages come from the core's own checks,
// so a check that falls back to a finished German sentence prints German in English here.
std::vector<Sample> samples() {
    GameProfile profile;
    profile.mapNameCount = 10;
    return {
        {"wild", thrown([] { wild::parseInput(grassInput("256"), wild::Kind::Grass); }),
         "rate: 256 is outside 0 to 255 (the game reads only one byte of it)",
         "Häufigkeits Index: 256 liegt nicht zwischen 0 und 255 (das Spiel liest nur ein Byte "
         "davon)."},
        {"wild rows", wild::unusualLevels({{5, 5, 1}, {0, 9, 1}, {9, 8, 1}}).at(1),
         "slot 3: 9 - 8 (minimum level above maximum level)",
         "Pokemon3: 9 - 8 (Min Level über Max Level)"},
        {"wild kinds",
         thrown([] {
             wild::Input input = grassInput("1");
             input.levels.pop_back();
             wild::parseInput(input, wild::Kind::Fishing);
         }),
         "fishing encounters have 10 slots, not 11", "Angel hat 10 Pokemon, nicht 11."},
        {"connection",
         thrown([] {
             ConnectionList list;
             for (std::size_t n = 0; n <= ConnectionList::kCapacity; ++n) {
                 list.add();
             }
         }),
         "there are already 10 connections; the list holds no more",
         "Es gibt schon 10 Anbindungen; mehr fasst die Liste nicht."},
        {"connection", thrown([] { ConnectionList().at(3); }), "there is no connection 3 (1 to 0)",
         "Anbindung 3 gibt es nicht (1 bis 0)."},
        {"events", thrown([] { checkEventCounts({0, 0, 0, 256}); }),
         "the number of signposts: 256 is not possible; 0 to 255 are allowed",
         "Anzahl Singpost: 256 geht nicht; erlaubt sind 0 bis 255."},
        {"resize", thrown([] { checkMapSize(0, 5); }),
         "the size 0 x 5 is not possible: width and height must be at least 1",
         "Die Grösse 0 x 5 geht nicht: Breite und Höhe müssen mindestens 1 sein."},
        {"attribute", thrown([&profile] { map_attributes::checkNameIndex(profile, 11); }),
         "name_index 11: the ROM's map name table holds the names 0 to 10 (AnzMapNamen)",
         "Namens-Index 11: die Namens-Tabelle des Roms hat die Namen 0 bis 10 (AnzMapNamen)."},
        {"block", thrown([] { blocks::parseAttributeField("1G", 0xFF, "block.field.behaviour"); }),
         "the behaviour byte: \"1G\" is not a hexadecimal number (00 to FF)",
         "Aufgaben-Byte: \"1G\" ist keine Hex-Zahl (00 bis FF)."},
        {"block", thrown([] { blocks::parseAttributeField("4", 3, "block.field.background"); }),
         "the background byte: $4 is outside 0 to 3",
         "Hintergrund-Byte: $4 liegt nicht zwischen 0 und 3."},
        {"block", message("block.past_table", {"$208", "2", "$207"}),
         "there is no block $208: the block table of tileset 2 ends with block $207",
         "Block $208 gibt es nicht: die Block-Tabelle von Tileset 2 endet mit Block $207."},
        {"rename", message("rename.too_long", {"16", "19"}),
         "a map name has at most 16 characters, not 19",
         "Ein Map-Name hat höchstens 16 Zeichen, nicht 19."},
        // A message inside a message reads in the same language.
        {"resize",
         message("resize.grid_even",
                 {message("space.misaligned", {"$000101", "2", "$000102"})}),
         "the offset $000101 is not a multiple of 2; the next fitting offset in the same free run "
         "is $000102; the grid starts 8 bytes behind it and needs an even address",
         "Der Offset $000101 ist nicht durch 2 teilbar; der nächste passende Offset im selben "
         "freien Bereich ist $000102. Der Block-Grid beginnt 8 Bytes dahinter und braucht eine "
         "gerade Adresse."},
        {"edit", message("edit.header_past_end", {"$7FFFF0"}),
         "the map header at $7FFFF0 lies past the end of the file",
         "Der Map-Header ($7FFFF0) liegt hinter dem Dateiende."},
        {"save", message("save.outside_rom", {"wald"}),
         "map \"wald\" is no map of the ROM: saving writes it to its map file, inserting puts it "
         "into a place in the ROM",
         "Die Map \"wald\" gehört zu keiner Map im Rom: \"Map Speichern\" schreibt sie in ihre "
         "Map-Datei, \"Map Einfügen\" in einen Platz im Rom."},
        {"save", message("map.changed_in_rom"),
         "the map changed in the ROM since it was opened; reopen it",
         "Die Map wurde im Rom geändert, seit sie geöffnet wurde; bitte neu öffnen."},
        {"history", message("history.name.save_map_as", {"3.1"}), "Save map as 3.1",
         "Map speichern unter 3.1"},
        {"connection", message("connection.records_past_end", {"2", "$7FFFF8", "24"}),
         "the map's 2 connections at $7FFFF8 (24 bytes) run past the end of the file",
         "Die Anbindungen (2) ($7FFFF8, 24 Bytes) liegen hinter dem Dateiende."},
        // The tileset, the piece and the stream's own failure, each an id of its own.
        {"tilesets",
         message("tilesets.piece_failed",
                 {message("tilesets.name", {"7"}), message("tilesets.piece.tiles"), "$1A0000",
                  message("compression.past_end", {"40"})}),
         "tileset 7: tile data at $1A0000: LZ77: the compressed stream runs past the end of its "
         "40 bytes",
         "Tileset 7: Tile-Daten bei $1A0000: LZ77: Der komprimierte Strom reicht über das Ende "
         "seiner 40 Bytes hinaus."},
        {"picture", message("picture.empty"), "the picture is empty: there is nothing to write",
         "Das Bild ist leer: es gibt nichts zu speichern."},
        {"export", message("export.picture_not_made", {"2"}),
         "the picture of tileset part 2 could not be made",
         "Das Bild von Tileset-Teil 2 konnte nicht erstellt werden."},
        {"file", message("file.not_saved", {"a.pal", "Permission denied"}),
         "cannot write \"a.pal\": Permission denied",
         "Die Datei \"a.pal\" konnte nicht gespeichert werden: Permission denied"},
        {"list", message("list.index_out_of_bounds", {"3"}), "list index out of bounds (3)",
         "List index out of bounds (3)"},
    };
}

TEST(CliEditingMessages, EachFamilyPrintsInTheChosenLanguage) {
    const std::vector<Sample> cases = samples();
    const std::pair<const char*, bool> languages[] = {{"English", true}, {"Deutsch", false}};
    for (const auto& [section, english] : languages) {
        cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, section);
        for (const Sample& c : cases) {
            SCOPED_TRACE(std::string(c.family) + ", " + section);
            ASSERT_TRUE(c.message.hasId());
            EXPECT_EQ(cli::messageText(c.message), english ? c.english : c.german);
            EXPECT_EQ(cli::errorText(Error(c.message)), english ? c.english : c.german);
        }
    }
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
}

}  // namespace
}  // namespace quillon
