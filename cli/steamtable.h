// kelm-calc table: a steam table (saturation by temperature or pressure, or pressures ×
// temperatures) through the calculation layer.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelmcli {

// The arguments after "table". Returns the exit status: 0, 1 when the request was refused (the
// reason on standard error) or a row could not be computed, 2 for a usage error.
int RunSteamTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The --help paragraph of the command.
std::string SteamTableHelp();

}  // namespace kelmcli
