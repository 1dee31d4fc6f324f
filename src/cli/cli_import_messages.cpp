#include "cli/cli_import_messages.h"

#include <regex>
#include <vector>

namespace quillon::cli {

namespace {

struct Rule {
    std::regex german;
    const char* english;
};

const std::vector<Rule>& importRules() {
    // The tile import's plan says this as a sentence, not by id, so it still needs a rule.
    static const std::vector<Rule> kRules{
        {std::regex(R"x(^Die neuen Tile-Daten \((\d+) Bytes LZ77\) sind länger als die alten )x"
                    R"x(\((\$[0-9A-F]+), (\d+) Bytes\) und brauchen einen neuen Platz\.$)x"),
         "the new tile data ($1 bytes LZ77) are longer than the old ones at $2 ($3 bytes) and "
         "need a new place"},
    };
    return kRules;
}

}  // namespace

std::optional<std::string> englishImportMessage(const std::string& coreMessage) {
    for (const Rule& rule : importRules()) {
        if (std::regex_match(coreMessage, rule.german)) {
            return std::regex_replace(coreMessage, rule.german, rule.english);
        }
    }
    return std::nullopt;
}

}  // namespace quillon::cli
