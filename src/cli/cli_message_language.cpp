#include <string>

#include "cli/cli_messages.h"
#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/text/message_catalogue.h"

namespace quillon::cli {

namespace {

// The texts of the language the tool prints in, chosen once per run.
struct MessageLanguage {
    IniFile file;
    MessageCatalogue catalogue;
};

MessageLanguage& messageLanguage() {
    static MessageLanguage language;
    return language;
}

// The message with each plain argument that is a sentence of the core without an id put into
// English by the rules, so a message with an id that carries such a sentence reads in one
// language. German keeps them as they are.
Message withEnglishSentences(const Message& message) {
    if (!message.hasId()) {
        return Message(englishMessage(message.text));
    }
    Message out = message;
    for (Message& arg : out.args) {
        arg = withEnglishSentences(arg);
    }
    return out;
}

}  // namespace

void setMessageLanguage(const std::filesystem::path& languageFile, const std::string& section) {
    MessageLanguage& language = messageLanguage();
    language.file = IniFile(languageFile);
    if (language.file.exists() && !language.file.sectionExists(section)) {
        std::string known;
        for (const std::string& name : language.file.sections()) {
            known += (known.empty() ? "" : ", ") + name;
        }
        throw Error("--lang: " + languageFile.string() + " has no section \"" + section +
                    "\" (it has " + known + ")");
    }
    language.catalogue = MessageCatalogue(language.file, section);
}

std::string messageText(const Message& message) {
    if (!message.hasId()) {
        return englishMessage(message.text);
    }
    const MessageCatalogue& catalogue = messageLanguage().catalogue;
    if (catalogue.section() == "Deutsch") {
        return catalogue.text(message);
    }
    return catalogue.text(withEnglishSentences(message));
}

std::string titleText(const Message& title) { return messageLanguage().catalogue.text(title); }

std::string errorText(const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    return own ? messageText(own->message()) : englishMessage(error.what());
}

}  // namespace quillon::cli
