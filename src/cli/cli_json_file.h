#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace quillon::cli {

// The JSON document in file, for the commands that take a printed shape back (--json).
// Throws Error naming the file when it cannot be read or holds no JSON.
nlohmann::json readJsonFile(const std::string& file);

}  // namespace quillon::cli
