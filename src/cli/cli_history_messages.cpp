#include <optional>
#include <regex>
#include <vector>

#include "cli/cli_messages.h"

namespace quillon::cli {

namespace {

struct NameRule {
    std::regex german;
    const char* english;
};

// The names the editor gives its transactions ("Wetter ändern 3.0"), each with the rest of
// the name (the map, the block) kept.
const std::vector<NameRule>& nameRules() {
    static const std::vector<NameRule> kRules{
        {std::regex(R"x(^Header ändern(.*)$)x"), "Change header$1"},
        {std::regex(R"x(^Tilesets ändern(.*)$)x"), "Change tilesets$1"},
        {std::regex(R"x(^Grösse ändern(.*)$)x"), "Resize$1"},
        {std::regex(R"x(^Wetter ändern(.*)$)x"), "Change weather$1"},
        {std::regex(R"x(^Namens-Index ändern(.*)$)x"), "Change name index$1"},
        {std::regex(R"x(^Typ ändern(.*)$)x"), "Change type$1"},
        {std::regex(R"x(^Musik ändern(.*)$)x"), "Change music$1"},
        {std::regex(R"x(^Namen anzeigen ändern(.*)$)x"), "Change show name$1"},
        {std::regex(R"x(^Namen ändern(.*)$)x"), "Rename map$1"},
        {std::regex(R"x(^Map einfügen(.*)$)x"), "Insert map$1"},
        {std::regex(R"x(^Anbindungen speichern(.*)$)x"), "Save connections$1"},
        {std::regex(R"x(^Gegenstück anlegen(.*)$)x"), "Add the way back$1"},
        {std::regex(R"x(^Event menge(.*)$)x"), "Change event counts$1"},
        {std::regex(R"x(^Block speichern(.*)$)x"), "Save block$1"},
        {std::regex(R"x(^Tileset laden(.*)$)x"), "Import tiles of tileset$1"},
        {std::regex(R"x(^Palette laden(.*)$)x"), "Import palette$1"},
        {std::regex(R"x(^WildePokemon speichern(.*)$)x"), "Save wild encounters$1"},
        {std::regex(R"x(^Map speichern unter(.*)$)x"), "Save map as$1"},
        {std::regex(R"x(^Map speichern(.*)$)x"), "Save map$1"},
    };
    return kRules;
}

std::string plainName(const std::string& name) {
    for (const NameRule& rule : nameRules()) {
        if (std::regex_match(name, rule.german)) {
            return std::regex_replace(name, rule.german, rule.english);
        }
    }
    return name;
}

}  // namespace

std::string englishTransactionName(const std::string& name) {
    // "Rückgängig: <name> (und 2 weitere)"
    static const std::regex kTurned(R"x(^(Rückgängig|Wiederherstellen): (.*?)( \(und (\d+) )x"
                                    R"x(weitere\))?$)x");
    std::smatch m;
    if (!std::regex_match(name, m, kTurned)) {
        return plainName(name);
    }
    std::string out = (m[1].str() == "Rückgängig" ? "Undo: " : "Redo: ") + plainName(m[2].str());
    if (m[3].matched) {
        out += " (and " + m[4].str() + " more)";
    }
    return out;
}

std::string englishQuotedNames(const std::string& text) {
    static const std::regex kQuoted("\"([^\"]*)\"");
    std::string out;
    auto begin = text.cbegin();
    std::smatch m;
    while (std::regex_search(begin, text.cend(), m, kQuoted)) {
        out.append(begin, m[0].first);
        out += "\"" + englishTransactionName(m[1].str()) + "\"";
        begin = m[0].second;
    }
    out.append(begin, text.cend());
    return out;
}

namespace {

// Why a history file does not belong to the ROM.
const std::vector<NameRule>& reasonRules() {
    static const std::vector<NameRule> kRules{
        {std::regex(R"x(^das Rom hat (\d+) Bytes, der Verlauf gehört zu (\d+) Bytes$)x"),
         "the ROM has $1 bytes, the history belongs to one of $2 bytes"},
        {std::regex(R"x(^das Rom enthält die Bytes des letzten Eintrags "(.*)" nicht$)x"),
         "the ROM does not hold the bytes of its last entry \"$1\""},
        {std::regex(R"x(^ein Eintrag liegt hinter dem Ende des Roms$)x"),
         "an entry lies past the end of the ROM"},
        {std::regex(R"x(^das Rom enthält bei (.*) weder die alten noch die neuen Bytes der )x"
                    R"x(unvollendeten Änderung "(.*)"$)x"),
         "the ROM holds neither the old nor the new bytes of the unfinished transaction \"$2\" "
         "at $1"},
        {std::regex(R"x(^er stammt von einer früheren Datei dieses Namens$)x"),
         "it belongs to an earlier file of this name"},
        {std::regex(R"x(^er kann nicht gelesen werden \(kein Verlauf oder eine unbekannte )x"
                    R"x(Version\)$)x"),
         "it cannot be read (no history, or an unknown version)"},
        {std::regex(R"x(^er kann nicht gelesen werden \((.*)\)$)x"), "it cannot be read ($1)"},
    };
    return kRules;
}

std::string translated(const std::vector<NameRule>& rules, const std::string& text) {
    for (const NameRule& rule : rules) {
        if (std::regex_match(text, rule.german)) {
            return std::regex_replace(text, rule.german, rule.english);
        }
    }
    return text;
}

struct Nested {
    std::regex german;
    std::string (*english)(const std::smatch& m);
};

// Messages of the history that carry another message or a reason inside them.
const std::vector<Nested>& nestedRules() {
    static const std::vector<Nested> kRules{
        {std::regex(R"x(^Der Verlauf "(.*)" gehört nicht zu diesem Rom: (.*)\. Er wurde nicht )x"
                    R"x(angewendet und als "(.*)" beiseitegelegt\.$)x"),
         [](const std::smatch& m) {
             return "the history file \"" + m[1].str() + "\" does not belong to this ROM (" +
                    translated(reasonRules(), m[2].str()) +
                    "); it was not applied and was set aside as \"" + m[3].str() + "\"";
         }},
        {std::regex(R"x(^Der Verlauf "(.*)" gehört nicht zu diesem Rom: (.*)\. Er wurde nicht )x"
                    R"x(angewendet und bleibt unverändert liegen\.$)x"),
         [](const std::smatch& m) {
             return "the history file \"" + m[1].str() + "\" does not belong to this ROM (" +
                    translated(reasonRules(), m[2].str()) + "); it was not applied and is left as it is";
         }},
        {std::regex(R"x(^Der Verlauf "(.*)" gehört nicht zu diesem Rom: (.*)\. Er konnte nicht )x"
                    R"x(beiseitegelegt werden; der Verlauf wird nur im Speicher geführt\.$)x"),
         [](const std::smatch& m) {
             return "the history file \"" + m[1].str() + "\" does not belong to this ROM (" +
                    translated(reasonRules(), m[2].str()) +
                    "); it could not be set aside, so this run keeps its history in memory only";
         }},
        {std::regex(R"x(^Die Änderung ist im Rom, aber ihr Abschluss im Verlauf ist nicht )x"
                    R"x(sicher auf der Platte: (.*)$)x"),
         [](const std::smatch& m) {
             return "warning: the change is in the ROM, but the history's record of its end may "
                    "not be on the disk (" + englishMessage(m[1].str()) +
                    "); after a power cut, quillon-cli recover ROM --complete finishes it";
         }},
        {std::regex(R"x(^Der Verlauf "(.*)" konnte nicht gekürzt werden und bleibt größer als )x"
                    R"x(eingestellt: (.*)$)x"),
         [](const std::smatch& m) {
             return "warning: the history file \"" + m[1].str() + "\" could not be shortened "
                    "and stays larger than its bounds (" + englishMessage(m[2].str()) + ")";
         }},
        {std::regex(R"x(^Der Verlauf "(.*)" konnte nicht (.+?) werden: (.*)$)x"),
         [](const std::smatch& m) {
             return "the history file \"" + m[1].str() + "\" cannot be used: " + m[3].str();
         }},
    };
    return kRules;
}

const std::vector<std::pair<std::regex, const char*>>& historyRules() {
    static const std::vector<std::pair<std::regex, const char*>> kRules{
        {std::regex(R"x(^Der Verlauf "(.*)" wird gerade von einem anderen Programm geschrieben; )x"
                    R"x(es wurde nichts geschrieben\. Bitte später noch einmal versuchen\.$)x"),
         "the history file \"$1\" is being written by another program; nothing was written. "
         "Try again in a moment"},
        {std::regex(R"x(^Der Verlauf "(.*)" wurde von einem anderen Programm ersetzt und passt )x"
                    R"x(nicht zu diesem Rom; es wurde nichts geschrieben\.$)x"),
         "the history file \"$1\" was replaced by another program and does not fit this ROM; "
         "nothing was written"},
        {std::regex(R"x(^"(.*)" wird nicht geschrieben: das Rom wurde bei (.*) von anderer Seite )x"
                    R"x(geändert, seit der Befehl es gelesen hat\. Es wurde nichts geschrieben\.$)x"),
         "\"$1\" is refused: another program changed the ROM at $2 since the command read it; "
         "nothing was written"},
        {std::regex(R"x(^"(.*)" wird nicht (vollendet|zurückgenommen): das Rom enthält bei (.*) )x"
                    R"x(weder die alten noch die neuen Bytes\. Es wurde nichts geschrieben\.$)x"),
         "\"$1\" is not resolved: the ROM holds neither its old nor its new bytes at $3 (the "
         "history belongs to another ROM, or the ROM was changed since); nothing was written"},
        {std::regex(R"x(^Die Rom-Datei "(.*)" wurde ersetzt, seit sie geöffnet wurde; bitte neu )x"
                    R"x(laden\. Es wurde nichts geschrieben\.$)x"),
         "the ROM file \"$1\" was replaced on the disk since it was opened; reload it. Nothing "
         "was written"},
        {std::regex(R"x(^Im Verlauf steht eine unvollendete Änderung \("(.*)"\); sie muss )x"
                    R"x(zuerst vollendet oder zurückgenommen werden\.$)x"),
         "the history holds an unfinished transaction (\"$1\"); resolve it first with "
         "quillon-cli recover ROM --complete or --rollback"},
    };
    return kRules;
}

}  // namespace

std::optional<std::string> englishHistoryMessage(const std::string& text) {
    for (const Nested& rule : nestedRules()) {
        std::smatch m;
        if (std::regex_match(text, m, rule.german)) {
            return rule.english(m);
        }
    }
    for (const auto& [german, english] : historyRules()) {
        if (std::regex_match(text, german)) {
            return std::regex_replace(text, german, english);
        }
    }
    return std::nullopt;
}

}  // namespace quillon::cli
