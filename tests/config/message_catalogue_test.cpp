#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "core/base/ini_file.h"
#include "core/config/language_table.h"
#include "core/errors.h"
#include "core/tables/table_check.h"
#include "core/text/message_catalogue.h"

namespace quillon {
namespace {

std::set<int> oneTo(int n) {
    std::set<int> numbers;
    for (int i = 1; i <= n; ++i) {
        numbers.insert(i);
    }
    return numbers;
}

// Arguments go in once, in any order; plurals follow their number; an argument's own text is
// never read as a placeholder.
TEST(MessageCatalogue, FillsArgumentsPluralsAndCapitals) {
    const struct {
        const char* text;
        std::vector<std::string> args;
        const char* filled;
    } cases[] = {
        {"%2 vor %1", {"a", "b"}, "b vor a"},
        {"%^1 bei %2", {"die Bank-Tabelle", "$3526A8"}, "Die Bank-Tabelle bei $3526A8"},
        {"%1 {1:Eintrag|Einträge}", {"1"}, "1 Eintrag"},
        {"%1 {1:Eintrag|Einträge}", {"11"}, "11 Einträge"},
        {"%1 {1:record|records}", {"0"}, "0 records"},
        {"%1 %2", {"%2", "x"}, "%2 x"},
        {"100%% von %1", {"8"}, "100% von 8"},
        {"%1 und %3", {"a"}, "a und %3"},
        {"{kein Plural}", {}, "{kein Plural}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillMessageText(c.text, c.args), c.filled) << c.text;
    }
    EXPECT_EQ(messagePlaceholders("%^1 bei %2 (%3 {4:a|b}) 100%%"), oneTo(4));
}

// An error made from a message keeps it and says the German sentence it always said; nested
// messages go into the same language as the whole.
TEST(MessageCatalogue, ErrorsKeepTheirMessageAndTheGermanSentence) {
    const Message failure = tables::failureMessage(
        tables::Table::Banks, 0x3526A8, message("table.why.no_map_tables"), "POKEMON FIRE");
    const DataError error(failure);
    EXPECT_EQ(std::string(error.what()),
              "Die Bank-Tabelle bei $3526A8 enthält keine Map-Tabellen: dieses Rom passt nicht "
              "zum Profil \"POKEMON FIRE\".");
    EXPECT_EQ(error.message().id, "table.failure");
    const IniFile shipped(QUILLON_SHIPPED_LANGUAGES);
    EXPECT_EQ(MessageCatalogue(shipped, "English").text(error.message()),
              "the bank table at $3526A8 does not hold map tables: this ROM does not match the "
              "profile \"POKEMON FIRE\"");
    EXPECT_EQ(MessageCatalogue(shipped, "Deutsch").text(error.message()), error.what());
    // The window's language table: the chosen section, German before any is chosen.
    LanguageTable lang(shipped);
    EXPECT_EQ(lang.text(error.message()), error.what());
    lang.setCurrent("English");
    EXPECT_EQ(lang.text(error.message()), MessageCatalogue(shipped, "English").text(failure));
    // A sentence without an id stays what it was.
    const Error plain("Es ist kein Rom geladen.");
    EXPECT_FALSE(plain.message().hasId());
    EXPECT_EQ(MessageCatalogue(shipped, "English").text(plain.message()), plain.what());
}

// Each id has a text in every language section of the shipped language file (the German one
// the program's own), each text takes exactly the id's arguments, and the file holds no id the
// program does not know (a plural mark only for a known id).
TEST(MessageCatalogue, EveryIdHasTextsWithItsArgumentsInEveryLanguage) {
    const IniFile shipped(QUILLON_SHIPPED_LANGUAGES);
    ASSERT_TRUE(shipped.exists());
    std::set<std::string_view> ids;
    for (const MessageDef& def : messageDefs()) {
        SCOPED_TRACE(std::string(def.id));
        EXPECT_TRUE(ids.insert(def.id).second) << "twice in the list";
        EXPECT_EQ(messagePlaceholders(def.german), oneTo(def.args));
        for (const char* section : {"Deutsch", "English"}) {
            SCOPED_TRACE(section);
            const std::string key(def.id);
            ASSERT_TRUE(shipped.hasKey(section, key)) << "no text";
            EXPECT_EQ(messagePlaceholders(shipped.readString(section, key, "")), oneTo(def.args));
        }
        EXPECT_EQ(shipped.readString("Deutsch", std::string(def.id), ""), def.german);
    }
    for (const std::string& section : shipped.sections()) {
        for (const std::string& key : shipped.keys(section)) {
            if (key.find('.') == std::string::npos) {
                continue;  // an interface text by number
            }
            // A name's grammatical number ("place.name.palettes.plural=1") goes with its id.
            const std::string marker = ".plural";
            const bool plural = key.ends_with(marker);
            const std::string id = plural ? key.substr(0, key.size() - marker.size()) : key;
            EXPECT_TRUE(findMessageDef(id)) << section << ": " << key << " is no id";
        }
    }
}

// Every id the code names is in the list, and every id of the list is named in the code: a
// string literal of one of the catalogue's families ("table.", "import.", ...) counts.
TEST(MessageCatalogue, TheCodeUsesExactlyTheListedIds) {
    std::set<std::string> families;
    for (const MessageDef& def : messageDefs()) {
        families.insert(std::string(def.id.substr(0, def.id.find('.'))));
    }
    const std::regex literal("\"([a-z]+)\\.([a-z_.]+)\"");
    std::map<std::string, std::string> used;  // id -> file
    const std::filesystem::path src(QUILLON_SOURCE_DIR);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if ((ext != ".cpp" && ext != ".h") || entry.path().filename() == "message_texts.cpp") {
            continue;
        }
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string code = text.str();
        for (std::sregex_iterator m(code.begin(), code.end(), literal), end; m != end; ++m) {
            if (families.count((*m)[1].str()) != 0) {
                used[(*m)[1].str() + "." + (*m)[2].str()] = entry.path().filename().string();
            }
        }
    }
    for (const auto& [id, file] : used) {
        EXPECT_TRUE(findMessageDef(id)) << file << " uses " << id << ", which has no text";
    }
    for (const MessageDef& def : messageDefs()) {
        EXPECT_EQ(used.count(std::string(def.id)), 1u) << def.id << " is not used";
    }
}

}  // namespace
}  // namespace quillon
