#include "tests/ui/test_program.h"

#include <fstream>
#include <sstream>

#include "tests/ui/fake_dialogs.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace quillon::testing {

namespace {

// A 4bpp tile of one colour index: 32 bytes, two pixels a byte.
std::vector<std::uint8_t> solidTile(std::uint8_t index) {
    return std::vector<std::uint8_t>(32, static_cast<std::uint8_t>(index | (index << 4)));
}

// Lower layer: tile `lower` in all four quarters; upper layer: tile 2, all colour 0 (clear).
std::array<std::uint16_t, 8> block(std::uint16_t lower) {
    return {lower, lower, lower, lower, 2, 2, 2, 2};
}

romkit::TilesetSpec primaryTileset() {
    romkit::TilesetSpec t;
    for (std::uint8_t index : {1, 2, 0}) {
        auto tile = solidTile(index);
        t.tiles.insert(t.tiles.end(), tile.begin(), tile.end());
    }
    std::array<std::uint16_t, 16> palette{};
    palette[1] = 0x001F;
    palette[2] = 0x03E0;
    t.palettes = {palette};
    t.blocks = {block(0), block(1)};
    return t;
}

romkit::TilesetSpec secondaryTileset() {
    romkit::TilesetSpec t;
    t.tiles = solidTile(0);
    t.blocks = {block(0)};
    return t;
}

// Bank 1: the maps with events (see the class comment).
void addEventMaps(romkit::RomBuilder& builder) {
    builder.addMapName("EVENTS");
    builder.addMapName("ZIEL");
    romkit::MapSpec events;
    events.bank = 1;
    events.width = 6;
    events.height = 4;
    events.nameIndex = 2;
    events.persons = {romkit::personRecord(1, 0, 1, 1), romkit::personRecord(2, 0, 4, 2, 0, 0, 2)};
    events.warps = {romkit::warpRecord(2, 1, 2, 1, 1), romkit::warpRecord(3, 3, 5, 1, 0)};
    events.scripts = {romkit::scriptRecord(5, 0, 0)};
    events.signposts = {romkit::signpostRecord(1, 1, 3, 0x400)};
    builder.addMap(events);
    romkit::MapSpec target;
    target.bank = 1;
    target.map = 1;
    target.width = 2;
    target.height = 2;
    target.nameIndex = 3;
    target.warps = {romkit::warpRecord(0, 0, 0, 0, 1), romkit::warpRecord(1, 0, 0, 0, 1),
                    romkit::warpRecord(0, 1, 0, 0, 1)};
    builder.addMap(target);
    builder.addFlyRecord(1, 0, 5, 3);
}

// Wild encounters: TESTHAUS (0.0) has grass (rate 20, species 1-12, levels n to n + 2) and
// fishing (rate 30, species 21-30); EVENTS (1.0) has water. The rest have none.
void addWildTable(romkit::RomBuilder& builder) {
    const auto slotList = [](int count, int firstSpecies) {
        std::vector<wild::Slot> list;
        for (int i = 0; i < count; ++i) {
            list.push_back({static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(i + 3),
                            static_cast<std::uint16_t>(firstSpecies + i)});
        }
        return list;
    };
    romkit::WildSpec house{0, 0, {}};
    house.kinds[0] = romkit::WildKindSpec{20, slotList(12, 1)};
    house.kinds[3] = romkit::WildKindSpec{30, slotList(10, 21)};
    builder.addWild(house);
    romkit::WildSpec events{1, 0, {}};
    events.kinds[1] = romkit::WildKindSpec{4, slotList(5, 40)};
    builder.addWild(events);
    for (int i = 1; i <= 40; ++i) {
        builder.addPokemonName("MON" + std::to_string(i));
    }
}

romkit::BuiltRom buildRom(romkit::Family family) {
    romkit::RomBuilder builder(family, "QUILLON TEST",
                               family == romkit::Family::Frlg ? "BPRE" : "QTSE");
    builder.addTileset(primaryTileset());
    builder.addTileset(secondaryTileset());
    builder.addMapName("TESTHAUS");
    builder.addMapName("ZWEITE");
    romkit::MapSpec first;
    first.width = 3;
    first.height = 2;
    first.grid = {0x0000, 0x0C01, 0x0000, 0x0001, 0x0000, 0x0000};
    first.music = 0x012C;
    first.weather = 2;
    first.type = 1;
    first.showName = 1;
    builder.addMap(first);
    romkit::MapSpec second;
    second.map = 1;
    second.width = 2;
    second.height = 2;
    second.nameIndex = 1;
    builder.addMap(second);
    addEventMaps(builder);
    addWildTable(builder);
    return builder.build();
}

const char* kSprachen =
    "[Deutsch]\n11=Datei\n12=Einstellungen\n120=Gitter\n1260=Map Doppelt\n1302=Aufgaben-Byte:\n"
    "[English]\n11=File\n110=Load...\n1260=Map double\n20=Map\n21=Movement\n"
    "30=Choose File->Load... to load a ROM.\n31=ROM loaded! Choose a map.\n"
    "32=Map loaded.  Index:\n33=Block:\n900=Name:\n36=No events.\n400=Pos (X/Y):\n405=Go\n"
    "600=Grass\n601=Water\n602=Rock Smash\n603=Fishing\n62=Pokémon:\n65=Old Rod\n66=Good Rod\n"
    "67=Super Rod\n943=No wild data for this game.\n1370=Create way back\n1371=No way back in\n"
    "wild.unusual_row=slot %1: %2 - %3 (%4)\n"
    "wild.why.min_above_max=minimum level above maximum level\n"
    "13682=Map\n13683=does not exist.\n"
    "1302=Behaviour byte:\n1309=Picture\n1310=Save Tileset1\n1316=Part 1:\n1317=Part 2:\n"
    "1140=New Map\n11401=Width:\n11406=Create\n1400=No read-me file found in\n1411=Licence:\n"
    "history.name.weather=Change weather %1\nhistory.name.undo=Undo: %1\n";

const char* kGehDaten = "[Deutsch]\n03=Wasser\n[English]\n03=Water\n";
const char* kWetter = "[Deutsch]\n00=Kein Wetter\n02=Regen\n";
const char* kTyp = "[Deutsch]\n01=Stadt\n";

}  // namespace

