// libFuzzer harness of the engine: raw doubles and special values, nudged by ulps or decimal
// offsets, into every public engine function. Each call returns (fuzz.sh's -timeout catches a
// hang), assigns CalcStatus rather than OR onto the poisoned word (IsentropicEndH's own two checks
// leave it alone), answers its sentinel when flagged and finite values when not. "#most NAME
// evaluations N (cap C)" tells that a search's count grew.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/detail/solver_parts.h"
#include "engine/entrypoints.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

constexpr std::uint32_t kPoison = 0x40000000;  // no engine function sets it
constexpr const char* kName[] = {"SatTemperature", "Region4Props", "Region3Props", "SolveTFromPS",
                                 "SolveTFromPH",   "SolvePFromTS", "SolvePFromTH"};

void Require(bool ok, const char* what, double a, double b) {
  if (ok) return;
  std::fprintf(stderr, "engine_fuzz: %s (%.17g, %.17g), CalcStatus 0x%x\n", what, a, b, CalcStatus);
  std::abort();
}

void Note(int search, int n) {  // the largest count of each search so far, against its cap
  static int most[7];
  const int cap = search == 0 || search == 1 ? 7000 : search == 2 ? 8000 : solver_search::kRoundCap;
  if (n <= most[search]) return;
  std::fprintf(stderr, "#most %s evaluations %d (cap %d)\n", kName[search], most[search] = n, cap);
}

float ToFloat(double d) {  // IEEE conversion; a finite double beyond the float range saturates
  return std::fabs(d) > FLT_MAX && std::isfinite(d) ? std::copysign(FLT_MAX, d) : float(d);
}

struct Input {
  const std::uint8_t* data;
  std::size_t size, pos = 0;
  int Byte() { return pos < size ? data[pos++] : 0; }
  double Double() {
    static constexpr double kSpecial[] = {
        NAN,       INFINITY, -INFINITY, 0.0,   -0.0, DBL_TRUE_MIN, DBL_MAX, -1,   0.01,
        0.1,       800,      0.0007,    0.001, 100,  22.12,        374.15,  350,  590,
        0.0250239, 16.5,     36,        40,    360,  370,          1,       10,   4.4429,
        2107.4,    0.00317,  3,         6,     9,    500,          1500,    2800, 4000};
    const int how = Byte();
    double v = 0;
    if (how < 48 && pos + 8 <= size) std::memcpy(&v, data + pos, 8), pos += 8;  // raw bits
    if (how < 48) return v;
    v = kSpecial[Byte() % (sizeof kSpecial / sizeof *kSpecial)];
    const int n = std::int8_t(Byte()) % 9;  // n·10^−e lands on either side of a tolerance
    if (how < 128) return v;
    if (how < 192) return v + n * std::pow(10.0, -(Byte() % 16));
    for (int i = 0; i < std::abs(n); ++i) v = std::nextafter(v, n * INFINITY);
    return v;
  }
};

void Expect(const char* name, double y, double sentinel, double a, double b) {  // y assigned
  Require(!(CalcStatus & kPoison) && (CalcStatus ? y == sentinel : std::isfinite(y)), name, a, b);
}

void CallSolver(Input& in, int w, double fixed, double y) {
  const int kind = w == 0 || w == 2 ? PK_S : PK_H;
  int st[2] = {-7, -7}, count = 1;
  const double u = in.Double();  // with the next bit, y becomes the property of a state on the line
  if (in.Byte() & 1) y = w < 2 ? PointProp(u, fixed, kind, *st) : PointProp(fixed, u, kind, *st);
  double o[2][4] = {{-7, -7, -7, -7}, {-7, -7, -7, -7}};  // t or p, v, the other property, x
  SearchInfo info;
  CalcStatus = kPoison;
  if (w == 3)
    count = SolvePFromTH(fixed, y, o[0][0], o[0][1], o[0][2], o[0][3], st[0], o[1][0], o[1][1],
                         o[1][2], o[1][3], st[1], &info);
  else
    st[0] = (w == 0   ? SolveTFromPS
             : w == 1 ? SolveTFromPH
                      : SolvePFromTS)(fixed, y, o[0][0], o[0][1], o[0][2], o[0][3], &info);
  Note(3 + w, info.evaluations);
  for (const double* r : o) {  // failing, all sentinels, but a wet answer keeps its dryness flag
    const int s = st[r != o[0]];
    const bool sentinels = r[0] == 10 && r[1] == 10 && r[2] == 10 && r[3] == 1 && s == SC_UNKNOWN;
    const bool ok = !(CalcStatus & kPoison) && (!CalcStatus || s == SC_WET || s == -7 || sentinels);
    Require(std::isfinite(r[0] + r[1] + r[2] + r[3]) && ok && count <= 2, kName[3 + w], fixed, y);
  }
}

