// kelm-calc: the calculation form on the command line. See kelm-calc --help.
#include <iostream>
#include <string>
#include <vector>

#include "cli/calccli.h"

int main(int argc, char** argv) {
  // Only the iostreams are used; unsynchronised they read a batch far faster.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return kelmcli::RunCommandLine(args, std::cin, std::cout, std::cerr);
}
