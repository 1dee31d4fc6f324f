#include "core/rom/trom.h"

#include <algorithm>
#include <system_error>

#include "core/base/numbers.h"
#include "core/errors.h"
#include "core/rom/cartridge.h"
#include "core/rom/rom_pointer.h"

namespace quillon {

namespace {

std::uint32_t checkedOffset(std::int32_t offset) {
    if (offset < 0) {
        throw RomIoError(message("io.read_beyond_end"));
    }
    return static_cast<std::uint32_t>(offset);
}

std::filesystem::path withGbaEnding(const std::filesystem::path& newName) {
    std::string name = newName.string();
    std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return tail == ".gba" ? name : name + ".gba";
}

}  // namespace

void checkRomImage(RomFile& file, const std::string& name) {
    if (file.size() < kCartridgeHeaderSize) {
        throw Error(message("rom.too_short", {name, std::to_string(file.size())}));
    }
    // A cartridge maps 32 MiB; bytes beyond cannot be reached by any pointer of the game.
    if (file.size() > kRomPointerReach) {
        throw Error(message("rom.too_large", {name, std::to_string(file.size())}));
    }
    // Every cartridge header holds the fixed value 0x96 at 0xB2.
    std::uint8_t fixed = 0;
    file.read(0xB2, {&fixed, 1});
    if (fixed != 0x96) {
        throw Error(message("rom.no_header", {name}));
    }
}

std::string titleFromHeader(std::span<const std::uint8_t, 16> bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        if (b == 0) {
            break;
        }
        text.push_back(static_cast<char>(b));
    }
    if (text.size() == 16) {
        auto last = static_cast<std::uint8_t>(text.back());
        if (last == 0x80 || last == 0xC0) {
            text.pop_back();
        }
    }
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

TRom::TRom() : m_history(std::make_unique<RomHistory>()) {}

TRom::~TRom() = default;

void TRom::Open() {
    if (m_file) {
        m_opened = true;
        ReadTitle();
        return;
    }
    if (m_fileName.empty() || !std::filesystem::exists(m_fileName)) {
        return;
    }
    m_file = std::make_unique<DiskRomFile>(m_fileName);
    m_opened = true;
    ReadTitle();
}

void TRom::Open(const std::filesystem::path& fileName) {
    if (fileName != m_fileName) {
        m_file.reset();
    }
    m_fileName = fileName;
    if (!std::filesystem::exists(fileName)) {
        m_opened = false;
        return;
    }
    // Re-bind so a file replaced on disk since the last open is read afresh.
    m_file.reset();
    Open();
}

void TRom::attach(std::unique_ptr<RomFile> file, const std::string& fileName) {
    m_file = std::move(file);
    // The name is text, so UTF-8 (as path::string() gives it on every system).
    m_fileName = std::filesystem::path(std::u8string(fileName.begin(), fileName.end()));
    m_opened = true;
    m_history->openInMemory();
    ReadTitle();
}

void TRom::Close() { m_opened = false; }

void TRom::Rebind() {
    if (m_file && !dynamic_cast<DiskRomFile*>(m_file.get())) {
        ReadTitle();
        return;
    }
    std::error_code ec;
    if (m_fileName.empty() || !std::filesystem::is_regular_file(m_fileName, ec)) {
        throw Error(message("rom.not_found", {m_fileName.string()}));
    }
    auto fresh = std::make_unique<DiskRomFile>(m_fileName);
    checkRomImage(*fresh, m_fileName.filename().string());
    m_file = std::move(fresh);
    m_opened = true;
    ReadTitle();
}

void TRom::Flush() {
    if (m_file) {
        m_file->flush();
    }
}

bool TRom::isFrlg() const {
    auto code = gameCode3();
    return code == "BPR" || code == "BPG";
}

std::string TRom::gameCode3() const { return m_title.size() >= 15 ? m_title.substr(12, 3) : ""; }

RomFile& TRom::file() {
    if (!m_file) {
        if (m_fileName.empty()) {
            throw RomIoError(message("io.not_open"));
        }
        m_file = std::make_unique<DiskRomFile>(m_fileName);
    }
    return *m_file;
}

std::uint8_t TRom::ReadByte(std::int32_t offset) {
    std::uint8_t b = 0;
    ReadBlock(offset, {&b, 1});
    return b;
}

void TRom::WriteByte(std::int32_t offset, std::uint8_t value) { WriteBlock({&value, 1}, offset); }

void TRom::ReadBlock(std::int32_t offset, std::span<std::uint8_t> buffer) {
    const std::uint32_t begin = checkedOffset(offset);
    file().read(begin, buffer);
    // Inside a transaction the pending writes show through, in the order they were made.
    const std::uint64_t end = begin + static_cast<std::uint64_t>(buffer.size());
    for (const HistoryRange& w : m_pending) {
        const std::uint64_t from = std::max<std::uint64_t>(begin, w.offset);
        const std::uint64_t to = std::min<std::uint64_t>(end, w.offset + w.after.size());
        for (std::uint64_t at = from; at < to; ++at) {
            buffer[at - begin] = w.after[at - w.offset];
        }
    }
}

std::vector<std::uint8_t> TRom::ReadBlock(std::int32_t offset, std::size_t count) {
    std::vector<std::uint8_t> out(count);
    ReadBlock(offset, out);
    return out;
}

void TRom::WriteBlock(std::span<const std::uint8_t> buffer, std::int32_t offset) {
    const std::uint32_t at = checkedOffset(offset);
    if (m_depth == 0) {
        file().write(at, buffer);
        return;
    }
    if (!file().writable()) {
        throw RomIoError(message("io.access_denied"));
    }
    if (at + static_cast<std::uint64_t>(buffer.size()) > file().size()) {
        throw RomIoError(message("io.write_beyond_end"));
    }
    HistoryRange range{at, ReadBlock(offset, buffer.size()), {buffer.begin(), buffer.end()}};
    m_pending.push_back(std::move(range));
}

std::uint16_t TRom::ReadU16(std::int32_t offset) {
    std::uint8_t b[2];
    ReadBlock(offset, b);
    return readLe16(b);
}

std::uint32_t TRom::ReadU32(std::int32_t offset) {
    std::uint8_t b[4];
    ReadBlock(offset, b);
    return readLe32(b);
}

std::string TRom::ReadHex(std::int32_t offset, int count, bool reversed) {
    if (count > 31 || count <= 0) {
        return "";
    }
    std::uint8_t bytes[31];
    ReadBlock(offset, {bytes, static_cast<std::size_t>(count)});
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string pair = IntToHex(bytes[i], 2);
        out = reversed ? pair + out : out + pair;
    }
    return out;
}

