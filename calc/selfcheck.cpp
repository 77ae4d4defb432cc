#include "calc/selfcheck.h"

#include <cstdio>

#include "engine/checkvalues.h"
#include "if97/checkvalues.h"

namespace calc {

SelfCheck RunSelfCheck() {
  SelfCheck check;
  SelfCheck::Group ifc{"IFC-67"}, iapws{"IF97"};
  char line[256];
  for (const Ifc67CheckValue& row : Ifc67CheckValues()) {
    const double got = Recompute(row);
    ++ifc.total;
    if (MatchesPublished(got, row.published)) {
      ++ifc.passed;
    } else {
      std::snprintf(line, sizeof line, "IFC-67 %s：公布值 %s，计算值 %.10g", Describe(row).c_str(),
                    row.published, got);
      check.failures.push_back(line);
    }
  }
  for (const if97::CheckValue& row : if97::CheckValues()) {
    const double got = if97::Recompute(row);
    ++iapws.total;
    if (if97::MatchesPublished(got, row)) {
      ++iapws.passed;
    } else {
      std::snprintf(line, sizeof line, "IF97 %s(%g, %g) %s：公布值 %s，计算值 %.10g", row.equation,
                    row.x1, row.x2, row.output, row.published, got);
      check.failures.push_back(line);
    }
  }
  check.groups = {ifc, iapws};
  check.passed = ifc.passed + iapws.passed;
  check.total = ifc.total + iapws.total;
  return check;
}

std::string SelfCheckText(const SelfCheck& check) {
  std::string text;
  char line[128];
  for (const SelfCheck::Group& g : check.groups) {
    std::snprintf(line, sizeof line, "%s：%d/%d 通过\n", g.formulation.c_str(), g.passed, g.total);
    text += line;
  }
  for (const std::string& failure : check.failures) text += failure + "\n";
  std::snprintf(line, sizeof line, "共 %d/%d 通过\n", check.passed, check.total);
  return text + line;
}

}  // namespace calc
