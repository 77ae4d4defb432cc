// What the engine's unit tests share: the engine, a state point's value, the solvers as one call.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/solver_parts.h"
#include "engine/entrypoints.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

inline double Prop(double t, double p, int kind) { int state; return PointProp(t, p, kind, state); }

enum Solver { PS, PH, TS, TH };  // given (p, s), (p, h), (t, s), (t, h)
// A solution: the searched t or p, v, the property not given, the dryness, the state; −7 unwritten.
struct Slot { double found = -7, v = -7, other = -7, x = -7; int state = -7; };
struct Answer { int count = 1; Slot slot[2]; std::uint32_t status = 0; SearchInfo info; };

inline Answer Solve(Solver w, double fixed, double y) {
  Answer a;
  Slot &s = a.slot[0], &u = a.slot[1];
  if (w == TH)
    a.count = SolvePFromTH(fixed, y, s.found, s.v, s.other, s.x, s.state, u.found, u.v, u.other,
                           u.x, u.state, &a.info);
  else
    s.state = (w == PS ? SolveTFromPS : w == PH ? SolveTFromPH : SolvePFromTS)(
        fixed, y, s.found, s.v, s.other, s.x, &a.info);
  a.status = CalcStatus;
  return a;
}
