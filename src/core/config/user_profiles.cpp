#include "core/config/user_profiles.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/base/ini_file.h"
#include "core/errors.h"
#include "core/files/file_replace.h"

namespace quillon {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

// The section a line opens ("[name]", blanks around allowed), or nothing.
std::optional<std::string> sectionOf(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.pop_back();
    }
    const std::size_t open = line.find_first_not_of(" \t");
    if (open == std::string::npos || line[open] != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return line.substr(open + 1, line.size() - open - 2);
}

// The files may be too large only by mistake; a profile file is a few kilobytes.
constexpr std::uintmax_t kMaxProfileFile = 16u << 20;

std::string readText(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return {};
    }
    const std::vector<std::uint8_t> bytes = readWholeFile(file, kMaxProfileFile);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

ProfileSource chooseProfile(const IniFile& shipped, const IniFile& user, const std::string& title,
                            int revision) {
    const std::string own = title + " 1." + std::to_string(revision);
    for (const std::string& section : {own, title}) {
        for (const IniFile* file : {&user, &shipped}) {
            if (file->sectionExists(section)) {
                return {file, section};
            }
        }
    }
    return {&shipped, title};
}

std::string withSection(const std::string& text, const std::string& section,
                        const std::string& sectionText) {
    std::istringstream in(text);
    std::string out;
    std::string line;
    bool inside = false;
    bool placed = false;
    while (std::getline(in, line)) {
        if (const auto name = sectionOf(line)) {
            inside = lowered(*name) == lowered(section);
            if (inside && !placed) {
                out += sectionText + "\n";
                placed = true;
            }
        }
        if (!inside) {
            out += line + "\n";
        }
    }
    if (!placed) {
        out += (out.empty() || out.ends_with("\n\n") ? "" : "\n") + sectionText + "\n";
    }
    return out;
}

void storeProfileSection(const std::filesystem::path& file, const std::string& section,
                         const std::string& sectionText) {
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) {
            throw RomIoError(
                message("profiles.no_folder", {file.parent_path().string(), ec.message()}));
        }
    }
    const std::string text = withSection(readText(file), section, sectionText);
    replaceFile(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace quillon
