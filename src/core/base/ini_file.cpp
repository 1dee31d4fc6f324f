#include "core/base/ini_file.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/base/numbers.h"
#include "core/base/ini_text.h"

namespace quillon {

struct IniFile::Impl {
    CSimpleIniA ini{true, false, false};
    Impl() {
        ini.SetQuotes(true);
        ini.SetSpaces(false);
    }
};

IniFile::IniFile() : m_impl(std::make_unique<Impl>()) {}

IniFile::IniFile(std::filesystem::path path)
    : m_impl(std::make_unique<Impl>()), m_path(std::move(path)) {
    reload();
}

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

void IniFile::reload() {
    m_impl = std::make_unique<Impl>();
    m_exists = false;
    m_text.clear();
    if (m_path.empty()) {
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(m_path, ec)) {
        return;
    }
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        return;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    // NUL bytes would end the parser's input early; a garbled file still yields its good lines.
    std::replace(text.begin(), text.end(), '\0', '\n');
    m_exists = true;
    m_impl->ini.LoadData(text.data(), text.size());
    m_text = std::move(text);
}

void IniFile::startFrom(const std::string& text) {
    if (m_exists) {
        return;
    }
    m_impl = std::make_unique<Impl>();
    m_impl->ini.LoadData(text.data(), text.size());
    m_text = text;
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    const char* v = m_impl->ini.GetValue(section.c_str(), key.c_str(), nullptr);
    return v ? std::string(v) : def;
}

std::int32_t IniFile::readInteger(const std::string& section, const std::string& key,
                                  std::int32_t def) const {
    const char* v = m_impl->ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!v) {
        return def;
    }
    return TryStrToInt(v).value_or(def);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
    return m_impl->ini.GetValue(section.c_str(), key.c_str(), nullptr) != nullptr;
}

bool IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    m_impl->ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    m_text = setIniValue(m_text, section, key, value);
    return save();
}

bool IniFile::writeInteger(const std::string& section, const std::string& key,
                           std::int32_t value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
    return writeInteger(section, key, value ? 1 : 0);
}

bool IniFile::deleteKey(const std::string& section, const std::string& key) {
    if (!m_impl->ini.Delete(section.c_str(), key.c_str(), false)) {
        return true;
    }
    m_text = removeIniKey(m_text, section, key);
    return save();
}

std::vector<std::string> IniFile::sections() const {
    CSimpleIniA::TNamesDepend names;
    m_impl->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> out;
    for (const auto& e : names) {
        out.emplace_back(e.pItem);
    }
    return out;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    CSimpleIniA::TNamesDepend names;
    m_impl->ini.GetAllKeys(section.c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> out;
    for (const auto& e : names) {
        out.emplace_back(e.pItem);
    }
    return out;
}

bool IniFile::sectionExists(const std::string& section) const {
    return m_impl->ini.GetSection(section.c_str()) != nullptr;
}

bool IniFile::save() {
    if (m_path.empty()) {
        return false;
    }
    std::error_code ec;
    if (m_path.has_parent_path()) {
        std::filesystem::create_directories(m_path.parent_path(), ec);
    }
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << m_text;
    out.close();
    if (!out) {
        return false;
    }
    m_exists = true;
    return true;
}

}  // namespace quillon
