// The built-in self-check: every published check value of both formulations that the program
// holds, recomputed on this machine, so that a user can show where the numbers come from.
#pragma once

#include <string>
#include <vector>

namespace calc {

struct SelfCheck {
  struct Group {
    std::string formulation;  // "IFC-67", "IF97"
    int passed = 0, total = 0;
  };
  std::vector<Group> groups;
  std::vector<std::string> failures;  // one line per value that differs: what, published, got
  int passed = 0, total = 0;
};

SelfCheck RunSelfCheck();

// "IFC-67：49/49 通过", "IF97：150/150 通过", the failing values, and "共 199/199 通过".
std::string SelfCheckText(const SelfCheck& check);

}  // namespace calc
