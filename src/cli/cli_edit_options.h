#pragma once

namespace CLI {
class App;
}

namespace quillon::cli {

struct ConnectionEdit;
struct WildEdit;

// The options with which `wild` and `connections` write instead of printing.
void addWildEditOptions(CLI::App& wild, WildEdit& edit);
void addConnectionEditOptions(CLI::App& connections, ConnectionEdit& edit);

}  // namespace quillon::cli
