#include "engine/constants.h"

constinit thread_local std::uint32_t CalcStatus = 0;

std::uint32_t StateRangeFlags(double t, double p) {
  std::uint32_t flags = 0;
  if (TempBelowRange(t))
    flags = CS_T_LOW;
  else if (t > 800)
    flags = CS_T_HIGH;
  if (PressBelowRange(p))
    flags |= CS_P_LOW;
  else if (p > 100)
    flags |= CS_P_HIGH;
  return flags;
}

double ScaleReduced(double r, int kind) {
  const IfcConstantsRecord& c = IfcConstants;
  switch (kind) {
    case PK_V: return r * c.vc;
    case PK_S: return r * (c.pc * c.vc * 1000 / c.Tc);
    case PK_H: return r * c.pc * c.vc * 1000;
    default: return r;
  }
}
