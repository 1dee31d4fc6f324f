#include "core/rom/rom_copy.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/errors.h"
#include "core/files/native_file.h"
#include "core/rom/rom_file.h"

namespace quillon {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

// "Die Kopie "x.gba" konnte nicht angelegt werden: Disk full"
RomIoError copyError(const std::filesystem::path& target, const char* id, int err) {
    return RomIoError(message(id, {target.string(), ioErrorFromErrno(err).message()}));
}

void copyBytes(RomFile& source, native::NativeFile& file, const std::filesystem::path& target) {
    const std::uint64_t size = source.size();
    std::vector<std::uint8_t> chunk;
    for (std::uint64_t at = 0; at < size; at += kCopyChunk) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, size - at)));
        source.read(static_cast<std::uint32_t>(at), chunk);
        if (const int err = file.writeAt(at, chunk.data(), chunk.size()); err != 0) {
            throw copyError(target, "rom.copy_not_written", err);
        }
    }
    if (const int err = file.sync(); err != 0) {
        throw copyError(target, "rom.copy_not_written", err);
    }
}

}  // namespace

RomCopy::RomCopy(RomFile& source, std::uint32_t mode, std::filesystem::path target)
    : m_target(std::move(target)) {
    native::NativeFile file;
    if (const int err = file.createTemporaryBeside(m_target, m_temporary); err != 0) {
        throw copyError(m_target, "rom.copy_not_made", err);
    }
    try {
        if (const int err = file.setPermissions((mode | 0200) & 07777); err != 0) {
            throw copyError(m_target, "rom.copy_not_made", err);
        }
        copyBytes(source, file, m_target);
    } catch (...) {
        file.close();
        native::removeFile(m_temporary);
        throw;
    }
    if (const int err = file.close(); err != 0) {
        native::removeFile(m_temporary);
        throw copyError(m_target, "rom.copy_not_written", err);
    }
}

RomCopy::~RomCopy() {
    if (!m_published) {
        native::removeFile(m_temporary);
    }
}

bool RomCopy::publish() {
    const int err = native::publishNew(m_temporary, m_target);
    if (err == EEXIST) {
        return false;
    }
    if (err != 0) {
        throw copyError(m_target, "rom.copy_not_made", err);
    }
    m_published = true;
    native::syncFolder(m_target.parent_path());  // a folder that cannot be synced is no failure
    return true;
}

}  // namespace quillon
