// The temperature–entropy and enthalpy–entropy diagrams as data, free of any window: the
// saturation line (the dome), isobars, isotherms and lines of constant dryness in physical units,
// and the marks of a calculation. A painter only maps them to its surface.
//
// Every vertex is a state computed through this layer (or the mixture of a saturated pair by its
// dryness), so each carries p, t, h, s of a real state of the formulation. Units: MPa, ℃, kJ/kg,
// kJ/(kg·K).
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"

namespace calc {

// T–s: x = s, y = t (℃). h–s: x = s, y = h.
enum class Chart { TS, HS };

struct ChartPoint {
  double p = NAN, t = NAN, h = NAN, s = NAN;
  double x = NAN;  // dryness of a saturated or wet state, 0…1; NaN for a one-phase state
};

// The ordinate of a point on a chart: t on T–s, h on h–s.
inline double ChartY(Chart chart, const ChartPoint& pt) { return chart == Chart::TS ? pt.t : pt.h; }

enum class LineKind { Saturation, Isobar, Isotherm, Dryness };

// Isobars and the saturation line are on both charts; isotherms and the dryness lines on h–s
// only (on T–s an isotherm is a horizontal line and adds nothing).
bool OnChart(LineKind kind, Chart chart);

// One continuous polyline. A line the formulation interrupts (no state at some vertex) is held as
// several Lines with the same kind and value.
struct Line {
  LineKind kind = LineKind::Isobar;
  double value = NAN;  // MPa, ℃ or the dryness; NaN for the saturation line
  std::vector<ChartPoint> points;
};

// "10 MPa", "22.12 MPa", "0.001 MPa", "300 ℃", "x=0.95"; empty for the saturation line.
std::string LineLabel(const Line& line);

// A rectangle of the (s, y) plane.
struct Bounds {
  double sMin = 0, sMax = 0, yMin = 0, yMax = 0;
};

struct Scene {
  Formulation formulation = Formulation::IFC67;
  CriticalPoint critical{};
  ChartPoint criticalPoint;  // the top of the dome: tc, pc and the state there
  // The saturation line first: saturated water from the lowest temperature of the formulation up
  // to the critical point, then saturated steam back down; then the isobars, isotherms and
  // dryness lines, each kind by rising value.
  std::vector<Line> lines;
  // The usual view of each chart (up to 800 ℃), and the extent of every line (IF97's lines at
  // p ≤ 50 MPa run on to 2000 ℃), both with round limits. Indexed by Chart.
  Bounds view[2], extent[2];
};

// The values each kind of line is drawn at: isobars at 0.001 … 100 MPa with the formulation's
// critical pressure among them, isotherms every 100 ℃ from 100 ℃ to the formulation's highest
// temperature, dryness 0.60 … 0.95 every 0.05.
std::vector<double> IsobarPressures(Formulation f);
std::vector<double> IsothermTemperatures(Formulation f);
std::vector<double> DrynessValues();

// The whole scene of a formulation, both charts' lines (several thousand states).
Scene BuildScene(Formulation f);
// The same, computed on first use and kept for the life of the program; safe from any thread.
const Scene& SceneOf(Formulation f);

// The marks of a calculation on the diagrams.
enum class MarkKind { Solution, Start, Added };
struct Mark {
  ChartPoint point;
  std::string label;
  MarkKind kind = MarkKind::Solution;
};
struct Segment {
  ChartPoint from, to;
};
struct Marks {
  std::vector<Mark> points;
  // The isentropic item's expansion, from the initial state (p1, t1) to each end point: a line of
  // constant s on both charts.
  std::vector<Segment> expansion;
  std::string failure;  // the reasons of a failed calculation, or of one without a state
};

// The request calculated in its formulation (calc::Calculate): one solution labelled "状态点",
// several "解1", "解2", …; the isentropic item's initial state "初态" and end point "终态" (or
// "终态1", "终态2", …) with the expansion between them. A failed calculation marks nothing.
Marks MarksOf(const Request& request);

// The scene's usual view of a chart, widened to hold every mark with a margin of 4 % of the span.
Bounds ViewOf(const Scene& scene, Chart chart, const std::vector<Mark>& marks);

// A solution of the layer as a point of the charts.
ChartPoint ChartPointOf(const Solution& solution);

// One line of text for a point, as the hover shows it:
// "p = 10 MPa  t = 500.00 ℃  h = 3373.7 kJ/kg  s = 6.5966 kJ/(kg·K)" and "  x = 0.9" when wet.
std::string Describe(const ChartPoint& pt);

}  // namespace calc
