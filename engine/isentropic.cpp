// The end point of an isentropic expansion, as the front end asks for it.
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/statepoint_parts.h"
#include "engine/entrypoints.h"
#include "engine/solvers.h"

double IsentropicEndH(float t1, float p1x10, float p2x10, int* status) {
  // The order and minimum checks compare the single-precision arguments as they come and report
  // through `status` alone, leaving CalcStatus as the previous call left it. The minimum applies
  // to the ×10 values, so it is 0.0001 MPa.
  if (!(p1x10 > p2x10)) {
    *status = CS_ORDER;
    return 10;
  }
  if (p1x10 < 0.001 || p2x10 < 0.001) {
    *status = CS_P_LOW;
    return 100;
  }
  const double s1 = PointPropValue(double(t1), double(p1x10) * 0.1, PK_S);
  if (CalcStatus) {
    *status = int(CalcStatus);
    return 10;
  }
  double t2 = 0, v2 = 0, h2 = 0, x2 = 0;
  SolveTFromPS(double(p2x10) * 0.1, s1, t2, v2, h2, x2);
  *status = int(CalcStatus);
  return h2;
}
