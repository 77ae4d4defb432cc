// kelm-calc run in this process on `args`, with `input` as its standard input.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/calccli.h"

struct CliRun {
  int status;
  std::string out, err;
};

inline CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunCommandLine(args, in, out, err);
  return {status, out.str(), err.str()};
}