void Call(Input& in) {
  static constexpr double (*kEntries[])(float, int*) = {
      SatTByP,      SatPByT,      SatWaterHByP, SatWaterSByP, SatWaterVByP, SatWaterHByT,
      SatWaterVByT, SatWaterSByT, SatSteamHByP, SatSteamSByP, SatSteamVByP, SatSteamHByT};
  const int which = in.Byte() % 13, kind = 1 + in.Byte() % 3, bits = in.Byte(), byT = bits & 1;
  const double a = in.Double(), b = in.Double();
  int st = -7, steps = 0;
  double x = -7;
  SearchInfo info;
  if (which >= 8 && which < 12) return CallSolver(in, which - 8, a, b);
  CalcStatus = kPoison;
  switch (which) {
    case 0: return Expect("SatPressure", SatPressure(a), 1, a, b);
    case 1: Expect("SatTemperature", SatTemperature(a, &steps), 10, a, b); return Note(0, steps);
    case 2: return Expect("FindRegion", FindRegion(a, b), 1, a, b);
    case 3:
      return Expect("SatProp", (bits & 2 ? SatSteamProp : SatWaterProp)(a, byT, kind), 10, a, b);
    case 4: {
      const double y = Quality(a, byT, b, in.Byte() % 4 == 3 ? PK_X : kind, x, kind);
      Require(!(CalcStatus & kPoison) && std::isfinite(y), "Quality", a, b);
      return Require(CalcStatus ? y == 10 || y == 1 : std::isfinite(x), "Quality", a, b);
    }
    case 5:
      Expect("PointProp", PointProp(a, b, kind, st), 10, a, b);
      return Require(CalcStatus ? st == SC_UNKNOWN : st > 0 && st <= 4, "PointProp state", a, b);
    case 6:
      Expect("entry point", kEntries[in.Byte() % 12](ToFloat(a), &st), 10, a, b);
      return Require(std::uint32_t(st) == CalcStatus, "entry point status", a, b);
    case 7: {  // the order check, then the minimum of the ×10 pressures, leave CalcStatus alone
      const float p1 = ToFloat(a), p2 = ToFloat(b);
      const double h = IsentropicEndH(ToFloat(in.Double()), p1, p2, &st);
      const bool order = !(p1 > p2), own = order || p1 < 0.001 || p2 < 0.001;
      const bool sentinel = order ? st == CS_ORDER && h == 10 : st == CS_P_LOW && h == 100;
      const bool copied = std::uint32_t(st) == CalcStatus && std::isfinite(h);
      return Require(own ? CalcStatus == kPoison && sentinel : copied, "IsentropicEndH", p1, p2);
    }
    default: {  // the pure equations, and the volume searches that never touch CalcStatus
      Region1Reduced(a, b, bits % 6), Region2Reduced(a, b, bits % 6), BoundaryL(a);
      Region3Reduced(a, b, bits % 6), Region4Reduced(a, b, bits % 6), SatPressureReduced(a);
      const double r = (byT ? Region3Props : Region4Props)(a, b, kind, &info);
      Note(1 + byT, info.evaluations);
      return Require(CalcStatus == kPoison && (info.converged || r == 0), "volume search", a, b);
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  for (int call = 0; call < 8 && in.pos < size; ++call) Call(in);
  return 0;
}
