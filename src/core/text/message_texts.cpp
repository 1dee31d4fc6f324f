#include "core/text/message_catalogue.h"

namespace quillon {

// Every message id with the number of its arguments and its German text. The language
// file holds each id in each language section (German there equal to this text); a test
// checks both and the placeholders of every text against the arguments.
const std::vector<MessageDef>& messageDefs() {
    static const std::vector<MessageDef> kDefs{
        {"table.failure", 4, "%^1 bei %2 %3: dieses Rom passt nicht zum Profil \"%4\"."},
        {"table.name.banks", 0, "die Bank-Tabelle"},
        {"table.name.tilesets", 0, "die Tileset-Tabelle"},
        {"table.name.map_names", 0, "die Tabelle der Map-Namen"},
        {"table.name.species_names", 0, "die Tabelle der Pokemon-Namen"},
        {"table.name.wild", 0, "die Tabelle der wilden Pokemon"},
        {"table.name.sprites", 0, "die Sprite-Tabelle"},
        {"table.name.sprite_palettes", 0, "die Tabelle der Sprite-Paletten"},
        {"table.why.no_map_tables", 0, "enthält keine Map-Tabellen"},
        {"table.why.no_tileset_header", 0, "enthält keinen Tileset-Header"},
        {"table.why.secondary_first", 0,
         "beginnt mit einem sekundären Tileset-Header, nicht mit einem primären"},
        {"table.why.no_entries", 0, "hat keine Einträge"},
        {"table.why.name_not_text", 1, "zeigt bei Name %1 nicht auf einen Text"},
        {"table.why.name_missing", 1, "enthält bei Name %1 keinen Namen"},
        {"table.why.no_wild_records", 0, "enthält keine Einträge wilder Pokemon"},
        {"table.why.record_missing", 1, "enthält bei Eintrag %1 keinen Eintrag"},
        {"table.why.no_sprite_records", 0, "zeigt nicht auf Sprite-Einträge"},
        {"table.why.palette_missing", 1, "enthält bei Eintrag %1 keine Palette"},
        {"table.why.outside_file", 0, "liegt nicht in der Datei"},
        {"table.why.unknown", 0, "ist unbekannt"},
        {"insert.slot", 2, "Bank/Nr %1: %2"},
        {"finder.not_found.shape", 1,
         "%1: nicht gefunden (keine Stelle, auf die die ROM verweist, hat ihre Form)"},
        {"finder.not_found.maps", 1,
         "%1: nicht gefunden (ohne Bank-Tabelle und ihre Maps nicht zu prüfen)"},
        {"finder.found", 6,
         "%1: %2, %3 (%4 {4:Eintrag|Einträge} in Folge, %5 {5:Verweis|Verweise}%6)"},
        {"finder.sure", 0, "sicher"},
        {"finder.likely", 0, "wahrscheinlich"},
        {"finder.rivals", 1,
         "; %1 {1:weitere Stelle hat|weitere Stellen haben} ebenso viele Einträge"},
        {"finder.partly_covered", 0, "; nicht jedes Tileset der Maps steht in der Tabelle"},
        {"finder.no_bank_table", 0,
         "Die Bank-Tabelle wurde nicht gefunden: es wird kein Profil gespeichert."},
        {"finder.no_user_folder", 0,
         "Es gibt keinen Ordner für die Daten des Benutzers: das Profil wird nicht gespeichert."},
        {"finder.too_large", 0, "Die Datei ist größer als 32 MiB: sie ist kein Rom."},
        {"profiles.no_folder", 2, "Der Ordner \"%1\" konnte nicht angelegt werden: %2"},
        {"import.width", 1,
         "Das Bild ist %1 Pixel breit; ein Tileset-Bild ist 128 Pixel (16 Tiles) breit."},
        {"import.height", 1,
         "Das Bild ist %1 Pixel hoch; ein Tileset-Bild hat 8 Pixel je Tile-Reihe."},
        {"import.tile_count", 3, "Das Bild hat %1 Tiles; Tileset-Teil %2 fasst %3 Tiles."},
        {"import.colour_index", 4,
         "Tile %1, Pixel (%2, %3) hat den Farbindex %4; ein Tile kennt nur 0 bis 15."},
        {"import.picture_unreadable", 2, "Das Bild \"%1\" kann nicht gelesen werden: %2"},
        {"import.truecolour", 1,
         "Das Bild \"%1\" hat keine Farbtabelle (Truecolor); gebraucht wird ein Bild mit "
         "Farbindizes (indiziertes PNG oder BMP mit höchstens 256 Farben)."},
        {"import.file_unreadable", 2, "Die Datei \"%1\" kann nicht gelesen werden: %2"},
        {"import.tileset_header_past_end", 1,
         "Der Tileset-Header (%1) liegt hinter dem Ende der Datei."},
        {"import.tiles_outside", 1, "Die Tile-Daten (%1) liegen nicht in der Datei."},
        {"import.palette_file_size", 1,
         "Die Palettendatei ist %1 Bytes lang; erwartet sind 64 Bytes (16 Farben) oder "
         "JASC-PAL-Text."},
        {"import.jasc_version", 1,
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile %1 steht nicht \"0100\"."},
        {"import.jasc_count", 1,
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile %1 steht nicht die Anzahl der Farben (0 "
         "bis 256)."},
        {"import.jasc_colour", 1,
         "Die JASC-PAL-Datei ist fehlerhaft: in Zeile %1 steht nicht eine Farbe \"R G B\" (je 0 "
         "bis 255)."},
        {"import.palette_part", 5,
         "Palette %1 gehört zu Tileset-Teil %2 (Paletten %3 bis %4), nicht zu Teil %5."},
        {"import.colour_count", 1, "Die Datei hat %1 Farben; eine Palette hat 16."},
    };
    return kDefs;
}

}  // namespace quillon