TestProgram::TestProgram(bool withLanguages, romkit::Family family) : m_rom(buildRom(family)) {
    const std::string extraFooter = std::to_string(m_rom.maps.at({0, 1}).footer);
    std::map<std::string, std::string> files = {
        {"Ini/GehDaten.ini", kGehDaten},
        {"Ini/Wetter.ini", kWetter},
        {"Ini/Typ.ini", kTyp},
        {"Ini/Main.ini", "[Stadt]\n0=0.1\n1=Extra\n"},
        {"Ini/Maps.ini",
         "[0.1]\nName=Zweite\n[Extra]\nName=Extra\n" + m_rom.title + "=" + extraFooter + "\n"},
    };
    if (withLanguages) {
        files["Ini/Sprachen.ini"] = kSprachen;
    }
    romkit::writeProgramFolder(m_dir.path(), m_rom, files);
    romkit::writeRomFile(m_dir.file("test.gba"), m_rom);
}

QString TestProgram::romPath() const { return ui::fromPath(m_dir.file("test.gba")); }

std::string TestProgram::readIni(const std::string& name) const {
    std::ifstream in(m_dir.path() / "Ini" / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<ui::MainWindow> TestProgram::window(FakeDialogs** dialogs) const {
    auto fake = std::make_unique<FakeDialogs>();
    *dialogs = fake.get();
    return std::make_unique<ui::MainWindow>(m_dir.path(), std::move(fake));
}

}  // namespace quillon::testing
