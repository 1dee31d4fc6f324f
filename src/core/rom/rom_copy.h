#pragma once

#include <cstdint>
#include <filesystem>

namespace quillon {

class RomFile;

// A copy of a ROM image under a new name that appears complete or not at all. The bytes go to
// a temporary file in the target's folder; publish() gives it the target's name. Until then
// the target does not exist, and a copy never published is removed when the object goes, so
// a failed copy (full disk) leaves nothing behind.
class RomCopy {
public:
    // Copies every byte of source into the temporary file and brings it onto the disk. The
    // copy gets the permission bits mode plus the owner's write permission: a copy of a
    // read-only ROM is one the user can save into. Throws RomIoError when the temporary file
    // cannot be created or written (it is removed then).
    RomCopy(RomFile& source, std::uint32_t mode, std::filesystem::path target);
    ~RomCopy();
    RomCopy(const RomCopy&) = delete;
    RomCopy& operator=(const RomCopy&) = delete;

    // The temporary file: open it to write into the copy before it is published.
    const std::filesystem::path& temporary() const { return m_temporary; }
    // Gives the copy the target's name. False when a file of that name has appeared in the
    // meantime: it is never replaced. Throws RomIoError when the name cannot be given.
    bool publish();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    bool m_published = false;
};

}  // namespace quillon
