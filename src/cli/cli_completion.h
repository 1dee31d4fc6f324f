#pragma once

#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// A bash completion script for the program, made from the commands of app as they are when
// it is called: every subcommand that --help lists (hidden ones left out), its options and
// flags, and the program's own options. A word that starts with "-" completes to the options
// of the command typed before it, the first other word to a command, any later word (the ROM,
// an output file, ...) and the value of an option that takes one to a file name. program is
// the name the script completes for ("quillon-cli").
std::string bashCompletion(const CLI::App& app, const std::string& program);

}  // namespace quillon::cli
