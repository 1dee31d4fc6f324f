#pragma once

#include <filesystem>
#include <string>

namespace quillon {

class IniFile;

// Profiles the user stored for ROMs the shipped Ini\Quillon.ini does not fit (a table search's
// result): one file in the user's data folder, read over the shipped one and never mixed into
// it.
inline constexpr const char* kUserProfilesFile = "Profile.ini";

// Which file and section serve a ROM of title and revision: the section for the title and
// revision wins over the title's own one; of two such sections the user's wins.
struct ProfileSource {
    const IniFile* file = nullptr;
    std::string section;
};
ProfileSource chooseProfile(const IniFile& shipped, const IniFile& user, const std::string& title,
                            int revision);

// text (an ini file) with the section named section replaced by sectionText ("[name]" and its
// lines), or sectionText added at the end when text has no such section. Every other line
// stays as it was.
std::string withSection(const std::string& text, const std::string& section,
                        const std::string& sectionText);

// Stores sectionText as the section named section of the profile file: the folder is made
// when missing; the new content goes into a temporary file renamed over the old one, so a
// failed write leaves the file as it was. Throws RomIoError naming the file.
void storeProfileSection(const std::filesystem::path& file, const std::string& section,
                         const std::string& sectionText);

}  // namespace quillon
