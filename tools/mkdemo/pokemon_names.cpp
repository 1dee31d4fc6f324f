#include "tools/mkdemo/pokemon_names.h"

#include <set>

#include "tools/mkdemo/canvas.h"

namespace quillon::mkdemo {

namespace {

constexpr const char* kStarts[] = {"BRA", "MO",  "ZI",  "TOR",  "KEL", "FU",  "NIX", "SPRI",
                                   "GLO", "PEB", "VO",  "QUIL", "DRA", "LU",  "SKA", "BOM",
                                   "FER", "WI",  "CRA", "TA",   "MUR", "SNO", "PI",  "GRU"};
constexpr const char* kMiddles[] = {"LA", "RO", "VI", "DE", "MU", "KI", "SA", "NE",
                                    "TO", "BI", "ZA", "LO", "PE", "RU", "FI", "GA"};
constexpr const char* kEnds[] = {"PUP",  "MANE", "LING", "TUSK",  "WING", "FIN", "BUD",
                                 "SNAP", "CLAW", "KIT",  "ROOT",  "DOOM", "PIX", "NUT",
                                 "FANG", "LOP",  "MOTH", "SHELL", "ORB",  "TAIL"};

}  // namespace

std::vector<std::string> demoPokemonNames() {
    Rng rng(411);
    std::set<std::string> seen;
    std::vector<std::string> names;
    while (names.size() < 411) {
        std::string name = kStarts[rng.below(std::size(kStarts))];
        if (rng.chance(45)) {
            name += kMiddles[rng.below(std::size(kMiddles))];
        }
        name += kEnds[rng.below(std::size(kEnds))];
        if (name.size() <= 10 && seen.insert(name).second) {
            names.push_back(name);
        }
    }
    return names;
}

}  // namespace quillon::mkdemo
