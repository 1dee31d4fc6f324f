#include "tools/mkdemo/demo_events.h"

#include <array>

#include "tools/mkdemo/sprite_art.h"

namespace quillon::mkdemo {

namespace {

using romkit::MapSpec;

// Movement types of persons and the range byte (x in the low, y in the high nibble).
constexpr std::uint8_t kLookAround = 0x01, kWander = 0x02, kUpAndDown = 0x03, kFaceDown = 0x08;
constexpr std::uint8_t kRange1 = 0x11, kRangeY1 = 0x10;
// Height level persons stand on (byte 8 of their record).
constexpr std::uint8_t kGroundLevel = 3;
constexpr std::uint8_t kSignScript = 0, kHiddenItem = 7;

constexpr int kTownBank = 0, kTown = 0, kHouseBank = 1, kPlayerHouse = 0, kNeighbourHouse = 1;
// Town warp numbers: the doors of the red and the blue house.
constexpr std::uint8_t kRedDoorWarp = 0, kBlueDoorWarp = 1;
// Both mat cells of a house lead to the house's door in the town.
constexpr std::uint16_t kMatLeftX = 4, kMatRightX = 5, kMatY = 7;

struct Person {
    std::uint8_t picture;
    std::uint16_t x, y;
    std::uint8_t movementType = kFaceDown, movement = 0;
    std::uint16_t sight = 0;  // trainers only
};

void addPersons(MapSpec& wanted, DemoScripts& scripts, std::initializer_list<Person> persons) {
    for (const Person& p : persons) {
        const auto number = static_cast<std::uint8_t>(wanted.persons.size() + 1);
        auto record = romkit::personRecord(number, p.picture, p.x, p.y, p.movementType, p.movement,
                                           p.sight > 0 ? 1 : 0, p.sight, scripts.talk());
        record[8] = kGroundLevel;
        wanted.persons.push_back(record);
    }
}

void addSign(MapSpec& wanted, DemoScripts& scripts, std::uint16_t x, std::uint16_t y) {
    wanted.signposts.push_back(romkit::signpostRecord(x, y, kSignScript, scripts.plain()));
}

// A hidden item keeps its data where a sign keeps its script: item number, then a flag.
void addHiddenItem(MapSpec& wanted, std::uint16_t x, std::uint16_t y, std::uint16_t item,
                   std::uint8_t flag) {
    auto record = romkit::signpostRecord(x, y, kHiddenItem, 0);
    record[8] = static_cast<std::uint8_t>(item);
    record[9] = static_cast<std::uint8_t>(item >> 8);
    record[10] = flag;
    wanted.signposts.push_back(record);
}

void town(MapSpec& wanted, DemoScripts& scripts) {
    using namespace picture;
    addPersons(wanted, scripts,
               {{kBoy, 10, 9, kWander, kRange1},
                {kGirl, 18, 5, kLookAround},
                {kGran, 5, 18},
                {kOwl, 21, 13},
                {kMan, 25, 9, kUpAndDown, kRangeY1}});
    wanted.warps.push_back(romkit::warpRecord(6, 6, 0, kPlayerHouse, kHouseBank));
    wanted.warps.push_back(romkit::warpRecord(23, 6, 0, kNeighbourHouse, kHouseBank));
    addSign(wanted, scripts, 16, 4);
    addSign(wanted, scripts, 21, 16);
    addHiddenItem(wanted, 7, 19, 0x000D, 1);
}

void route1(MapSpec& wanted, DemoScripts& scripts) {
    using namespace picture;
    addPersons(wanted, scripts,
               {{kMan, 7, 22, kFaceDown, 0, 3}, {kHiker, 14, 18, kLookAround}, {kGirl, 11, 4}});
    // Stepping onto the path at the south end runs a script.
    for (std::uint16_t x : {9, 10}) {
        wanted.scripts.push_back(romkit::scriptRecord(x, 33, scripts.plain()));
    }
    addSign(wanted, scripts, 11, 37);
}

void route2(MapSpec& wanted, DemoScripts& scripts) {
    using namespace picture;
    addPersons(
        wanted, scripts,
        {{kBoy, 16, 17, kFaceDown, 0, 2}, {kHiker, 47, 10, kWander, kRange1}, {kOwl, 7, 30}});
    addSign(wanted, scripts, 26, 16);
    addSign(wanted, scripts, 3, 16);
    addHiddenItem(wanted, 25, 14, 0x0004, 2);
}

void woods(MapSpec& wanted, DemoScripts& scripts) {
    using namespace picture;
    addPersons(wanted, scripts, {{kGran, 14, 11, kLookAround}, {kOwl, 5, 9}});
    addSign(wanted, scripts, 13, 15);
}

void house(MapSpec& wanted, DemoScripts& scripts, std::uint8_t doorWarp,
           std::initializer_list<Person> persons) {
    addPersons(wanted, scripts, persons);
    for (std::uint16_t x : {kMatLeftX, kMatRightX}) {
        wanted.warps.push_back(romkit::warpRecord(x, kMatY, doorWarp, kTown, kTownBank));
    }
}

}  // namespace

std::uint32_t DemoScripts::add(const std::vector<std::uint8_t>& bytes) {
    const std::uint32_t offset = m_next;
    m_scripts.emplace_back(offset, bytes);
    m_next = static_cast<std::uint32_t>((offset + bytes.size() + 3) / 4 * 4);
    return offset;
}

std::uint32_t DemoScripts::talk() { return add({0x6A, 0x5A, 0x6C, 0x02}); }

std::uint32_t DemoScripts::plain() { return add({0x02}); }

void DemoScripts::writeTo(romkit::RomBuilder& builder) const {
    for (const auto& [offset, bytes] : m_scripts) {
        builder.putCodeBytes(offset, bytes);
    }
}

void addDemoEvents(MapSpec& wanted, DemoScripts& scripts) {
    using picture::kGirl, picture::kMan, picture::kGran;
    switch (wanted.bank << 8 | wanted.map) {
        case 0x000:
            town(wanted, scripts);
            break;
        case 0x001:
            route1(wanted, scripts);
            break;
        case 0x002:
            route2(wanted, scripts);
            break;
        case 0x003:
            woods(wanted, scripts);
            break;
        case 0x100:
            house(wanted, scripts, kRedDoorWarp, {{kGirl, 6, 4, kLookAround}});
            break;
        case 0x101:
            house(wanted, scripts, kBlueDoorWarp, {{kMan, 4, 3}, {kGran, 8, 5}});
            break;
        default:
            break;
    }
}

void addDemoFlyPositions(romkit::RomBuilder& builder) {
    builder.addFlyRecord(kTownBank, kTown, 14, 17);
}

}  // namespace quillon::mkdemo
