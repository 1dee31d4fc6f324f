#pragma once

#include <string>
#include <vector>

#include "core/text/message.h"

namespace quillon {

class TRom;
class CharTable;
struct GameProfile;

// Map names 0 .. AnzMapNamen: Ruby/Sapphire/Emerald keep 8-byte records with the name
// pointer at +4, FireRed/LeafGreen plain 4-byte pointers. Empty names when the game has no
// name table. A name pointer past the end of the file gives an empty name and a warning.
std::vector<std::string> readMapNames(TRom& rom, const GameProfile& profile,
                                      const CharTable& chars, std::vector<Message>& warnings);

// "Bitte wählen" followed by the 411 species names (records of Namenlänge bytes, at most
// Namenlänge - 1 characters each). Records past the end of the file read as empty names.
std::vector<std::string> readPokemonNames(TRom& rom, const GameProfile& profile,
                                          const CharTable& chars);

}  // namespace quillon
