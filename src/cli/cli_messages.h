#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "core/text/message.h"

namespace quillon {

class Session;

namespace cli {

// The command-line tool checks what it is given before the editor's core sees it, so that a
// user reads what is wrong in English, named as they typed it. Each check throws
// quillon::Error with an English message.

// file must exist, be a regular file and carry a GBA cartridge header.
void checkRomFile(const std::filesystem::path& file);

// The open ROM must have a game profile: without it no map can be found.
void checkProfile(Session& session);

// id must name a map of the open ROM: "bank.map" within the bank table, or a section of the
// map name file. Messages read "map 9.9: there is no bank 9 (the ROM has 2 banks)".
void checkMapId(Session& session, const std::string& id);
// Opens map id after checkMapId; core messages come back in English, naming the map.
void openMapForWrite(Session& session, const std::string& id);
// A number argument ("$" hex or decimal) within min..max; what names it in the message.
int numberArgument(const std::string& what, const std::string& text, int min, int max);
// The --fill argument: the byte free space holds, "00" or "FF" (as find-free's --byte).
std::uint8_t fillArgument(const std::string& text);

// The language the tool prints messages with an id in: a section of the language file
// (Ini/Sprachen.ini beside the program; "English" unless --lang chooses another). main sets it
// once before any command runs, for the whole run; until then such messages read in German.
// Throws Error when the file is there but has no such section.
void setMessageLanguage(const std::filesystem::path& languageFile, const std::string& section);
// A message in that language; a message without an id (the tool's own English sentences, a
// plain argument) as its text.
std::string messageText(const Message& message);
// The text of an error: its message when it carries one, else what().
std::string errorText(const std::exception& error);

// A transaction's title as the history holds it, in the tool's language ("Change weather 3.0",
// "Undo: ... (and 2 more)"). The plain German name of an entry an earlier version wrote stays
// as it was stored.
std::string titleText(const Message& title);

}  // namespace cli
}  // namespace quillon
