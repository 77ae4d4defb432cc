// The optimised engine against the frozen literal engine (tests/engine/literal), bit for bit:
// every returned double and out-parameter compared by its bytes, every status word and state code
// compared exactly, over grids and random points that reach every function, subregion, branch,
// tolerance edge and the near-critical zone, with the engine's memos both cold and warm.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/constants.h"
#include "engine/entrypoints.h"
#include "engine/memo.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"
#include "engine/statepoint_parts.h"
#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/entrypoints.h"
#include "tests/engine/literal/region1.h"
#include "tests/engine/literal/region2.h"
#include "tests/engine/literal/region3.h"
#include "tests/engine/literal/region4.h"
#include "tests/engine/literal/regions.h"
#include "tests/engine/literal/satprops.h"
#include "tests/engine/literal/saturation.h"
#include "tests/engine/literal/solvers.h"
#include "tests/engine/literal/statepoint.h"

namespace {

// What one call produced: its doubles (result and out-parameters) and its integers (status
// word, state code, counts), in call order.
struct Record {
  std::vector<double> d;
  std::vector<long long> i;
  void D(double x) { d.push_back(x); }
  void I(long long x) { i.push_back(x); }
};

std::string Hex(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  char text[64];
  std::snprintf(text, sizeof text, "%.17g (0x%016llx)", x, static_cast<unsigned long long>(bits));
  return text;
}

bool SameBits(const Record& a, const Record& b) {
  return a.d.size() == b.d.size() && a.i == b.i &&
         (a.d.empty() || std::memcmp(a.d.data(), b.d.data(), a.d.size() * sizeof(double)) == 0);
}

std::string Describe(const Record& r) {
  std::string text;
  for (double x : r.d) text += " " + Hex(x);
  text += " |";
  for (long long x : r.i) text += " " + std::to_string(x);
  return text;
}

// Compares the two engines on one input and counts the comparison. Reports at most a few
// mismatches per test, with the input and both records.
class Comparer {
 public:
  int compared = 0;
  int mismatches = 0;

