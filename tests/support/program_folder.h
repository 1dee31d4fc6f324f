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

// Whether another program may rename a file over one this program holds open, as POSIX
// systems allow; Windows refuses (the tests of that case skip there).
#ifdef _WIN32
inline constexpr bool kRenameOverOpenFile = false;
#else
inline constexpr bool kRenameOverOpenFile = true;
#endif

// The whole file, byte by byte; empty when it cannot be read.
std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file);

}  // namespace quillon::testing
