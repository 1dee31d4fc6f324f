#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;

// The core's folders, bottom to top. A file may include files of its own rank and below;
// files at the core's root count as the lowest rank.
const std::map<std::string, int> kFolderRanks = {
    {"", 0},          {"base", 0},     {"text", 0},
    {"rom", 1},       {"files", 1},
    {"config", 2},    {"map", 2},      {"gfx", 2},
    {"edit", 3},
    {"tables", 4},    {"events", 4},   {"connections", 4}, {"wild", 4},
    {"state", 5},
    {"writers", 6},   {"blocks", 6},   {"mapfile", 6},
    {"history", 7},
    {"session", 8},
};

// The folder of a path relative to src/core ("" for a file at the root).
std::string folderOf(const std::string& relative) {
    const auto slash = relative.find('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::optional<int> rankOf(const std::string& relative) {
    const auto it = kFolderRanks.find(folderOf(relative));
    if (it == kFolderRanks.end()) {
        return std::nullopt;
    }
    return it->second;
}

// Every include of another core file in text, as a path relative to src/core.
std::vector<std::string> coreIncludes(const std::string& text) {
    static const std::regex include(R"re(^\s*#\s*include\s+"core/([^"]+)")re");
    std::vector<std::string> found;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_search(line, m, include)) {
            found.push_back(m[1].str());
        }
    }
    return found;
}

// What is wrong with the includes of the file at relative (path under src/core) holding text:
// a folder the table does not know, or an include of a file of a higher rank.
std::vector<std::string> layerFaults(const std::string& relative, const std::string& text) {
    std::vector<std::string> faults;
    const auto own = rankOf(relative);
    if (!own) {
        faults.push_back(relative + ": folder without a rank");
        return faults;
    }
    for (const std::string& included : coreIncludes(text)) {
        const auto rank = rankOf(included);
        if (!rank || *rank > *own) {
            faults.push_back(relative + " includes " + included);
        }
    }
    return faults;
}

TEST(CoreLayers, IncludesOfAHigherRankOrUnknownFolderAreFaults) {
    const struct {
        const char* file;
        const char* text;
        std::size_t faults;
    } cases[] = {
        {"rom/trom.cpp", "#include \"core/rom/trom.h\"\n#include \"core/base/numbers.h\"\n", 0},
        {"config/user_profiles.cpp", "#include \"core/files/file_replace.h\"\n", 0},
        {"config/user_profiles.cpp", "#include \"core/mapfile/file_replace.h\"\n", 1},
        {"edit/map_resize.cpp", "#include \"core/map_state.h\"\n", 0},  // root: lowest
        {"map_state.h", "#include \"core/edit/edit_history.h\"\n", 1},
        {"state/map_state.h", "  #  include \"core/writers/map_resize.h\"\n", 1},
        {"state/map_state.h", "// #include \"core/session/session.h\"\n", 0},
        {"writers/wild_save.cpp", "#include \"core/wildlife/wild_table.h\"\n", 1},
        {"newfolder/thing.cpp", "#include \"core/base/numbers.h\"\n", 1},
        {"session/session.cpp",
         "#include \"core/state/map_state.h\"\n#include \"core/history/history_commands.h\"\n",
         0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layerFaults(c.file, c.text).size(), c.faults) << c.file << "\n" << c.text;
    }
}

// No file of the core includes one of a layer above its own.
TEST(CoreLayers, NoCoreFileIncludesUpwards) {
    const fs::path core = fs::path(QUILLON_SOURCE_DIR) / "core";
    ASSERT_TRUE(fs::is_directory(core));
    std::vector<std::string> faults;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(core)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) {
            continue;
        }
        ++files;
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const std::string relative = entry.path().lexically_relative(core).generic_string();
        for (std::string& fault : layerFaults(relative, text)) {
            faults.push_back(std::move(fault));
        }
    }
    EXPECT_GT(files, 100);
    for (const std::string& fault : faults) {
        ADD_FAILURE() << fault;
    }
}

}  // namespace
}  // namespace quillon
