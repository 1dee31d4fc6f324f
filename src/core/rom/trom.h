#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/rom/rom_file.h"
#include "core/rom/rom_history.h"

namespace quillon {

// The ROM image file: the one object through which the editor reads and writes a ROM.
// Offsets are file offsets. Every transfer is a positioned access on the file itself; there
// is no in-memory copy of the image. Transfers throw RomIoError ("Read beyond end of file").
class TRom {
public:
    TRom();
    ~TRom();
    TRom(TRom&&) noexcept = default;
    TRom& operator=(TRom&&) noexcept = default;

    // The scope every writing command runs in. Until commit(), writes go to a pending overlay
    // that reads inside the scope see; nothing reaches the file. A scope left without commit
    // (an exception) drops everything. Nested scopes join the outer one; only the outer
    // commit writes. Writes outside any scope go straight to the file.
    class Transaction {
    public:
        // name: what the history shows (message("history.name.resize", {"3.1"})); map: the
        // map the command wrote, "" for none.
        Transaction(TRom& rom, Message name, std::string map);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        // The record of an undo or redo names the transactions it acts on.
        void setKind(EntryKind kind, std::vector<std::uint64_t> targets);
        // Refused (nothing written) when the file at the ROM's name is no longer the one
        // open. Under the history's lock: (1) the record into the history (on the disk),
        // (2) the ranges into the ROM in the order the command wrote them, flushed, (3) the
        // mark that the ROM holds them. A failure in (2) puts the old bytes back where it can
        // and takes the record out again. A scope that wrote nothing leaves no record.
        void commit();

    private:
        TRom& m_rom;
        HistoryEntry m_entry;
        bool m_outer;
        bool m_done = false;
    };

    // Binds FileName and opens it when the file exists: sets Opened and reads Title. A
    // missing file changes nothing. Throws RomIoError when the file exists but cannot be read.
    void Open();
    // Binds a file name (the open dialog's choice) and opens it.
    void Open(const std::filesystem::path& fileName);
    // Binds an image held in memory (tests, the ROM builder) under a display name.
    void attach(std::unique_ptr<RomFile> file, const std::string& fileName);
    // Clears Opened. The file stays bound: later transfers reopen it when needed.
    void Close();
    // Binds FileName anew: lets go of the file held and opens what is under that name now
    // (a build script or hex editor may have renamed a new file over it), checking that it is
    // a ROM image. Throws Error when the file is gone or is no ROM image; the file held stays
    // bound then. An image held in memory stays as it is.
    void Rebind();
    // Brings every write so far onto the disk. Throws RomIoError when that fails.
    void Flush();

    // The history of this ROM: in memory until openHistory names a file.
    RomHistory& history() const { return *m_history; }
    // The history file when given, in memory otherwise. A ROM that may only be read, or
    // readOnly, reads the file without ever renaming or writing it.
    void openHistory(const std::optional<std::filesystem::path>& file, bool readOnly = false);
    // Ends the transaction the history holds without its mark: its new bytes (complete) or
    // its old bytes written into the ROM, then the mark. Nothing without one. Refused (Error
    // naming the ranges, nothing written) when some byte holds neither its old nor its new
    // value: the history was written for another ROM, or the ROM was changed since.
    void finishUnfinished(bool complete);
    // The file may be written (a read-only file or no file: false).
    bool writable();

    bool Opened() const { return m_opened; }
    const std::string& Title() const { return m_title; }
    // The revision byte at 0xBC (0 for release 1.0, 1 for 1.1, ...), read with the Title; 0
    // for a file too short to hold it.
    int Revision() const { return m_revision; }
    const std::filesystem::path& FileName() const { return m_fileName; }
    bool bound() const { return m_file != nullptr || !m_fileName.empty(); }

    // FireRed and LeafGreen: characters 13 to 15 of the title are "BPR" or "BPG".
    bool isFrlg() const;
    // The first three characters of the game code, or "" for a short title.
    std::string gameCode3() const;

    std::uint8_t ReadByte(std::int32_t offset);
    void WriteByte(std::int32_t offset, std::uint8_t value);
    void ReadBlock(std::int32_t offset, std::span<std::uint8_t> buffer);
    std::vector<std::uint8_t> ReadBlock(std::int32_t offset, std::size_t count);
    void WriteBlock(std::span<const std::uint8_t> buffer, std::int32_t offset);
    std::uint16_t ReadU16(std::int32_t offset);
    std::uint32_t ReadU32(std::int32_t offset);

    // count bytes as upper-case hex, two digits each; reversed puts the last byte first
    // (04 3D 31 -> "313D04"). "" when count exceeds 31.
    std::string ReadHex(std::int32_t offset, int count, bool reversed);
    // Writes the bytes the hex text spells (an odd last digit is ignored); nothing for more
    // than 31 bytes. Throws ConversionError before writing when a digit pair is not hex.
    void WriteHex(std::int32_t offset, const std::string& text, bool reversed);

    // The file offset the pointer field at offset names (pointerTarget: 0 for a null word, an
    // offset past any ROM for a word that is no ROM pointer).
    std::uint32_t ReadPointer(std::int32_t offset);
    // Stores fileOffset as a ROM pointer (encodeRomPointer; throws for 32 MiB and above).
    void WritePointer(std::int32_t offset, std::uint32_t fileOffset);

    std::uint64_t size();

    // Rebuilds Title from the 16 bytes at 0xA0 (game title and game code) and Revision from
    // the byte at 0xBC.
    void ReadTitle();

    // Copies the ROM to newName (".gba" appended when missing) and continues on the copy.
    // The ROM's own file (under any spelling of its name): true without copying. Another
    // existing file: false, and the editor stays on the old file. The copy is writable by
    // the user even when the ROM file is not. Throws RomIoError when the copy cannot be
    // written; no file is left behind and the editor stays on the old file.
    bool SaveAs(std::filesystem::path newName);
    // The same, running writeOnCopy on the copy before it gets its name, so the new file
    // appears only with those writes in it. When writeOnCopy throws, the copy is dropped and
    // the editor stays on the old file. On the ROM's own file writeOnCopy writes there.
    bool SaveAs(std::filesystem::path newName, const std::function<void()>& writeOnCopy);

private:
    RomFile& file();
    void commitPending(HistoryEntry entry);
    void requireSameFile();
    void writeRanges(const std::vector<HistoryRange>& ranges, bool forward);
    bool saveAsCopy(const std::filesystem::path& name, const std::function<void()>& writeOnCopy);
    bool isOwnFile(const std::filesystem::path& name) const;

    std::unique_ptr<RomFile> m_file;
    std::filesystem::path m_fileName;
    std::filesystem::path m_filePath;  // where the open file is while it has no name of its own
    std::string m_title;
    int m_revision = 0;
    bool m_opened = false;
    std::unique_ptr<RomHistory> m_history;
    std::vector<HistoryRange> m_pending;
    int m_depth = 0;
    bool m_broken = false;  // a nested scope was left without commit
};

// Refuses a file that cannot be a ROM image (shorter than a cartridge header, or without its
// fixed byte) with an Error naming the file.
void checkRomImage(RomFile& file, const std::string& name);

// Title rule on raw header bytes: cut at the first NUL, drop a 16th byte 0x80 or 0xC0,
// ASCII letters to upper case.
std::string titleFromHeader(std::span<const std::uint8_t, 16> bytes);

}  // namespace quillon
