#include "core/session/rom_opening.h"

#include "core/config/data_files.h"
#include "core/config/settings.h"
#include "core/errors.h"
#include "core/rom/trom.h"
#include "core/state/rom_state.h"

namespace quillon {

void attachRomFile(TRom& rom, const std::filesystem::path& file, bool readOnly) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        throw Error(message("rom.not_found", {file.string()}));
    }
    auto image = std::make_unique<DiskRomFile>(file, readOnly);
    checkRomImage(*image, file.filename().string());
    rom.attach(std::move(image), file.string());
}

void attachRomImage(TRom& rom, std::unique_ptr<RomFile> image, const std::string& name) {
    checkRomImage(*image, name);
    rom.attach(std::move(image), name);
}

void openRomHistory(TRom& rom, const Settings& settings,
                    const std::optional<std::filesystem::path>& file, bool readOnly) {
    rom.history().setBounds({static_cast<std::uint64_t>(settings.historyMaxMB()) << 20,
                             static_cast<std::size_t>(settings.historyMaxEntries())});
    rom.openHistory(settings.flag(Settings::Flag::KeepHistory) ? file : std::nullopt, readOnly);
}

std::unique_ptr<RomState> readRomState(TRom& rom, DataFiles& data, const Settings& settings) {
    auto state = RomState::read(rom, data, settings.flag(Settings::Flag::ListLastBank));
    rom.Close();
    return state;
}

}  // namespace quillon
