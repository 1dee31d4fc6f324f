#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/session/session.h"
#include "romkit/rom_files.h"
#include "tests/map/sample_rom.h"

namespace quillon::testing {

// The sample ROM under another game code ("BPEE" Emerald, "AXVE" Ruby...): the title and
// with it the profile section follow.
inline romkit::BuiltRom withGameCode(romkit::BuiltRom rom, const std::string& code) {
    for (std::size_t i = 0; i < 4; ++i) {
        rom.bytes.at(0xAC + i) = static_cast<std::uint8_t>(code[i]);
    }
    rom.title = rom.title.substr(0, 12) + code;
    return rom;
}

// A session with a built ROM open (in memory) and one of its maps opened.
class OpenedRom {
public:
    explicit OpenedRom(romkit::BuiltRom built, const std::string& map = "0.1")
        : m_built(std::move(built)) {
        romkit::writeProgramFolder(m_dir.path(), m_built);
        m_session = std::make_unique<Session>(m_dir.path());
        m_session->openRom(m_built.memoryFile(), "test.gba");
        m_session->openMap(map, map);
    }
    Session& session() { return *m_session; }
    const romkit::BuiltRom& built() const { return m_built; }
    // The whole image as the ROM holds it now.
    std::vector<std::uint8_t> image() {
        return m_session->rom().ReadBlock(0, static_cast<std::size_t>(m_session->rom().size()));
    }

private:
    TempDir m_dir;
    romkit::BuiltRom m_built;
    std::unique_ptr<Session> m_session;
};

// after must be before with exactly the given bytes changed.
inline void expectOnly(const std::vector<std::uint8_t>& before,
                       const std::vector<std::uint8_t>& after,
                       const std::map<std::uint32_t, std::uint8_t>& changes) {
    std::vector<std::uint8_t> expected = before;
    for (const auto& [offset, value] : changes) {
        expected.at(offset) = value;
    }
    ASSERT_EQ(after.size(), expected.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_EQ(after[i], expected[i]) << "byte at " << std::hex << i;
    }
}

}  // namespace quillon::testing
