#pragma once

#include <optional>
#include <string>

namespace quillon::cli {

// The English text of a profile table that failed its check when the ROM opened ("Die
// Bank-Tabelle bei $3526A8 enthält keine Map-Tabellen: dieses Rom passt nicht zum Profil
// \"X\"." -> "the bank table at $3526A8 does not hold map tables: this ROM does not match the
// profile \"X\""), also behind an insertion slot's "Bank/Nr 3.0: " ("--slot 3.0: "); nullopt for
// any other text.
std::optional<std::string> englishTableMessage(const std::string& coreMessage);

}  // namespace quillon::cli
