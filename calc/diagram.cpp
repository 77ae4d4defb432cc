#include "calc/diagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calc/points.h"

namespace calc {
namespace {

// The states each formulation has: IFC-67 0.01 … 800 ℃ up to 100 MPa; IF97 0 … 800 ℃ up to
// 100 MPa and, in its region 5, on to 2000 ℃ up to 50 MPa.
double TMin(Formulation f) { return f == Formulation::IF97 ? 0 : 0.01; }
double TMax(Formulation f, double p) { return f == Formulation::IF97 && p <= 50 ? 2000 : 800; }
double PMax(Formulation f, double t) { return f == Formulation::IF97 && t > 800 ? 50 : 100; }
constexpr double kCommonTMax = 800;
// The lowest isobar of the charts: the isotherms end on it.
constexpr double kPLow = 0.001;

// The sampling measures each segment on both charts, scaled to the usual view's spans, so that a
// line is as smooth on one as on the other.
constexpr double kSSpan = 12, kTSpan = 800, kHSpan = 4500;
constexpr double kMaxStep = 0.012;  // a segment spans at most 1.2 % of a chart
constexpr double kMaxBend = 2e-4;   // its midpoint lies at most 0.02 % off the chord
constexpr int kMaxDepth = 18;       // halvings of one first step; enough to close in on tc
// One-phase states are taken this far from the saturation line (K, or relative in p), where the
// phase is beyond doubt; the saturated states themselves close the gap.
constexpr double kEdgeT = 1e-3, kEdgeP = 1e-5;

bool Valid(const ChartPoint& pt) {
  return std::isfinite(pt.s) && std::isfinite(pt.t) && std::isfinite(pt.h);
}

ChartPoint FromPoint(const Point& q) { return {q.p, q.t, q.h, q.s, q.x}; }

// The mixture of a saturated pair with dryness x: h and s are linear in x by definition.
ChartPoint Mixed(const SaturationPair& sat, double x) {
  const Point &w = sat.liquid, &v = sat.vapour;
  return {w.p, w.t, w.h + x * (v.h - w.h), w.s + x * (v.s - w.s), x};
}

struct Sample {
  double u;
  ChartPoint pt;
  bool ok;
};

bool NeedsSplit(const ChartPoint& a, const ChartPoint& m, const ChartPoint& b) {
  for (const double ySpan : {kTSpan, kHSpan}) {
    const bool ts = ySpan == kTSpan;
    const double ax = a.s / kSSpan, ay = (ts ? a.t : a.h) / ySpan;
    const double bx = b.s / kSSpan, by = (ts ? b.t : b.h) / ySpan;
    const double mx = m.s / kSSpan, my = (ts ? m.t : m.h) / ySpan;
    const double len = std::hypot(bx - ax, by - ay);
    if (len > kMaxStep) return true;
    const double off = len > 0 ? std::fabs((bx - ax) * (my - ay) - (by - ay) * (mx - ax)) / len
                               : std::hypot(mx - ax, my - ay);
    if (off > kMaxBend) return true;
  }
  return false;
}

using Runs = std::vector<std::vector<ChartPoint>>;

// Samples u ↦ state over [a, b]: n equal steps, each halved until it is short and straight on
// both charts; around a state that fails, halved down to kMaxDepth so that the line ends close to
// where the formulation's states end. Returns the runs of valid states, in order of u.
template <class Eval>
Runs Sampled(double a, double b, int n, const Eval& eval) {
  auto make = [&](double u) {
    const ChartPoint pt = eval(u);
    return Sample{u, pt, Valid(pt)};
  };
  std::vector<Sample> all;
  auto refine = [&](auto& self, const Sample& lo, const Sample& hi, int depth) -> void {
    if (depth < kMaxDepth && (lo.ok || hi.ok)) {
      const Sample mid = make((lo.u + hi.u) / 2);
      if (!(lo.ok && hi.ok && mid.ok) || NeedsSplit(lo.pt, mid.pt, hi.pt)) {
        self(self, lo, mid, depth + 1);
        self(self, mid, hi, depth + 1);
        return;
      }
      all.push_back(mid);
    }
    all.push_back(hi);
  };
  Sample prev = make(a);
  all.push_back(prev);
  for (int i = 1; i <= n; ++i) {
    const Sample next = make(i == n ? b : a + (b - a) * i / n);
    refine(refine, prev, next, 0);
    prev = next;
  }
  Runs runs;
  bool open = false;
  for (const Sample& s : all) {
    if (!s.ok) {
      open = false;
      continue;
    }
    if (!open) runs.emplace_back();
    open = true;
    runs.back().push_back(s.pt);
  }
  std::erase_if(runs, [](const std::vector<ChartPoint>& run) { return run.size() < 2; });
  return runs;
}

// Which side of the saturation line a one-phase state must lie on.
enum class Side { Any, Water, Steam };

// The state at (p, t), or an invalid point when it fails or lies on the wrong side. The side is
// judged by the entropy against the middle of s' and s'' of `sat` as well as by the phase: within
// a few mK of the line at low pressure IFC-67 names a state water whose properties are those of
// steam.
ChartPoint OnePhase(Formulation f, double p, double t, Side side, const SaturationPair& sat = {}) {
  const Point q = StateFromPT(f, p, t);
  if (q.status != Status::Ok) return {};
  const double middle = (sat.liquid.s + sat.vapour.s) / 2;
  if (side == Side::Water && (q.phase == Phase::Steam || q.phase == Phase::Wet || q.s > middle))
    return {};
  if (side == Side::Steam && (q.phase == Phase::Water || q.phase == Phase::Wet || q.s < middle))
    return {};
  return FromPoint(q);
}

// Whether two states are one step apart on both charts, so that a line may join them.
bool Adjacent(const ChartPoint& a, const ChartPoint& b) {
  return std::hypot((b.s - a.s) / kSSpan, (b.t - a.t) / kTSpan) <= kMaxStep &&
         std::hypot((b.s - a.s) / kSSpan, (b.h - a.h) / kHSpan) <= kMaxStep;
}

// Adds the runs as lines. The last run of `before`, the states `wet` (where an isobar or isotherm
// crosses the wet region as a straight line) and the first run of `after` become one line where
// each reaches the next; a state both hold is kept once.
void AddLines(std::vector<Line>& lines, LineKind kind, double value, Runs before,
              std::vector<ChartPoint> wet = {}, Runs after = {}) {
  auto add = [&](std::vector<ChartPoint> points) {
    if (points.size() >= 2) lines.push_back({kind, value, std::move(points)});
  };
  auto join = [](std::vector<ChartPoint>& to, std::vector<ChartPoint>& from) {
    if (to.empty() || from.empty() || !Adjacent(to.back(), from.front())) return false;
    const ChartPoint &a = to.back(), &b = from.front();
    const bool same = a.p == b.p && a.t == b.t && a.s == b.s && a.h == b.h;
    to.insert(to.end(), from.begin() + (same ? 1 : 0), from.end());
    from.clear();
    return true;
  };
  std::vector<ChartPoint> joined;
  if (!before.empty()) {
    joined = std::move(before.back());
    before.pop_back();
  }
  if (!wet.empty() && !join(joined, wet)) {
    add(std::move(joined));
    joined = std::move(wet);
  }
  if (!after.empty() && join(joined, after.front())) after.erase(after.begin());
  for (auto& run : before) add(std::move(run));
  add(std::move(joined));
  for (auto& run : after) add(std::move(run));
}

// The wet part of a line below the critical point: the saturated pair and mixtures between them,
// so that the straight line still has states to show.
std::vector<ChartPoint> WetPart(const SaturationPair& sat) {
  std::vector<ChartPoint> wet;
  if (sat.status != Status::Ok) return wet;
  for (int k = 0; k <= 10; ++k) wet.push_back(Mixed(sat, k / 10.0));
  return wet;
}

void AddSaturation(Scene& scene) {
  const Formulation f = scene.formulation;
  const double tc = scene.critical.t;
  auto side = [f](double x) {
    return [f, x](double t) {
      const SaturationPair sat = SaturationByT(f, t);
      return sat.status == Status::Ok ? Mixed(sat, x) : ChartPoint{};
    };
  };
  const SaturationPair top = SaturationByT(f, tc);
  scene.criticalPoint = {scene.critical.p, tc, top.liquid.h, top.liquid.s, NAN};
  Runs water = Sampled(TMin(f), tc, 16, side(0)), steam = Sampled(TMin(f), tc, 16, side(1));
  // Saturated steam back down from the critical point, so that the dome is one line.
  std::reverse(steam.begin(), steam.end());
  for (auto& run : steam) std::reverse(run.begin(), run.end());
  // Both branches end in the critical point, which the dome holds once, with tc and pc exactly.
  if (!water.empty() && water.back().back().t == tc) water.back().back() = scene.criticalPoint;
  if (!steam.empty() && steam.front().front().t == tc) steam.front().front() = scene.criticalPoint;
  AddLines(scene.lines, LineKind::Saturation, NAN, std::move(water), {}, std::move(steam));
}

void AddIsobar(Scene& scene, double p) {
  const Formulation f = scene.formulation;
  const double tc = scene.critical.t, tMax = TMax(f, p);
  if (p < scene.critical.p) {
    const SaturationPair sat = SaturationByP(f, p);
    const double ts = sat.liquid.t;
    Runs water;
    if (sat.status == Status::Ok && ts - kEdgeT > TMin(f))
      water = Sampled(TMin(f), ts - kEdgeT, 8,
                      [&](double t) { return OnePhase(f, p, t, Side::Water, sat); });
    Runs steam = Sampled(sat.status == Status::Ok ? ts + kEdgeT : TMin(f), tMax, 16,
                         [&](double t) { return OnePhase(f, p, t, Side::Steam, sat); });
    AddLines(scene.lines, LineKind::Isobar, p, std::move(water), WetPart(sat), std::move(steam));
    return;
  }
  auto any = [&](double t) { return OnePhase(f, p, t, Side::Any); };
  if (p == scene.critical.p) {
    // The critical isobar runs through the top of the dome: tc is a vertex of it.
    Runs below = Sampled(TMin(f), tc, 16, any), above = Sampled(tc, tMax, 16, any);
    AddLines(scene.lines, LineKind::Isobar, p, std::move(below), {}, std::move(above));
    return;
  }
  AddLines(scene.lines, LineKind::Isobar, p, Sampled(TMin(f), tMax, 24, any));
}

// An isotherm by falling pressure, from the highest of the range down to the lowest isobar, so
// that it runs by rising entropy like the other lines.
void AddIsotherm(Scene& scene, double t) {
  const Formulation f = scene.formulation;
  const double uHigh = -std::log10(PMax(f, t)), uLow = -std::log10(kPLow);
  auto at = [f, t](Side side, const SaturationPair& sat) {
    return [f, t, side, sat](double u) { return OnePhase(f, std::pow(10.0, -u), t, side, sat); };
  };
  if (t >= scene.critical.t) {
    AddLines(scene.lines, LineKind::Isotherm, t, Sampled(uHigh, uLow, 16, at(Side::Any, {})));
    return;
  }
  const SaturationPair sat = SaturationByT(f, t);
  if (sat.status != Status::Ok) return;
  const double ps = sat.liquid.p;
  AddLines(scene.lines, LineKind::Isotherm, t,
           Sampled(uHigh, -std::log10(ps * (1 + kEdgeP)), 8, at(Side::Water, sat)), WetPart(sat),
           Sampled(-std::log10(ps * (1 - kEdgeP)), uLow, 16, at(Side::Steam, sat)));
}

void AddDryness(Scene& scene, double x) {
  const Formulation f = scene.formulation;
  AddLines(scene.lines, LineKind::Dryness, x,
           Sampled(TMin(f), scene.critical.t, 16, [f, x](double t) {
             const SaturationPair sat = SaturationByT(f, t);
             return sat.status == Status::Ok ? Mixed(sat, x) : ChartPoint{};
           }));
}

// Round limits: multiples of the step, a value a twentieth of a step beyond one rounded to it.
Bounds Rounded(Bounds b, double sStep, double yStep) {
  auto down = [](double v, double step) { return step * std::floor(v / step + 0.05); };
  auto up = [](double v, double step) { return step * std::ceil(v / step - 0.05); };
  return {down(b.sMin, sStep), up(b.sMax, sStep), down(b.yMin, yStep), up(b.yMax, yStep)};
}

void AddBounds(Scene& scene) {
  for (const Chart chart : {Chart::TS, Chart::HS}) {
    Bounds all{INFINITY, -INFINITY, INFINITY, -INFINITY}, usual = all;
    for (const Line& line : scene.lines) {
      if (!OnChart(line.kind, chart)) continue;
      for (const ChartPoint& pt : line.points) {
        const double y = ChartY(chart, pt);
        for (Bounds* b : {&all, &usual}) {
          if (b == &usual && pt.t > kCommonTMax) continue;
          b->sMin = std::min(b->sMin, pt.s);
          b->sMax = std::max(b->sMax, pt.s);
          b->yMin = std::min(b->yMin, y);
          b->yMax = std::max(b->yMax, y);
        }
      }
    }
    const double yStep = chart == Chart::TS ? 100 : 500;
    scene.view[int(chart)] = Rounded(usual, 1, yStep);
    scene.extent[int(chart)] = Rounded(all, 1, yStep);
  }
}

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

bool OnChart(LineKind kind, Chart chart) {
  return chart == Chart::HS || kind == LineKind::Saturation || kind == LineKind::Isobar;
}

std::string LineLabel(const Line& line) {
  switch (line.kind) {
    case LineKind::Isobar: return Printed("%g MPa", line.value);
    case LineKind::Isotherm: return Printed("%g ℃", line.value);
    case LineKind::Dryness: return Printed("x=%g", line.value);
    case LineKind::Saturation: break;
  }
  return {};
}

std::vector<double> IsobarPressures(Formulation f) {
  return {0.001, 0.01, 0.1, 1, 5, 10, Critical(f).p, 30, 50, 100};
}

std::vector<double> IsothermTemperatures(Formulation f) {
  std::vector<double> t;
  for (double value = 100; value <= TMax(f, 0); value += 100) t.push_back(value);
  return t;
}

std::vector<double> DrynessValues() { return {0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9, 0.95}; }

Scene BuildScene(Formulation f) {
  Scene scene;
  scene.formulation = f;
  scene.critical = Critical(f);
  AddSaturation(scene);
  for (const double p : IsobarPressures(f)) AddIsobar(scene, p);
  for (const double t : IsothermTemperatures(f)) AddIsotherm(scene, t);
  for (const double x : DrynessValues()) AddDryness(scene, x);
  AddBounds(scene);
  return scene;
}

const Scene& SceneOf(Formulation f) {
  if (f == Formulation::IF97) {
    static const Scene if97 = BuildScene(Formulation::IF97);
    return if97;
  }
  static const Scene ifc67 = BuildScene(Formulation::IFC67);
  return ifc67;
}

Bounds ViewOf(const Scene& scene, Chart chart, const std::vector<Mark>& marks) {
  Bounds view = scene.view[int(chart)];
  const double sPad = (view.sMax - view.sMin) * 0.04, yPad = (view.yMax - view.yMin) * 0.04;
  for (const Mark& mark : marks) {
    const double s = mark.point.s, y = ChartY(chart, mark.point);
    if (!std::isfinite(s) || !std::isfinite(y)) continue;
    if (s < view.sMin || s > view.sMax) {
      view.sMin = std::min(view.sMin, s - sPad);
      view.sMax = std::max(view.sMax, s + sPad);
    }
    if (y < view.yMin || y > view.yMax) {
      view.yMin = std::min(view.yMin, y - yPad);
      view.yMax = std::max(view.yMax, y + yPad);
    }
  }
  return view;
}

ChartPoint ChartPointOf(const Solution& s) {
  return {s.p, s.t, s.h, s.s, s.phase == Phase::Wet && s.x >= 0 && s.x <= 1 ? s.x : NAN};
}

Marks MarksOf(const Request& request) {
  Marks marks;
  const Answer answer = Calculate(request);
  if (answer.failed || answer.solutions.empty()) {
    for (const std::string& reason : answer.reasons)
      marks.failure += (marks.failure.empty() ? "" : "；") + reason;
    if (marks.failure.empty()) marks.failure = "计算失败";
    return marks;
  }
  const bool isentropic = request.item == Item::Isentropic;
  const std::size_t n = answer.solutions.size();
  Point start;
  if (isentropic) {
    start = StateFromPT(request.formulation, request.in[0], request.in[1]);
    if (start.status == Status::Ok)
      marks.points.push_back({FromPoint(start), "初态", MarkKind::Start});
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::string number = n == 1 ? "" : std::to_string(i + 1);
    const ChartPoint pt = ChartPointOf(answer.solutions[i]);
    marks.points.push_back({pt,
                            isentropic ? "终态" + number
                            : n == 1   ? "状态点"
                                       : "解" + number,
                            MarkKind::Solution});
    if (isentropic && start.status == Status::Ok) marks.expansion.push_back({FromPoint(start), pt});
  }
  return marks;
}

std::string Describe(const ChartPoint& pt) {
  std::string text = "p = " + Printed("%.6g", pt.p) + " MPa  t = " + Printed("%.2f", pt.t) +
                     " ℃  h = " + Printed("%.1f", pt.h) + " kJ/kg  s = " + Printed("%.4f", pt.s) +
                     " kJ/(kg·K)";
  if (std::isfinite(pt.x)) text += "  x = " + Printed("%.4g", pt.x);
  return text;
}

}  // namespace calc