void TRom::WriteHex(std::int32_t offset, const std::string& text, bool reversed) {
    std::size_t n = text.size() / 2;
    if (n > 31 || n == 0) {
        return;
    }
    std::uint8_t bytes[31];
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t pos = reversed ? (n - 1 - i) * 2 : i * 2;
        bytes[i] = static_cast<std::uint8_t>(HexToInt(text.substr(pos, 2)));
    }
    WriteBlock({bytes, n}, offset);
}

std::uint32_t TRom::ReadPointer(std::int32_t offset) {
    std::uint8_t b[4];
    ReadBlock(offset, b);
    return readPointerField(b);
}

void TRom::WritePointer(std::int32_t offset, std::uint32_t fileOffset) {
    std::uint8_t b[4];
    writePointerField(b, fileOffset);
    WriteBlock(b, offset);
}

std::uint64_t TRom::size() { return file().size(); }

void TRom::ReadTitle() {
    std::uint8_t bytes[16] = {};
    ReadBlock(0xA0, bytes);
    m_title = titleFromHeader(std::span<const std::uint8_t, 16>(bytes, 16));
    constexpr std::int32_t kRevisionByte = 0xBC;
    m_revision = size() > kRevisionByte ? ReadByte(kRevisionByte) : 0;
}

bool TRom::isOwnFile(const std::filesystem::path& name) const {
    if (const auto* disk = dynamic_cast<const DiskRomFile*>(m_file.get())) {
        return disk->isFile(name);
    }
    std::error_code ec;
    return !m_fileName.empty() && std::filesystem::equivalent(name, m_fileName, ec);
}

bool TRom::SaveAs(std::filesystem::path newName) { return SaveAs(std::move(newName), {}); }

bool TRom::SaveAs(std::filesystem::path newName, const std::function<void()>& writeOnCopy) {
    const std::filesystem::path name = withGbaEnding(newName);
    std::error_code ec;
    if (std::filesystem::exists(name, ec) || ec) {
        if (!isOwnFile(name)) {
            return false;
        }
        if (writeOnCopy) {
            writeOnCopy();
        }
        Flush();
        return true;
    }
    return saveAsCopy(name, writeOnCopy);
}

}  // namespace quillon
