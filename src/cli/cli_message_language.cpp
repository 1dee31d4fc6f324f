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
        return message.text;
    }
    return messageLanguage().catalogue.text(message);
}

std::string titleText(const Message& title) { return messageLanguage().catalogue.text(title); }

std::string errorText(const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    return own ? messageText(own->message()) : error.what();
}

}  // namespace quillon::cli
