#include "tools/mkdemo/sprite_people.h"

#include <initializer_list>
#include <string_view>
#include <utility>

namespace quillon::mkdemo {

namespace {

using namespace person_ink;

constexpr int kWidth = 16, kHeight = 32;

// Rows of the left half; each letter is drawn at x and mirrored at width - 1 - x.
void mirrored(Canvas& c, int y, std::initializer_list<std::string_view> halves,
              std::initializer_list<Ink> inks) {
    int j = 0;
    for (std::string_view half : halves) {
        for (int i = 0; i < static_cast<int>(half.size()); ++i) {
            for (const Ink& ink : inks) {
                if (ink.key == half[i]) {
                    c.set(i, y + j, ink.colour);
                    c.set(c.width() - 1 - i, y + j, ink.colour);
                }
            }
        }
        ++j;
    }
}

// Which clothes colours a drawing uses.
struct Look {
    std::uint8_t cloth, clothDark;
};

constexpr Look kLookA{kClothA, kClothADark};
constexpr Look kLookB{kClothB, kClothBDark};

// Face from the row under the fringe (14) to the neck (20): ears, eyes, mouth.
void face(Canvas& c) {
    mirrored(c, 14,
             {"..ssssss", ".ssssess", ".ssssess", "..ssssss", "..Sssssm", "...SSsss", ".....SSS"},
             {{'s', kSkin}, {'S', kSkinShade}, {'m', kSkinShade}, {'e', kLine}});
}

// Shirt with arms and hands (rows 21-25), then trousers and shoes down to row 30.
void shirtAndTrousers(Canvas& c, const Look& look) {
    mirrored(c, 21,
             {"...ccccc", "..cccccc", ".cCccccc", ".cCccccc", ".sCccccc", "..TTTTTT", "..tttttt",
              "..tttttT", "..ttttt.", "..ffff.."},
             {{'c', look.cloth},
              {'C', look.clothDark},
              {'s', kSkin},
              {'t', kLegs},
              {'T', kLegsDark},
              {'f', kShoe}});
}

// A dress from the shoulders; a short one shows the legs above the shoes.
void dress(Canvas& c, const Look& look, bool longDress) {
    mirrored(c, 21,
             {"...ccccc", "..cccccc", ".cCccccc", ".cCccccc", ".sCCcccc", "..cccccc", "..cCcccc"},
             {{'c', look.cloth}, {'C', look.clothDark}, {'s', kSkin}});
    const std::initializer_list<std::string_view> shortHem{".cCccccc", "...ss...", "...ff..."};
    const std::initializer_list<std::string_view> longHem{"..cCcccc", "..cccccc", "...ff..."};
    mirrored(c, 28, longDress ? longHem : shortHem,
             {{'c', look.cloth}, {'C', look.clothDark}, {'s', kSkin}, {'f', kShoe}});
}

}  // namespace

Canvas drawBoy() {
    Canvas c(kWidth, kHeight);
    face(c);
    shirtAndTrousers(c, kLookA);
    mirrored(c, 7,
             {"....hhhh", "..hhhhhh", ".hhhhhhh", ".hhhhhhh", ".hhHhhhh", ".hHhhHhh", ".hHhHhHh",
              ".HH....."},
             {{'h', kHairA}, {'H', kHairADark}});
    c.outline(kLine);
    return c;
}

Canvas drawGirl() {
    Canvas c(kWidth, kHeight);
    face(c);
    dress(c, kLookB, false);
    mirrored(c, 7,
             {"....hhhh", "..hhhhhh", ".hhhhhhh", ".hhhhhhh", ".hhhhhhh", ".hhHhhhh", ".hHhhhhh",
              ".hH.....", ".hH.....", ".hH.....", ".hH.....", ".hh.....", ".hH.....", ".hH.....",
              ".hH.....", ".H......"},
             {{'h', kHairB}, {'H', kHairBDark}});
    c.outline(kLine);
    return c;
}

Canvas drawMan() {
    Canvas c(kWidth, kHeight);
    face(c);
    shirtAndTrousers(c, kLookA);
    mirrored(c, 21, {"......ww"}, {{'w', kWhite}});  // collar
    mirrored(c, 7,
             {"...hhhhh", "..hhhhhh", ".hhhhhhh", ".hhhhhhh", ".hhhhhhh", ".hhhhhhh", ".hHHHHHH",
              ".HH....."},
             {{'h', kHairA}, {'H', kHairADark}});
    mirrored(c, 18, {"......HH"}, {{'H', kHairADark}});  // moustache
    c.outline(kLine);
    return c;
}

Canvas drawGran() {
    Canvas c(kWidth, kHeight);
    face(c);
    dress(c, kLookB, true);
    mirrored(c, 4,
             {"......hh", ".....hhh", "......HH", "....hhhh", "..hhhhhh", ".hhhhhhh", ".hhHhhhh",
              ".hHhhhHh", ".hhhhhhh", ".hhhssss", ".hh.....", ".h......"},
             {{'h', kHairB}, {'H', kHairBDark}, {'s', kSkin}});
    mirrored(c, 15, {".....s.."}, {{'s', kSkin}});  // eyes closed in a smile
    c.outline(kLine);
    return c;
}

Canvas drawHiker() {
    Canvas c(kWidth, kHeight);
    face(c);
    shirtAndTrousers(c, kLookA);
    mirrored(c, 22, {"....K...", "....K...", "....K..."}, {{'K', kClothBDark}});  // straps
    mirrored(c, 7,
             {"....KKKK", "..kkkkkk", ".kkkkkkk", ".kkkkkkw", ".kkkkkkk", ".kkkkkkk", ".KKKKKKK",
              ".hh.....", ".h......"},
             {{'k', kClothB}, {'K', kClothBDark}, {'w', kWhite}, {'h', kHairA}});
    c.outline(kLine);
    return c;
}

Canvas drawOwl() {
    using namespace owl_ink;
    Canvas c(32, 32);
    mirrored(c, 3, {"......f", "......ff", ".....fff", ".....ffff"}, {{'f', kFeatherDark}});
    c.ellipse(16, 19, 11, 11.5, kFeather);
    c.shade(16, 9, 8, 3, kFeather, kFeatherLight);
    for (double x : {11.5, 20.5}) {
        c.ellipse(x, 14, 5.5, 5, kFace);
        c.ellipse(x, 14, 3, 3, kEyeWhite);
        c.fill(static_cast<int>(x) - 1, 13, 2, 3, kEye);
        c.set(static_cast<int>(x) - 1, 13, kEyeWhite);
    }
    mirrored(c, 16, {"...............b", "...............b"}, {{'b', kBeak}});
    c.ellipse(6, 21, 3, 7, kFeatherDark);  // wings
    c.ellipse(26, 21, 3, 7, kFeatherDark);
    c.ellipse(16, 24.5, 6.5, 5.5, kBelly);
    constexpr int kMarks[][2] = {{13, 22}, {18, 22}, {15, 25}, {16, 25},
                                 {12, 26}, {19, 26}, {14, 28}, {17, 28}};
    for (const auto& mark : kMarks) {
        c.set(mark[0], mark[1], kBellyMark);
    }
    c.ellipse(12.5, 30.5, 2, 1, kBeak);  // feet
    c.ellipse(19.5, 30.5, 2, 1, kBeak);
    c.outline(kOutline);
    return c;
}

}  // namespace quillon::mkdemo
