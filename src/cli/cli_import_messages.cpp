#include "cli/cli_import_messages.h"

#include <regex>
#include <vector>

namespace quillon::cli {

namespace {

struct Rule {
    std::regex german;
    const char* english;
};

const std::vector<Rule>& importRules() {
    static const std::vector<Rule> kRules{
        {std::regex(R"x(^Das Bild ist (\d+) Pixel breit; ein Tileset-Bild ist 128 Pixel )x"
                    R"x(\(16 Tiles\) breit\.$)x"),
         "the picture is $1 pixels wide; a tileset picture is 128 pixels (16 tiles) wide"},
        {std::regex(R"x(^Das Bild ist (\d+) Pixel hoch; ein Tileset-Bild hat 8 Pixel je )x"
                    R"x(Tile-Reihe\.$)x"),
         "the picture is $1 pixels high; a tileset picture has 8 pixels a row of tiles"},
        {std::regex(R"x(^Das Bild hat (\d+) Tiles; Tileset-Teil (\d) fasst (\d+) Tiles\.$)x"),
         "the picture has $1 tiles; tileset part $2 holds $3"},
        {std::regex(R"x(^Tile (\d+), Pixel \((\d), (\d)\) hat den Farbindex (\d+); ein Tile )x"
                    R"x(kennt nur 0 bis 15\.$)x"),
         "tile $1, pixel ($2, $3) has the colour index $4; a tile knows only 0 to 15"},
        {std::regex(R"x(^Das Bild "(.*)" kann nicht gelesen werden: (.*)$)x"),
         "cannot read the picture \"$1\": $2"},
        {std::regex(R"x(^Das Bild "(.*)" hat keine Farbtabelle \(Truecolor\); gebraucht wird )x"
                    R"x(ein Bild mit Farbindizes \(indiziertes PNG oder BMP mit höchstens 256 )x"
                    R"x(Farben\)\.$)x"),
         "the picture \"$1\" is truecolour (no colour table); an indexed PNG or BMP of at most "
         "256 colours is needed"},
        {std::regex(R"x(^Die Datei "(.*)" kann nicht gelesen werden: (.*)$)x"),
         "cannot read \"$1\": $2"},
        {std::regex(R"x(^Der Tileset-Header \((\$[0-9A-F]+)\) liegt hinter dem Ende der )x"
                    R"x(Datei\.$)x"),
         "the tileset header at $1 lies past the end of the file"},
        {std::regex(R"x(^Die Tile-Daten \((\$[0-9A-F]+)\) liegen nicht in der Datei\.$)x"),
         "the tile data at $1 lie outside the file"},
        {std::regex(R"x(^Die neuen Tile-Daten \((\d+) Bytes LZ77\) sind länger als die alten )x"
                    R"x(\((\$[0-9A-F]+), (\d+) Bytes\) und brauchen einen neuen Platz\.$)x"),
         "the new tile data ($1 bytes LZ77) are longer than the old ones at $2 ($3 bytes) and "
         "need a new place"},
        {std::regex(R"x(^Die Palettendatei ist (\d+) Bytes lang; erwartet sind 64 Bytes )x"
                    R"x(\(16 Farben\) oder JASC-PAL-Text\.$)x"),
         "the palette file has $1 bytes; expected are 64 bytes (16 colours) or JASC-PAL text"},
        {std::regex(R"x(^Die JASC-PAL-Datei ist fehlerhaft: in Zeile (\d+) steht nicht )x"
                    R"x("0100"\.$)x"),
         "the JASC-PAL file is broken: line $1 is not \"0100\""},
        {std::regex(R"x(^Die JASC-PAL-Datei ist fehlerhaft: in Zeile (\d+) steht nicht die )x"
                    R"x(Anzahl der Farben \(0 bis 256\)\.$)x"),
         "the JASC-PAL file is broken: line $1 is not the number of colours (0 to 256)"},
        {std::regex(R"x(^Die JASC-PAL-Datei ist fehlerhaft: in Zeile (\d+) steht nicht eine )x"
                    R"x(Farbe "R G B" \(je 0 bis 255\)\.$)x"),
         "the JASC-PAL file is broken: line $1 is not a colour \"R G B\" (each 0 to 255)"},
        {std::regex(R"x(^Palette (\d+) gehört zu Tileset-Teil (\d) \(Paletten (\d+) bis )x"
                    R"x((\d+)\), nicht zu Teil (\d)\.$)x"),
         "palette $1 belongs to tileset part $2 (palettes $3 to $4), not to part $5"},
        {std::regex(R"x(^Die Datei hat (\d+) Farben; eine Palette hat 16\.$)x"),
         "the file has $1 colours; a palette has 16 (--fit takes it anyway)"},
    };
    return kRules;
}

}  // namespace

std::optional<std::string> englishImportMessage(const std::string& coreMessage) {
    for (const Rule& rule : importRules()) {
        if (std::regex_match(coreMessage, rule.german)) {
            return std::regex_replace(coreMessage, rule.german, rule.english);
        }
    }
    return std::nullopt;
}

}  // namespace quillon::cli