  void operator()(const std::string& input, const std::function<void(Record&)>& fast,
                  const std::function<void(Record&)>& literal) {
    Record f, l;
    fast(f);
    literal(l);
    ++compared;
    if (SameBits(f, l)) return;
    if (++mismatches <= 5)
      ADD_FAILURE() << input << "\n  optimised:" << Describe(f) << "\n  literal:  " << Describe(l);
  }
};

std::string Args(const char* name, std::initializer_list<double> args) {
  std::string text = name;
  text += "(";
  for (double a : args) text += Hex(a) + ", ";
  return text + ")";
}

constexpr std::uint32_t kPoison = 0xFFFFu;

// Both status words poisoned before each call, so that a function that ORs instead of
// assigning shows.
void Poison() {
  CalcStatus = kPoison;
  literal::CalcStatus = kPoison;
}

std::vector<double> Grid(double from, double to, int count) {
  std::vector<double> out;
  for (int k = 0; k < count; ++k) out.push_back(from + (to - from) * k / (count - 1));
  return out;
}

std::vector<double> LogGrid(double from, double to, int count) {
  std::vector<double> out;
  for (int k = 0; k < count; ++k)
    out.push_back(from * std::pow(to / from, double(k) / (count - 1)));
  return out;
}

// Temperatures where the formulation switches: range ends, 350 °C with its tolerances, the
// critical temperature with its tolerances, 590 °C; each with its neighbours.
std::vector<double> EdgeTemperatures() {
  std::vector<double> out;
  for (double t : {0.01,      1.8913,     100.0,    349.9999,  350.0,       350.0000005, 350.000001,
                   350.00001, 350.000065, 350.0001, 360.0,     370.0,       373.9,       374.1,
                   374.1498,  374.14995,  374.15,   374.15005, 374.1501,    374.1502,    374.2,
                   380.0,     400.0,      589.99,   590.0,     590.0000001, 595.0,       800.0}) {
    out.push_back(t);
    out.push_back(std::nextafter(t, -INFINITY));
    out.push_back(std::nextafter(t, INFINITY));
  }
  for (double t : {-1.0, 0.0099, 800.0001, 900.0, double(NAN), double(INFINITY), -double(INFINITY)})
    out.push_back(t);
  return out;
}

// Pressures where the formulation switches: range ends, start-table pressures, 16.5 and 16.6 MPa
// around 350 °C, 22.12 with its tolerances, 36 and 40 MPa (start volumes), 100 MPa.
std::vector<double> EdgePressures() {
  std::vector<double> out;
  for (double p : {0.0007,      0.00075165449879420563,
                   0.001,       0.0055,
                   0.01,        0.025,
                   0.0250239,   0.05,
                   0.1,         0.101325,
                   0.5,         1.0,
                   2.0,         3.0,
                   6.0,         10.0,
                   15.0,        16.5,
                   16.535124,   16.6,
                   20.0,        22.0,
                   22.11,       22.119995,
                   22.11999,    22.12,
                   22.12000001, 22.12001,
                   22.1201,     25.0,
                   36.0,        40.0,
                   60.0,        100.0}) {
    out.push_back(p);
    out.push_back(std::nextafter(p, -INFINITY));
    out.push_back(std::nextafter(p, INFINITY));
  }
  for (double p : {0.00069, -3.0, 100.0001, 200.0, double(NAN), double(INFINITY)}) out.push_back(p);
  return out;
}

std::mt19937_64& Random() {
  static std::mt19937_64 engine(0x6b656c6d);
  return engine;
}
double Uniform(double a, double b) {
  return std::uniform_real_distribution<double>(a, b)(Random());
}
double LogUniform(double a, double b) { return std::exp(Uniform(std::log(a), std::log(b))); }

TEST(BitIdentity, SaturationLine) {
  Comparer compare;
  std::vector<double> ts = Grid(-0.5, 375, 4000);
  for (double t : EdgeTemperatures()) ts.push_back(t);
  for (int k = 0; k < 4000; ++k) ts.push_back(Uniform(0.01, 374.1501));
  for (double t : ts) {
    compare(
        Args("SatPressureReduced", {t}), [&](Record& r) { r.D(SatPressureReduced(t)); },
        [&](Record& r) { r.D(literal::SatPressureReduced(t)); });
    compare(
        Args("SatPressure", {t}),
        [&](Record& r) {
          Poison();
          r.D(SatPressure(t));
          r.I(CalcStatus);
        },
        [&](Record& r) {
          Poison();
          r.D(literal::SatPressure(t));
          r.I(literal::CalcStatus);
        });
  }

  // Searched pressures, each asked twice in a row (the second from the memo), and the
  // saturation pressures of temperatures fed back.
  std::vector<double> ps = LogGrid(0.0006, 22.2, 1500);
  for (double p : EdgePressures()) ps.push_back(p);
  for (int k = 0; k < 500; ++k) ps.push_back(literal::SatPressure(Uniform(0.5, 374.15)));
  for (int k = 0; k < 500; ++k) ps.push_back(LogUniform(0.0007, 22.12));
  for (double p : ps) {
    for (int again = 0; again < 2; ++again) {
      compare(
          Args("SatTemperature", {p}),
          [&](Record& r) {
            if (!again) engine_memo::ResetAll();
            Poison();
            int steps = -1;
            r.D(SatTemperature(p, &steps));
            r.I(CalcStatus);
            r.I(steps);
          },
          [&](Record& r) {
            Poison();
            int steps = -1;
            r.D(literal::SatTemperature(p, &steps));
            r.I(literal::CalcStatus);
            r.I(steps);
          });
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

TEST(BitIdentity, RegionSelection) {
  Comparer compare;
  std::vector<double> ts = Grid(-1, 810, 300);
  for (double t : EdgeTemperatures()) ts.push_back(t);
  std::vector<double> ps = LogGrid(0.0005, 120, 120);
  for (double p : EdgePressures()) ps.push_back(p);
  for (double t : ts) {
    compare(
        Args("BoundaryL", {t}), [&](Record& r) { r.D(BoundaryL(t)); },
        [&](Record& r) { r.D(literal::BoundaryL(t)); });
    std::vector<double> tps = ps;
    // On the saturation line and the L-line, and just beside them.
    if (t >= 0.01 && t <= 374.15) tps.push_back(literal::SatPressure(t));
    tps.push_back(literal::BoundaryL(t) * IfcConstants.pc);
    tps.push_back(std::nextafter(tps.back(), 0.0));
    for (double p : tps) {
      compare(
          Args("FindRegion", {t, p}),
          [&](Record& r) {
            Poison();
            r.I(FindRegion(t, p));
            r.I(CalcStatus);
          },
          [&](Record& r) {
            Poison();
            r.I(literal::FindRegion(t, p));
            r.I(literal::CalcStatus);
          });
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

TEST(BitIdentity, SubregionEquations) {
  Comparer compare;
  // Subregions 1 and 2 over the whole state range (their formulas are evaluated anywhere),
  // every kind including the unhandled ones.
  for (int k = 0; k < 6000; ++k) {
    const double t = k < 3000 ? Uniform(0.01, 350) : Uniform(0.01, 800);
    const double p = LogUniform(0.0007, 100);
    for (int kind = 0; kind <= 5; ++kind) {
      compare(
          Args("Region1Reduced", {t, p, double(kind)}),
          [&](Record& r) { r.D(Region1Reduced(t, p, kind)); },
          [&](Record& r) { r.D(literal::Region1Reduced(t, p, kind)); });
      compare(
          Args("Region2Reduced", {t, p, double(kind)}),
          [&](Record& r) { r.D(Region2Reduced(t, p, kind)); },
          [&](Record& r) { r.D(literal::Region2Reduced(t, p, kind)); });
    }
  }
  // Subregions 3 and 4 at a temperature and a volume, from liquid-like to steam-like volumes.
  for (int k = 0; k < 6000; ++k) {
    const double t = k < 3000 ? Uniform(350, 374.15) : Uniform(340, 600);
    const double v = LogUniform(0.0009, 0.05);
    for (int kind = 0; kind <= 5; ++kind) {
      compare(
          Args("Region3Reduced", {t, v, double(kind)}),
          [&](Record& r) { r.D(Region3Reduced(t, v, kind)); },
          [&](Record& r) { r.D(literal::Region3Reduced(t, v, kind)); });
      compare(
          Args("Region4Reduced", {t, v, double(kind)}),
          [&](Record& r) { r.D(Region4Reduced(t, v, kind)); },
          [&](Record& r) { r.D(literal::Region4Reduced(t, v, kind)); });
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

// One volume search, its kind, and what it reported.
template <class F>
void VolumeSearch(Record& r, F search, double t, double p, int kind) {
  SearchInfo info;
  info.evaluations = -1;
  r.D(search(t, p, kind, &info));
  r.I(info.evaluations);
  r.I(info.converged);
}
template <class F>
void LiteralVolumeSearch(Record& r, F search, double t, double p, int kind) {
  literal::SearchInfo info;
  info.evaluations = -1;
  r.D(search(t, p, kind, &info));
  r.I(info.evaluations);
  r.I(info.converged);
}

TEST(BitIdentity, VolumeSearches) {
  Comparer compare;
  struct Point {
    double t, p;
  };
  std::vector<Point> sub3, sub4;
  for (int k = 0; k < 250; ++k) {
    const double t = Uniform(350, 590);
    const double p = Uniform(literal::BoundaryL(t) * IfcConstants.pc, 100);
    if (literal::FindRegion(t, p) == 3) sub3.push_back({t, p});
    const double t4 = Uniform(350.00001, 374.15);
    const double p4 = Uniform(literal::SatPressure(t4), 100);
    if (literal::FindRegion(t4, p4) == 4) sub4.push_back({t4, p4});
  }
  // The saturation line from 350 °C up (saturated steam and water), and the worst points.
  for (double t : Grid(350.00001, 374.149, 60)) {
    sub3.push_back({t, literal::SatPressure(t)});
    sub4.push_back({t, literal::SatPressure(t)});
  }
  sub3.push_back({373.6, 19.5507});
  sub4.push_back({353.4, 73.4007});
  // Each point three times, one kind after the other (the memo answers the second and third),
  // and the unhandled kinds.
  for (int which = 0; which < 2; ++which) {
    for (const Point& pt : which ? sub4 : sub3) {
      engine_memo::ResetAll();
      for (int kind : {1, 2, 3, 0, 4}) {
        const std::string name = which ? "Region4Props" : "Region3Props";
        compare(
            Args(name.c_str(), {pt.t, pt.p, double(kind)}),
            [&](Record& r) {
              if (which)
                VolumeSearch(r, Region4Props, pt.t, pt.p, kind);
              else
                VolumeSearch(r, Region3Props, pt.t, pt.p, kind);
            },
            [&](Record& r) {
              if (which)
                LiteralVolumeSearch(r, literal::Region4Props, pt.t, pt.p, kind);
              else
                LiteralVolumeSearch(r, literal::Region3Props, pt.t, pt.p, kind);
            });
      }
    }
  }
  // As a solver asks: runs of nearby points along isotherms and isobars without forgetting
  // anything, so that the searches meet volumes they have evaluated before.
  for (int run = 0; run < 40; ++run) {
    const double t0 = Uniform(350.001, 400);
    const double p0 = Uniform(16.6, 40);
    for (int k = 0; k < 12; ++k) {
      const double t = run % 2 ? t0 : t0 + k * 0.37 / (1 << k);
      const double p = run % 2 ? p0 + k * 0.9 / (1 << k) : p0;
      const int region = literal::FindRegion(t, p);
      if (region != 3 && region != 4) continue;
      for (int kind : {1, 3}) {
        compare(
            Args("Props", {t, p, double(kind)}),
            [&](Record& r) {
              if (region == 4)
                VolumeSearch(r, Region4Props, t, p, kind);
              else
                VolumeSearch(r, Region3Props, t, p, kind);
            },
            [&](Record& r) {
              if (region == 4)
                LiteralVolumeSearch(r, literal::Region4Props, t, p, kind);
              else
                LiteralVolumeSearch(r, literal::Region3Props, t, p, kind);
            });
      }
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

void ComparePointProp(Comparer& compare, double t, double p, int kind) {
  compare(
      Args("PointProp", {t, p, double(kind)}),
      [&](Record& r) {
        Poison();
        int state = -1;
        r.D(PointProp(t, p, kind, state));
        r.I(CalcStatus);
        r.I(state);
      },
      [&](Record& r) {
        Poison();
        int state = -1;
        r.D(literal::PointProp(t, p, kind, state));
        r.I(literal::CalcStatus);
        r.I(state);
      });
}

TEST(BitIdentity, StatePoints) {
  Comparer compare;
  struct Point {
    double t, p;
  };
  std::vector<Point> points;
  // The whole state range, cheap subregions mostly; near the critical point densely.
  for (int k = 0; k < 1500; ++k) points.push_back({Uniform(0.01, 800), LogUniform(0.0007, 100)});
  for (int k = 0; k < 150; ++k) points.push_back({Uniform(350, 400), Uniform(15, 30)});
  for (int k = 0; k < 50; ++k) points.push_back({Uniform(374, 374.3), Uniform(21.9, 22.4)});
  // Edges in both coordinates, the saturation line (evaluated as saturated steam), its
  // neighbourhood where the state says wet but the region does not, and the L-line.
  for (double t : EdgeTemperatures())
    for (double p : {0.0007, 0.1, 16.5, 22.12, 25.0, 100.0}) points.push_back({t, p});
  for (double p : EdgePressures())
    for (double t : {0.01, 100.0, 350.0, 374.15, 400.0, 800.0}) points.push_back({t, p});
  for (double t : Grid(0.02, 374.1, 60)) {
    const double ps = literal::SatPressure(t);
    points.push_back({t, ps});
    points.push_back({t, std::nextafter(ps, 0.0)});
    points.push_back({t, ps * (1 + 1e-8)});
    points.push_back({literal::SatTemperature(ps) + 0.00005, ps});
  }
  for (double t : Grid(350.1, 589.9, 20))
    points.push_back({t, literal::BoundaryL(t) * IfcConstants.pc});
  points.push_back({373.6, 19.5507});
  points.push_back({353.4, 73.4007});
  points.push_back({200, 0.00075165449879420563});
  // As the form asks: three kinds at one point, the memos cold for the first. Then the value
  // alone, as the solvers ask for it, against the literal value and status.
  for (const Point& pt : points) {
    engine_memo::ResetAll();
    for (int kind : {PK_H, PK_S, PK_V}) ComparePointProp(compare, pt.t, pt.p, kind);
    for (int kind : {int(PK_S), int(PK_H), int(PK_V), 0}) {
      compare(
          Args("PointPropValue", {pt.t, pt.p, double(kind)}),
          [&](Record& r) {
            Poison();
            r.D(PointPropValue(pt.t, pt.p, kind));
            r.I(CalcStatus);
          },
          [&](Record& r) {
            Poison();
            int state = -1;
            r.D(literal::PointProp(pt.t, pt.p, kind, state));
            r.I(literal::CalcStatus);
          });
    }
  }
  for (int k = 0; k < 200; ++k) {
    const Point& pt = points[k * 7 % points.size()];
    for (int kind : {0, 4, 5}) ComparePointProp(compare, pt.t, pt.p, kind);
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

// The state of a point next to the saturation line, on both sides of every band the
// classification uses (0.0001 °C in the state, 0.001 °C and 1e-6 MPa in deciding where the
// saturation-temperature search is needed).
TEST(BitIdentity, StatesNextToTheSaturationLine) {
  Comparer compare;
  std::vector<double> ps = LogGrid(0.0007, 22.1199, 250);
  for (int k = 0; k < 100; ++k) ps.push_back(LogUniform(0.0007, 22.12));
  for (double p : ps) {
    const double ts = literal::SatTemperature(p);
    for (double dt : {-0.05, -0.0012, -0.001, -0.0008, -0.0001, -0.00005, 0.0, 0.00005, 0.0001,
                      0.0008, 0.001, 0.0012, 0.05}) {
      const double t = ts + dt;
      engine_memo::ResetAll();
      ComparePointProp(compare, t, p, PK_V);
      ComparePointProp(compare, t, std::nextafter(p, 0.0), PK_V);
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

TEST(BitIdentity, SaturationProperties) {
  Comparer compare;
  std::vector<double> ts = Grid(0.01, 374.15, 120);
  for (double t : EdgeTemperatures()) ts.push_back(t);
  std::vector<double> ps = LogGrid(0.0007, 22.12, 120);
  for (double p : EdgePressures()) ps.push_back(p);
  for (int byT = 0; byT <= 1; ++byT) {
    for (double x : byT ? ts : ps) {
      engine_memo::ResetAll();
      for (int kind : {PK_H, PK_S, PK_V}) {
        for (int steam = 0; steam <= 1; ++steam) {
          compare(
              Args(steam ? "SatSteamProp" : "SatWaterProp", {x, double(byT), double(kind)}),
              [&](Record& r) {
                Poison();
                r.D(steam ? SatSteamProp(x, byT, kind) : SatWaterProp(x, byT, kind));
                r.I(CalcStatus);
              },
              [&](Record& r) {
                Poison();
                r.D(steam ? literal::SatSteamProp(x, byT, kind)
                          : literal::SatWaterProp(x, byT, kind));
                r.I(literal::CalcStatus);
              });
        }
      }
      // Dryness fractions from each kind of value, inside, at and beyond the tolerances.
      for (int valueKind : {PK_V, PK_S, PK_H, PK_X}) {
        for (double value : {-0.1, -0.000005, 0.0, 0.25, 1.0000005, 1.5, 1.0, 2.0, 4.0, 2000.0}) {
          const int wanted = (valueKind % 3) + 1;
          compare(
              Args("Quality", {x, double(byT), value, double(valueKind), double(wanted)}),
              [&](Record& r) {
                Poison();
                double dryness = -7;
                r.D(Quality(x, byT, value, valueKind, dryness, wanted));
                r.D(dryness);
                r.I(CalcStatus);
              },
              [&](Record& r) {
                Poison();
                double dryness = -7;
                r.D(literal::Quality(x, byT, value, valueKind, dryness, wanted));
                r.D(dryness);
                r.I(literal::CalcStatus);
              });
        }
      }
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

TEST(BitIdentity, EntryPoints) {
  Comparer compare;
  using Entry = double (*)(float, int*);
  struct Pair {
    const char* name;
    Entry fast, literal;
    bool pressure;
  };
  const Pair pairs[] = {
      {"SatTByP", SatTByP, literal::SatTByP, true},
      {"SatPByT", SatPByT, literal::SatPByT, false},
      {"SatWaterHByP", SatWaterHByP, literal::SatWaterHByP, true},
      {"SatWaterSByP", SatWaterSByP, literal::SatWaterSByP, true},
      {"SatWaterVByP", SatWaterVByP, literal::SatWaterVByP, true},
      {"SatWaterHByT", SatWaterHByT, literal::SatWaterHByT, false},
      {"SatWaterVByT", SatWaterVByT, literal::SatWaterVByT, false},
      {"SatWaterSByT", SatWaterSByT, literal::SatWaterSByT, false},
      {"SatSteamHByP", SatSteamHByP, literal::SatSteamHByP, true},
      {"SatSteamSByP", SatSteamSByP, literal::SatSteamSByP, true},
      {"SatSteamVByP", SatSteamVByP, literal::SatSteamVByP, true},
      {"SatSteamHByT", SatSteamHByT, literal::SatSteamHByT, false},
  };
  std::vector<float> p10s, ts;
  for (double p : LogGrid(0.0069, 221.3, 80)) p10s.push_back(float(p));
  for (float p : {0.007f, 1.0f, 165.0f, 166.0f, 221.2f, 221.19995f, 221.2001f}) p10s.push_back(p);
  for (double t : Grid(0.0, 374.2, 80)) ts.push_back(float(t));
  for (float t : {0.01f, 350.0f, 374.15f, 374.1502f}) ts.push_back(t);
  // The form's order for the saturation items: temperature first, then h, s, v at one pressure.
  for (int byP = 1; byP >= 0; --byP) {
    for (float x : byP ? p10s : ts) {
      engine_memo::ResetAll();
      for (const Pair& pair : pairs) {
        if (pair.pressure != bool(byP)) continue;
        compare(
            Args(pair.name, {double(x)}),
            [&](Record& r) {
              Poison();
              int status = -1;
              r.D(pair.fast(x, &status));
              r.I(status);
              r.I(CalcStatus);
            },
            [&](Record& r) {
              Poison();
              int status = -1;
              r.D(pair.literal(x, &status));
              r.I(status);
              r.I(literal::CalcStatus);
            });
      }
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

// A solver's outputs and its search diagnostics.
void SolverInfo(Record& r, const SearchInfo& info) {
  r.I(info.evaluations);
  r.I(info.converged);
  r.I(info.bestPoint);
}
void SolverInfo(Record& r, const literal::SearchInfo& info) {
  r.I(info.evaluations);
  r.I(info.converged);
  r.I(info.bestPoint);
}

// The given values of a (p, s) or (p, h) solve: the wet band's edges at some pressures, random
// values over the whole range, and many near the critical point. Pressures beyond the range too.
struct Given {
  double a, b;
};
std::vector<Given> GivenAtPressure(int kind) {
  std::vector<Given> out;
  const bool entropy = kind == PK_S;
  for (double p : {0.0007, 0.001, 0.02, 0.0250239, 0.03, 1.0, 16.5, 16.6, 20.0, 22.0, 22.119995}) {
    const double yW = literal::SatWaterProp(p, 0, kind);
    const double yS = literal::SatSteamProp(p, 0, kind);
    for (double dy : entropy ? std::vector<double>{-4e-5, -6e-5, 4e-5, 6e-5}
                             : std::vector<double>{-0.009, -0.011, -0.09, -0.11, 0.09, 0.11}) {
      out.push_back({p, yW + dy});
      out.push_back({p, yS + dy});
    }
    out.push_back({p, (yW + yS) / 2});
  }
  for (int k = 0; k < 120; ++k)
    out.push_back({LogUniform(0.0007, 100), entropy ? Uniform(0, 10) : Uniform(0, 4000)});
  for (int k = 0; k < 70; ++k)
    out.push_back({Uniform(19, 26), entropy ? Uniform(3.8, 5.4) : Uniform(1750, 2700)});
  for (double p : {0.0005, 22.12, 100.0, 100.5, double(NAN)})
    out.push_back({p, entropy ? 6.0 : 2000.0});
  out.push_back({1, double(NAN)});
  return out;
}

TEST(BitIdentity, SolversAtGivenPressure) {
  Comparer compare;
  for (int kind : {int(PK_S), int(PK_H)}) {
    for (const Given& g : GivenAtPressure(kind)) {
      compare(
          Args(kind == PK_S ? "SolveTFromPS" : "SolveTFromPH", {g.a, g.b}),
          [&](Record& r) {
            Poison();
            double t = -1, v = -1, z = -1, x = -1;
            SearchInfo info;
            r.I(kind == PK_S ? SolveTFromPS(g.a, g.b, t, v, z, x, &info)
                             : SolveTFromPH(g.a, g.b, t, v, z, x, &info));
            for (double d : {t, v, z, x}) r.D(d);
            r.I(CalcStatus);
            SolverInfo(r, info);
          },
          [&](Record& r) {
            Poison();
            double t = -1, v = -1, z = -1, x = -1;
            literal::SearchInfo info;
            r.I(kind == PK_S ? literal::SolveTFromPS(g.a, g.b, t, v, z, x, &info)
                             : literal::SolveTFromPH(g.a, g.b, t, v, z, x, &info));
            for (double d : {t, v, z, x}) r.D(d);
            r.I(literal::CalcStatus);
            SolverInfo(r, info);
          });
    }
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

// The given values of a (t, s) or (t, h) solve, chosen as for the pressure solvers, with the
// critical temperature and the temperatures around it.
std::vector<Given> GivenAtTemperature(int kind) {
  std::vector<Given> out;
  const bool entropy = kind == PK_S;
  for (double t : {0.01, 1.0, 100.0, 300.0, 350.0, 360.0, 374.0, 374.1498}) {
    const double yW = literal::SatWaterProp(t, 1, kind);
    const double yS = literal::SatSteamProp(t, 1, kind);
    for (double dy : {-6e-5, -4e-5, 4e-5, 6e-5}) {
      out.push_back({t, yW + dy});
      out.push_back({t, yS + dy});
    }
    out.push_back({t, (yW + yS) / 2});
  }
  for (int k = 0; k < 120; ++k)
    out.push_back({Uniform(0.01, 800), entropy ? Uniform(0, 10) : Uniform(0, 4000)});
  for (int k = 0; k < 70; ++k)
    out.push_back({Uniform(360, 400), entropy ? Uniform(3.8, 5.4) : Uniform(1750, 2700)});
  out.push_back({374.15, 4.4429});
  out.push_back({374.15, 2107.4});
  out.push_back({374.15, entropy ? 5.0 : 2500.0});
  for (double t : {-1.0, 800.5, double(NAN)}) out.push_back({t, entropy ? 6.0 : 2000.0});
  out.push_back({100, double(NAN)});
  out.push_back({100, 0.5});
  return out;
}

TEST(BitIdentity, SolversAtGivenTemperature) {
  Comparer compare;
  for (const Given& g : GivenAtTemperature(PK_S)) {
    compare(
        Args("SolvePFromTS", {g.a, g.b}),
        [&](Record& r) {
          Poison();
          double p = -1, v = -1, h = -1, x = -1;
          SearchInfo info;
          r.I(SolvePFromTS(g.a, g.b, p, v, h, x, &info));
          for (double d : {p, v, h, x}) r.D(d);
          r.I(CalcStatus);
          SolverInfo(r, info);
        },
        [&](Record& r) {
          Poison();
          double p = -1, v = -1, h = -1, x = -1;
          literal::SearchInfo info;
          r.I(literal::SolvePFromTS(g.a, g.b, p, v, h, x, &info));
          for (double d : {p, v, h, x}) r.D(d);
          r.I(literal::CalcStatus);
          SolverInfo(r, info);
        });
  }
  for (const Given& g : GivenAtTemperature(PK_H)) {
    compare(
        Args("SolvePFromTH", {g.a, g.b}),
        [&](Record& r) {
          Poison();
          double p1 = -1, v1 = -1, s1 = -1, x1 = -1, p2 = -1, v2 = -1, s2 = -1, x2 = -1;
          int st1 = -1, st2 = -1;
          SearchInfo info;
          r.I(SolvePFromTH(g.a, g.b, p1, v1, s1, x1, st1, p2, v2, s2, x2, st2, &info));
          for (double d : {p1, v1, s1, x1, p2, v2, s2, x2}) r.D(d);
          r.I(st1);
          r.I(st2);
          r.I(CalcStatus);
          SolverInfo(r, info);
        },
        [&](Record& r) {
          Poison();
          double p1 = -1, v1 = -1, s1 = -1, x1 = -1, p2 = -1, v2 = -1, s2 = -1, x2 = -1;
          int st1 = -1, st2 = -1;
          literal::SearchInfo info;
          r.I(literal::SolvePFromTH(g.a, g.b, p1, v1, s1, x1, st1, p2, v2, s2, x2, st2, &info));
          for (double d : {p1, v1, s1, x1, p2, v2, s2, x2}) r.D(d);
          r.I(st1);
          r.I(st2);
          r.I(literal::CalcStatus);
          SolverInfo(r, info);
        });
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

TEST(BitIdentity, IsentropicEndPoint) {
  Comparer compare;
  struct Case {
    float t1, p1x10, p2x10;
  };
  std::vector<Case> cases = {{500, 100, 1}, {394.012177f, 300, 222}, {450, 250, 220},
                             {300, 10, 10}, {300, 10, 0.0005f},      {300, 10, 0.005f},
                             {900, 10, 1},  {200, 1, 0.01f},         {374.15f, 221.2f, 100}};
  for (int k = 0; k < 60; ++k) {
    const float p1 = float(Uniform(0.5, 300));
    cases.push_back({float(Uniform(100, 650)), p1, float(p1 * LogUniform(0.0005, 0.95))});
  }
  for (const Case& c : cases) {
    compare(
        Args("IsentropicEndH", {c.t1, c.p1x10, c.p2x10}),
        [&](Record& r) {
          Poison();
          int status = -1;
          r.D(IsentropicEndH(c.t1, c.p1x10, c.p2x10, &status));
          r.I(status);
          r.I(CalcStatus);
        },
        [&](Record& r) {
          Poison();
          int status = -1;
          r.D(literal::IsentropicEndH(c.t1, c.p1x10, c.p2x10, &status));
          r.I(status);
          r.I(literal::CalcStatus);
        });
  }
  EXPECT_EQ(compare.mismatches, 0) << "of " << compare.compared;
}

}  // namespace
