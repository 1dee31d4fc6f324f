#include "tools/mkdemo/palettes.h"

#include <initializer_list>

namespace quillon::mkdemo {

namespace {

struct Rgb {
    int r, g, b;
};

// 8-bit components to the 15-bit colour word: red in bits 0-4, green 5-9, blue 10-14.
Palette palette(std::initializer_list<Rgb> colours) {
    Palette p{};
    int i = 0;
    for (const Rgb& c : colours) {
        p[i++] = static_cast<std::uint16_t>((c.r >> 3) | (c.g >> 3) << 5 | (c.b >> 3) << 10);
    }
    return p;
}

// Unused slots get a grey ramp, so a stray palette number still shows something plain.
Palette greys() {
    Palette p{};
    for (int i = 1; i < 16; ++i) {
        const int v = 16 * i;
        p[i] = palette({{0, 0, 0}, {v, v, v}})[1];
    }
    return p;
}

Palette house(Rgb dark, Rgb mid, Rgb light, Rgb shine) {
    return palette({{0, 0, 0},
                    {56, 48, 64},
                    dark,
                    mid,
                    light,
                    shine,
                    {248, 240, 224},
                    {224, 208, 184},
                    {176, 152, 128},
                    {104, 160, 224},
                    {200, 232, 248},
                    {104, 64, 40},
                    {160, 104, 64},
                    {248, 248, 248},
                    {72, 136, 64},
                    {176, 96, 80}});
}

}  // namespace

PaletteSet outdoorPalettes() {
    PaletteSet set(16, greys());
    set[kTerrainPalette] = palette({{0, 0, 0},
                                    {48, 72, 48},
                                    {152, 216, 112},
                                    {120, 192, 88},
                                    {88, 160, 72},
                                    {56, 120, 56},
                                    {248, 232, 184},
                                    {232, 208, 144},
                                    {200, 168, 112},
                                    {232, 80, 72},
                                    {248, 216, 80},
                                    {248, 248, 240},
                                    {240, 152, 184},
                                    {240, 160, 72},
                                    {128, 152, 240},
                                    {168, 136, 88}});
    set[kWaterPalette] = palette({{0, 0, 0},
                                  {40, 72, 128},
                                  {56, 112, 200},
                                  {80, 144, 232},
                                  {128, 184, 248},
                                  {232, 244, 248},
                                  {248, 232, 184},
                                  {232, 208, 144},
                                  {200, 168, 112},
                                  {152, 216, 112},
                                  {120, 192, 88},
                                  {88, 160, 72},
                                  {176, 176, 168},
                                  {136, 136, 128},
                                  {96, 96, 96},
                                  {200, 176, 128}});
    set[kTreePalette] = palette({{0, 0, 0},
                                 {24, 56, 40},
                                 {40, 104, 56},
                                 {64, 144, 72},
                                 {104, 184, 88},
                                 {168, 224, 120},
                                 {88, 56, 32},
                                 {136, 88, 48},
                                 {176, 128, 80},
                                 {80, 144, 64},
                                 {240, 208, 152},
                                 {208, 168, 112},
                                 {144, 104, 64},
                                 {208, 208, 200},
                                 {160, 160, 152},
                                 {104, 104, 104}});
    return set;
}

PaletteSet townPalettes() {
    PaletteSet set(16, greys());
    set[kRedHousePalette] = house({152, 40, 40}, {200, 72, 56}, {232, 112, 80}, {248, 160, 120});
    set[kBlueHousePalette] = house({40, 64, 144}, {64, 104, 200}, {104, 144, 232}, {160, 192, 248});
    set[kTealHousePalette] = house({32, 112, 104}, {48, 152, 136}, {96, 192, 168}, {168, 224, 200});
    return set;
}

PaletteSet roomPalettes() {
    PaletteSet set(16, greys());
    set[kRoomPalette] = palette({{0, 0, 0},
                                 {48, 40, 48},
                                 {224, 184, 128},
                                 {200, 152, 96},
                                 {160, 112, 72},
                                 {248, 240, 216},
                                 {224, 208, 176},
                                 {200, 176, 144},
                                 {128, 88, 64},
                                 {16, 16, 24},
                                 {136, 192, 240},
                                 {216, 240, 248},
                                 {248, 248, 248},
                                 {200, 72, 64},
                                 {232, 128, 104},
                                 {144, 48, 48}});
    return set;
}

PaletteSet furniturePalettes() {
    PaletteSet set(16, greys());
    set[kFurniturePalette] = palette({{0, 0, 0},
                                      {48, 32, 32},
                                      {112, 72, 40},
                                      {160, 104, 56},
                                      {208, 152, 96},
                                      {168, 40, 48},
                                      {216, 72, 72},
                                      {240, 136, 128},
                                      {248, 248, 240},
                                      {200, 200, 216},
                                      {64, 96, 200},
                                      {64, 160, 88},
                                      {232, 192, 64},
                                      {40, 120, 56},
                                      {96, 184, 80},
                                      {192, 104, 64}});
    set[kRugPalette] = palette({{0, 0, 0},
                                {32, 40, 80},
                                {48, 72, 152},
                                {72, 104, 200},
                                {136, 168, 232},
                                {232, 200, 96},
                                {64, 64, 72},
                                {136, 136, 144},
                                {96, 176, 216},
                                {192, 232, 248},
                                {248, 248, 248}});
    return set;
}

}  // namespace quillon::mkdemo
