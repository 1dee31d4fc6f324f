#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

// One ini data file with the rules the data files are written for: section and key names
// compare without regard to case, sections and keys keep their file order, a missing file
// reads as empty, a missing key yields the caller's default, values lose surrounding blanks
// and one pair of enclosing quotation marks, and every write goes to disk at once, changing the
// written key's line and nothing else of the file.
// Unreadable or garbled files never throw: whatever lines parse are used.
class IniFile {
public:
    IniFile();
    explicit IniFile(std::filesystem::path path);
    ~IniFile();
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;

    const std::filesystem::path& path() const { return m_path; }
    // Whether the file existed when it was last read (or has been written since).
    bool exists() const { return m_exists; }
    // Reads the file again from disk.
    void reload();
    // For a file that does not exist: text is read as its content, and the first write saves
    // it with that write's change. A file that exists is left as read.
    void startFrom(const std::string& text);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal, or hexadecimal with "$" or "0x"; text that is not a number yields def.
    std::int32_t readInteger(const std::string& section, const std::string& key,
                             std::int32_t def) const;
    bool readBool(const std::string& section, const std::string& key, bool def) const;
    bool hasKey(const std::string& section, const std::string& key) const;

    // Write-through: the file is saved after every change. Returns false when it could not
    // be written (the value is kept in memory either way).
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value);
    bool writeInteger(const std::string& section, const std::string& key, std::int32_t value);
    bool writeBool(const std::string& section, const std::string& key, bool value);
    bool deleteKey(const std::string& section, const std::string& key);

    std::vector<std::string> sections() const;
    std::vector<std::string> keys(const std::string& section) const;
    bool sectionExists(const std::string& section) const;

private:
    bool save();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::filesystem::path m_path;
    bool m_exists = false;
    std::string m_text;  // the file as read, with every write since applied
};

}  // namespace quillon
