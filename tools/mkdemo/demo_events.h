#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "romkit/rom_builder.h"

namespace quillon::mkdemo {

// The scripts the events point to, laid out one after another in the ROM's code area.
class DemoScripts {
public:
    // Returns the file offset the script will have.
    std::uint32_t add(const std::vector<std::uint8_t>& bytes);
    // A person's script: lock, face the player, release, end.
    std::uint32_t talk();
    // A script that ends at once (signs, triggers).
    std::uint32_t plain();
    void writeTo(romkit::RomBuilder& builder) const;

private:
    std::uint32_t m_next = 0x400;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> m_scripts;
};

// Persons, warps, script triggers and signposts of the demo map wanted.bank.wanted.map.
void addDemoEvents(romkit::MapSpec& wanted, DemoScripts& scripts);

// The fly table: the town's landing cell in front of the hall.
void addDemoFlyPositions(romkit::RomBuilder& builder);

}  // namespace quillon::mkdemo
