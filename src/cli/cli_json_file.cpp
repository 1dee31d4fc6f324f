#include "cli/cli_json_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/errors.h"

namespace quillon::cli {

nlohmann::json readJsonFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw Error(message("import.file_unreadable", {file, std::strerror(errno)}));
    }
    try {
        return nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
        throw Error(message("import.json_invalid", {file, e.what()}));
    }
}

}  // namespace quillon::cli
