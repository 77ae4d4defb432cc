// The real expansion of a turbine section: from its inlet down to an outlet pressure with the
// internal efficiency η, the isentropic end (h2s), the isentropic drop Δhs = h1 − h2s, the actual
// drop η·Δhs and the actual end at (p2, h1 − η·Δhs); a chain of sections, each from the end of the
// one before with its own stage-group efficiency; and η from a measured outlet,
// η = (h1 − h2)/(h1 − h2s). Values in MPa, ℃, kJ/kg, kJ/(kg·K), m³/kg; the units only change the
// numbers in the sentences and the tables.
#pragma once

#include <string>
#include <vector>

#include "calc/points.h"
#include "calc/table.h"
#include "calc/units.h"

namespace calc {

// The inlet: p with t, p with h, or saturated steam at p (value unused).
enum class InletKind { PressureTemperature, PressureEnthalpy, SaturatedSteam };
struct Inlet {
  InletKind kind = InletKind::PressureTemperature;
  double p = NAN, value = NAN;
};

// A measured outlet: p with t (superheated steam only: a wet outlet has the saturation temperature
// whatever its dryness), p with the dryness, or p with h.
enum class OutletKind { PressureTemperature, PressureDryness, PressureEnthalpy };
struct Outlet {
  OutletKind kind = OutletKind::PressureTemperature;
  double p = NAN, value = NAN;
};

// One section of a chain: its end (extraction) pressure and its stage group's efficiency.
struct Section {
  double p = NAN, eta = NAN;
};
inline constexpr int kMaxSections = 50;

// Within this many ℃ above the saturation temperature an outlet given by (p, t) is taken as
// wet or saturated, and refused.
inline constexpr double kSaturationBand = 0.001;

struct SectionResult {
  Expansion expansion;  // inlet, isentropic end, actual end, Δhs and η·Δhs
  double eta = NAN;     // given, or worked out from the measured outlet
};

struct TurbineResult {
  Formulation formulation = Formulation::IFC67;
  bool measured = false;  // η from a measured outlet
  Point inlet;
  std::vector<SectionResult> sections;  // each from the end of the one before
  // The whole chain: the isentropic end from the inlet straight to the last pressure, its drop,
  // the actual drop to the last end and their ratio, the overall efficiency.
  Point isentropicEnd;
  double isentropicDrop = NAN, actualDrop = NAN, eta = NAN;
  // Why nothing was computed (one sentence naming the input, its value and the limit), or empty;
  // and what the engineer must know about a computed result (η above 1, …).
  std::string reason;
  std::vector<std::string> warnings;
  bool Ok() const { return reason.empty(); }
};

// The inlet's state: with its saturation temperature and superheat.
Point InletState(Formulation f, const Inlet& inlet);

// The chain from the inlet through each section's end, 1 to kMaxSections sections, each end at or
// below the pressure before it and each efficiency 0 < η ≤ 1. A single section is the plain
// expansion of a turbine section.
TurbineResult ExpandSections(Formulation f, const Inlet& inlet,
                             const std::vector<Section>& sections, const Units& units = {});

// η of one section from its measured inlet and outlet (below the inlet pressure). An outlet whose
// entropy lies below the inlet's (η > 1), or whose enthalpy is not below it (η ≤ 0), is computed
// and warned of.
TurbineResult MeasuredEfficiency(Formulation f, const Inlet& inlet, const Outlet& outlet,
                                 const Units& units = {});

// The expansion line for the h–s diagram and the record: the inlet, then each section's end.
std::vector<Point> ExpansionLine(const TurbineResult& result);

// The result as a table, one row per point (the inlet, each section's isentropic and actual end,
// and for a chain the overall isentropic end) with its drops and efficiency, the state text last;
// in the given units.
Table TurbineTable(const TurbineResult& result, const Units& units = {});

// Both formulations, point by point and quantity by quantity: IFC-67, IF97 and Δ = IF97 − IFC-67.
Table TurbineCompareTable(const TurbineResult& ifc67, const TurbineResult& if97,
                          const Units& units = {});

}  // namespace calc
