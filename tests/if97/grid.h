// The states the round-trip tests start from: pressures in every region and next to every
// pressure boundary; for each, temperatures on a grid and within 0.001 °C (and 1e-6 °C around
// the critical point and the line) of every boundary crossed at that pressure.
#pragma once

#include <cmath>
#include <vector>

#include "if97/detail/lines.h"
#include "if97/if97.h"

namespace if97_test {

inline double Scale(double x) { return std::max(std::fabs(x), 1.0); }

// Within 1 °C and 0.1 MPa of the critical point, where (p, t) is too steep a way to a state for
// a forward check to 1e-9.
inline bool NearCritical(double p, double t) {
  return std::fabs(p - 22.064) < 0.1 && std::fabs(t - 373.946) < 1;
}

inline std::vector<double> Pressures() {
  std::vector<double> p = {1e-6,      1e-4,      0.00061121, 0.000611213, 0.001,
                           0.01,      0.1,       1,          3.999999,    4,
                           4.000001,  6.5467,    10,         16.529163,   16.529164252604552,
                           16.529165, 18,        20,         21.5,        25,
                           30,        49.999999, 50,         60,          80,
                           99.999999, 100};
  for (double dp : {-0.1, -0.01, -1e-3, -1e-6, 0.0, 1e-6, 1e-3, 0.01, 0.1})
    p.push_back(22.064 + dp);
  return p;
}

inline std::vector<double> Temperatures(double p) {
  std::vector<double> t;
  for (double x = 0; x <= 2000; x += 13.7) t.push_back(x);
  for (double b : {0.0, 350.0, 590.0, 800.0, 2000.0})
    for (double d : {-1e-3, 0.0, 1e-3}) t.push_back(b + d);
  t.push_back(349.9999999999996);  // with 16.529164252604552 MPa: on the line, 4e-14 above ps13
  for (double d : {-1.0, -0.1, -1e-3, -1e-6, 0.0, 1e-6, 1e-3, 0.1, 1.0}) t.push_back(373.946 + d);
  if (const double ts = if97::SatTemperature(p); ts >= 0)
    for (double d : {-1e-3, -1e-6, 0.0, 1e-6, 1e-3}) t.push_back(ts + d);
  if (p > 16.53)
    for (double d : {-1e-3, 1e-3}) t.push_back(if97::detail::B23Temperature(p) - 273.15 + d);
  return t;
}

}  // namespace if97_test
