#pragma once

#include <filesystem>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::testing {

// A fresh empty directory under the system's temporary folder, removed with everything in it
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // path() / name
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// The whole file, byte by byte; empty when it cannot be read.
std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file);

}  // namespace quillon::testing
