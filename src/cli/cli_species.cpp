#include "cli/cli_species.h"

#include <algorithm>
#include <cctype>

#include "core/base/numbers.h"
#include "core/errors.h"

namespace quillon::cli {

namespace {

std::string trimmed(const std::string& text) {
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), space);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), space).base();
    return first < last ? std::string(first, last) : std::string();
}

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// Entry 0 of the list is the boxes' "please choose", no species name.
std::uint16_t speciesByName(const std::vector<std::string>& names, const std::string& where,
                            const std::string& text) {
    std::vector<std::size_t> found;
    for (std::size_t i = 1; i < names.size() && !text.empty(); ++i) {
        if (sameName(trimmed(names[i]), text)) {
            found.push_back(i);
        }
    }
    if (found.empty()) {
        throw Error(message("wild.cli.species_unknown", {where, text}));
    }
    if (found.size() > 1) {
        std::string list;
        for (std::size_t i : found) {
            list += (list.empty() ? "" : ", ") + std::to_string(i);
        }
        throw Error(message("wild.cli.species_ambiguous", {where, text, list}));
    }
    return static_cast<std::uint16_t>(found[0]);
}

}  // namespace

std::uint16_t speciesArgument(const std::vector<std::string>& names, const std::string& where,
                              const std::string& text, std::uint16_t current) {
    const std::string t = trimmed(text);
    const auto number = TryStrToInt(t);
    if (!number) {
        return speciesByName(names, where, t);
    }
    if (*number == current) {
        return current;
    }
    const int last = static_cast<int>(names.size()) - 1;
    if (*number < 0 || *number > last) {
        throw Error(message("wild.cli.out_of_range",
                            {where, message("wild.cli.field.species"), t, std::to_string(last)}));
    }
    return static_cast<std::uint16_t>(*number);
}

void requireSpeciesName(const std::vector<std::string>& names, const std::string& where,
                        std::uint16_t species, const std::string& name) {
    const std::string given = trimmed(name);
    if (given.empty()) {
        return;
    }
    const std::string actual = species > 0 && species < names.size() ? trimmed(names[species]) : "";
    if (!sameName(actual, given)) {
        throw Error(
            message("wild.cli.name_mismatch", {where, std::to_string(species), actual, given}));
    }
}

}  // namespace quillon::cli
