#include <gtest/gtest.h>

#include <memory>

#include "core/config/data_files.h"
#include "core/config/settings.h"
#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/session/map_opening.h"
#include "core/session/map_saving.h"
#include "core/session/open_map_history.h"
#include "core/session/rom_opening.h"
#include "core/state/map_state.h"
#include "core/state/picture_buffers.h"
#include "core/state/rom_state.h"
#include "tests/map/sample_rom.h"

namespace quillon {
namespace {

// Opening, saving and undoing with the session's units alone, each given the parts it needs:
// no Session holds the ROM or the states.
class SessionUnits : public ::testing::Test {
protected:
    void SetUp() override {
        m_built = testing::buildSampleRom();
        romkit::writeProgramFolder(m_dir.path(), m_built);
        m_data = std::make_unique<DataFiles>(m_dir.path());
        m_settings = std::make_unique<Settings>(m_data->quillon());
        auto image = std::make_unique<MemoryRomFile>(m_built.bytes);
        m_image = image.get();
        attachRomImage(m_rom, std::move(image), "sample.gba");
        openRomHistory(m_rom, *m_settings, std::nullopt, false);
        m_romState = readRomState(m_rom, *m_data, *m_settings);
        m_none = std::make_unique<MapState>(*m_romState, *m_settings, m_buffers);
    }
    OpenedMap open(const std::string& id) {
        return readMapState(m_rom, *m_romState, *m_data, *m_settings, m_buffers, *m_none, id, id);
    }
    // The 16-bit grid entry of cell (x, y) of map 0.1 (5 cells wide) in the original image.
    std::uint16_t originalEntry(int x, int y) const {
        const std::uint32_t at = m_built.maps.at({0, 1}).grid + (y * 5 + x) * 2;
        return static_cast<std::uint16_t>(m_built.bytes[at] | m_built.bytes[at + 1] << 8);
    }

    testing::TempDir m_dir;
    romkit::BuiltRom m_built;
    std::unique_ptr<DataFiles> m_data;
    std::unique_ptr<Settings> m_settings;
    TRom m_rom;
    MemoryRomFile* m_image = nullptr;
    PictureBuffers m_buffers;
    std::unique_ptr<RomState> m_romState;
    std::unique_ptr<MapState> m_none;
};

// A painted cell saved changes exactly its block bits in the image; undoing the save, which
// touches the open map, gives back the image as built.
TEST_F(SessionUnits, SaveWritesOnlyThePaintedCellAndUndoGivesTheImageBack) {
    OpenedMap opened = open("0.1");
    ASSERT_TRUE(opened.state->loaded());
    MapState& map = *opened.state;
    map.editor().selectBlock(0x2A);
    map.editor().beginStroke();
    map.editor().paint(2, 1);
    map.editor().endStroke();
    saveOpenMap(m_rom, map);
    EXPECT_FALSE(map.modified());

    std::vector<std::uint8_t> expected = m_built.bytes;
    const auto entry = static_cast<std::uint16_t>((originalEntry(2, 1) & ~0x3FF) | 0x2A);
    const std::uint32_t cell = m_built.maps.at({0, 1}).grid + (1 * 5 + 2) * 2;
    expected[cell] = static_cast<std::uint8_t>(entry & 0xFF);
    expected[cell + 1] = static_cast<std::uint8_t>(entry >> 8);
    EXPECT_EQ(m_image->bytes(), expected);
    ASSERT_EQ(m_rom.history().entries().size(), 1u);
    EXPECT_EQ(m_rom.history().entries().back().name, "Map speichern 0.1");
    EXPECT_EQ(m_rom.history().entries().back().title.id, "history.name.save_map");

    const std::uint64_t id = m_rom.history().entries().back().id;
    EXPECT_TRUE(undoTouchesOpenMap(m_rom, map, id));
    const UndoOutcome outcome = undoWithOpenMap(m_rom, *m_romState, map, m_data->tilesets(), id);
    EXPECT_TRUE(outcome.openMapTouched);
    EXPECT_EQ(m_image->bytes(), m_built.bytes);
    EXPECT_FALSE(unfinishedTransaction(m_rom));
}

// A save of a map not open, or of a map that was changed in the ROM since it was read, is
// refused before the first byte.
TEST_F(SessionUnits, RefusedSavesLeaveTheImageAsBuilt) {
    EXPECT_THROW(saveOpenMap(m_rom, *m_none), Error);
    OpenedMap opened = open("0.1");
    // The footer pointer of 0.1 changed behind the editor's back.
    const std::uint32_t header = m_built.maps.at({0, 1}).header;
    std::vector<std::uint8_t> changed = m_built.bytes;
    changed[header] ^= 0x04;
    m_image->write(header, std::span<const std::uint8_t>(&changed[header], 1));
    EXPECT_THROW(saveOpenMap(m_rom, *opened.state), Error);
    EXPECT_EQ(m_image->bytes(), changed);
    EXPECT_TRUE(m_rom.history().entries().empty());
}

// Only the maps the bank scan lists can be opened by "bank.map"; a failed open changes
// nothing of the map still shown.
TEST_F(SessionUnits, MapsOutsideTheBankScanAreRefused) {
    const struct {
        const char* id;
        bool opens;
    } cases[] = {{"0.0", true}, {"0.2", true}, {"0.3", false}, {"7.0", false}};
    for (const auto& c : cases) {
        if (c.opens) {
            EXPECT_NO_THROW(requireKnownMap(m_rom, *m_romState, *m_data, c.id)) << c.id;
            EXPECT_TRUE(open(c.id).state->loaded()) << c.id;
        } else {
            EXPECT_THROW(requireKnownMap(m_rom, *m_romState, *m_data, c.id), Error) << c.id;
            EXPECT_THROW(open(c.id), Error) << c.id;
        }
    }
    EXPECT_FALSE(m_none->loaded());
    EXPECT_EQ(m_image->bytes(), m_built.bytes);
}

}  // namespace
}  // namespace quillon
