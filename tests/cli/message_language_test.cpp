#include <gtest/gtest.h>

#include "cli/cli_messages.h"
#include "core/errors.h"

namespace quillon {
namespace {

// Every test of the tool reads messages in the language file's English section, as the tool
// does unless --lang chooses another.
class EnglishMessages : public ::testing::Environment {
public:
    void SetUp() override { cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English"); }
};

[[maybe_unused]] const auto* const kEnglish =
    ::testing::AddGlobalTestEnvironment(new EnglishMessages);

// --lang: a message with an id reads in the chosen section; one without an id (the tool's own
// English sentence) prints as it is; a section the file lacks is refused, naming the ones it has.
TEST(CliMessageLanguage, TheChosenSectionGivesTheText) {
    const Error withId(message("import.width", {"120"}));
    const Error withoutId("--fill: \"7\" is neither 00 nor FF");
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "Deutsch");
    EXPECT_EQ(cli::errorText(withId),
              "Das Bild ist 120 Pixel breit; ein Tileset-Bild ist 128 Pixel (16 Tiles) breit.");
    EXPECT_EQ(cli::errorText(withoutId), "--fill: \"7\" is neither 00 nor FF");
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
    EXPECT_EQ(cli::errorText(withoutId), "--fill: \"7\" is neither 00 nor FF");
    EXPECT_EQ(cli::errorText(withId),
              "the picture is 120 pixels wide; a tileset picture is 128 pixels (16 tiles) wide");
    EXPECT_THROW(
        {
            try {
                cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "Klingonisch");
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find("(it has Deutsch, English)"),
                          std::string::npos)
                    << e.what();
                throw;
            }
        },
        Error);
    cli::setMessageLanguage(QUILLON_SHIPPED_LANGUAGES, "English");
}

}  // namespace
}  // namespace quillon
