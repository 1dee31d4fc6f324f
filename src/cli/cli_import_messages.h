#pragma once

#include <optional>
#include <string>

namespace quillon::cli {

// The English text of a refusal of a tile or palette import (the picture, the palette file,
// the tileset's data); nullopt for any other message.
std::optional<std::string> englishImportMessage(const std::string& coreMessage);

}  // namespace quillon::cli
