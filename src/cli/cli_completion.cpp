#include "cli/cli_completion.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <sstream>
#include <vector>

namespace quillon::cli {

namespace {

// What one command offers: every option name, and those that take a value.
struct Words {
    std::string all;
    std::string withValue;
};

void append(std::string& list, const std::string& word) {
    list += (list.empty() ? "" : " ") + word;
}

// A command's options as CLI11 holds them; positional arguments are typed, not completed.
Words optionWords(const CLI::App& command) {
    Words words;
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_group().empty()) {
            continue;  // hidden
        }
        std::vector<std::string> names;
        for (const std::string& name : option->get_snames()) {
            names.push_back("-" + name);
        }
        for (const std::string& name : option->get_lnames()) {
            names.push_back("--" + name);
        }
        for (const std::string& name : names) {
            append(words.all, name);
            if (option->get_items_expected_max() > 0) {
                append(words.withValue, name);
            }
        }
    }
    return words;
}

std::vector<const CLI::App*> listedCommands(const CLI::App& app) {
    return app.get_subcommands(
        [](const CLI::App* command) { return !command->get_group().empty(); });
}

// The part of the script that picks a command's words: one case per command.
std::string commandCases(const CLI::App& app) {
    std::ostringstream out;
    Words top = optionWords(app);
    for (const CLI::App* command : listedCommands(app)) {
        append(top.all, command->get_name());
    }
    out << "        '') words='" << top.all << "' values='" << top.withValue << "' ;;\n";
    for (const CLI::App* command : listedCommands(app)) {
        const Words words = optionWords(*command);
        out << "        " << command->get_name() << ") words='" << words.all << "' values='"
            << words.withValue << "' ;;\n";
    }
    out << "        *) words='' values='' ;;\n";
    return out.str();
}

// Options of the program itself that take a value come before the command: a case pattern
// that skips them with their value ("--lang").
std::string topValuePattern(const CLI::App& app) {
    std::string pattern = optionWords(app).withValue;
    for (char& c : pattern) {
        c = c == ' ' ? '|' : c;
    }
    return pattern.empty() ? std::string("--") : pattern;
}

}  // namespace

std::string bashCompletion(const CLI::App& app, const std::string& program) {
    std::string function = "_";
    for (char c : program) {
        function += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    std::ostringstream out;
    out << "# bash completion for " << program << ", made by \"" << program
        << " completion bash\" from the program's own commands.\n"
        << function << "() {\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        << "    local command='' words values i\n"
        << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        << "        case ${COMP_WORDS[i]} in\n"
        << "            " << topValuePattern(app) << ") ((i++)) ;;\n"
        << "            -*) ;;\n"
        << "            *) command=${COMP_WORDS[i]}; break ;;\n"
        << "        esac\n"
        << "    done\n"
        << "    case $command in\n"
        << commandCases(app) << "    esac\n"
        << "    if [[ $COMP_CWORD -gt 1 && \" $values \" == *\" $prev \"* ]] ||\n"
        << "        [[ -n $command && $cur != -* ]]; then\n"
        << "        compopt -o filenames 2> /dev/null\n"
        << "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
        << "    else\n"
        << "        mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n"
        << "    fi\n"
        << "}\n"
        << "complete -F " << function << " " << program << "\n";
    return out.str();
}

}  // namespace quillon::cli
