#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::cli {

// A species as the command line takes it, for the place where (e.g. "grass.3"): a number of
// the species list the wild tab's boxes show (0 to its last entry; current, the value the
// slot holds, is taken as it is even outside the list, as the window keeps it), or a name of
// that list, case-insensitive, that names exactly one species. Throws Error naming the text.
std::uint16_t speciesArgument(const std::vector<std::string>& names, const std::string& where,
                              const std::string& text, std::uint16_t current);

// A name given beside a species number ("name" of the printed slots) must be its name, so an
// edited name is not silently ignored. An empty name says nothing. Throws Error.
void requireSpeciesName(const std::vector<std::string>& names, const std::string& where,
                        std::uint16_t species, const std::string& name);

}  // namespace quillon::cli
