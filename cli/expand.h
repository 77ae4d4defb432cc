// kelm-calc expand: a turbine section (or a chain of them) from its inlet with an efficiency, or
// the efficiency from a measured outlet, through the calculation layer.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelmcli {

// The arguments after "expand". Returns the exit status: 0, 1 when the calculation refused the
// request (its reason on standard error), 2 for a usage error.
int RunExpand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The --help paragraph of the command.
std::string ExpandHelp();

}  // namespace kelmcli
