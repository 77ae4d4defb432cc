// Why a calculation failed, in the engineer's words: one sentence per cause, naming the input, its
// value, the limit it crossed and the valid range. Internal to the calculation layer.
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/points.h"

namespace calc {

// From the status words the form's computation read: the first call that failed explains the
// failure (the calls after it only carry its sentinels on). A (t, h) without a state says so.
std::vector<std::string> Ifc67Reasons(const Request& request, const CalcResult& result);

// From the status of an IF97 calculation and the bound it reports.
std::vector<std::string> If97Reasons(const Request& request, Status status, double limit);

}  // namespace calc
