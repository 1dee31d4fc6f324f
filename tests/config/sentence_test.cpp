#include "core/text/sentence.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// A catalogue text in the command line's style becomes a sentence; one that is a sentence
// already keeps its every byte.
TEST(Sentence, CapitalisesAndEndsWithOneMark) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"the bank table at $3526A8 holds no map tables",
         "The bank table at $3526A8 holds no "
         "map tables."},
        {"Die Datei ist kein Rom.", "Die Datei ist kein Rom."},
        {"Fertig gesucht!", "Fertig gesucht!"},
        {"save anyway?", "Save anyway?"},
        {"found tables:", "Found tables:"},
        {"the picture \"a.png\" cannot be read", "The picture \"a.png\" cannot be read."},
        {"it says \"0100.\"", "It says \"0100.\""},
        {"(part 2)", "(part 2)."},
        {"äußere Bank", "Äußere Bank."},
        {"überall", "Überall."},
        {"$3526A8 is taken", "$3526A8 is taken."},
        {"done  \n", "Done."},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sentence(c.text), c.shown) << c.text;
    }
}

}  // namespace
}  // namespace quillon
