#pragma once

#include <optional>
#include <string>

namespace quillon::cli {

// The English text of a refusal of the core's placement check (the names of the ranges
// included: "Block-Grid von 3.0" -> "the grid of map 3.0"); nullopt for any other message.
std::optional<std::string> englishPlacementMessage(const std::string& coreMessage);

}  // namespace quillon::cli
