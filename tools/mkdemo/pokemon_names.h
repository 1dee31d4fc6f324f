#pragma once

#include <string>
#include <vector>

namespace quillon::mkdemo {

// 411 made-up creature names of at most 10 letters, two or three syllables each, all
// different and the same on every run.
std::vector<std::string> demoPokemonNames();

}  // namespace quillon::mkdemo
