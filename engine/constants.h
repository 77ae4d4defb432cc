// IFC-67 reference constants, validity ranges, the engine's status word and the small
// enumerations shared by every layer.
#pragma once

#include <cstdint>

// Reference constants of the 1967 IFC formulation for industrial use.
struct IfcConstantsRecord {
  double T0;  // K, °C to K offset: T = t + T0
  double Tc;  // K, critical temperature; θ = (t + T0)/Tc
  double pc;  // MPa, critical pressure; β = p/pc
  double vc;  // m³/kg, critical specific volume; χ = v/vc
};
inline constexpr IfcConstantsRecord IfcConstants{273.15, 647.3, 22.12, 0.00317};

// Properties returned directly at the critical point, never from an equation.
inline constexpr double kCriticalT = 374.15;   // °C
inline constexpr double kCriticalP = 22.12;    // MPa
inline constexpr double kCriticalV = 0.00317;  // m³/kg
inline constexpr double kCriticalS = 4.4429;   // kJ/(kg·K)
inline constexpr double kCriticalH = 2107.4;   // kJ/kg

// Property selector. PK_P is accepted only by the volume-based functions of subregions 3 and 4,
// PK_X only as the value kind of Quality.
enum PropKind : int { PK_V = 1, PK_S = 2, PK_H = 3, PK_P = 4, PK_X = 5 };

// Classification of a state point, produced by PointProp and the inverse solvers.
enum StateCode : int {
  SC_UNKNOWN = 0,        // an input was out of range
  SC_WATER = 1,          // compressed water, below the saturation temperature of its pressure
  SC_WET = 2,            // on the saturation line: saturated water or steam, or wet steam
  SC_STEAM = 3,          // superheated steam
  SC_SUPERCRITICAL = 4,  // pressure at or above 22.12 MPa (within 0.00001 MPa)
};

// Flags of the status word, an "above" and a "below" flag per quantity.
enum : std::uint32_t {
  CS_ORDER =
      0x1,  // isentropic expansion pressures not falling; only in IsentropicEndH's out-parameter
  CS_T_HIGH = 0x2,
  CS_T_LOW = 0x4,
  CS_P_HIGH = 0x8,
  CS_P_LOW = 0x10,
  CS_H_HIGH = 0x20,  // or a dryness fraction computed from h above 1
  CS_H_LOW = 0x40,
  CS_S_HIGH = 0x80,
  CS_S_LOW = 0x100,
  CS_V_HIGH = 0x200,  // a dryness fraction computed from v above 1
  CS_V_LOW = 0x400,
  CS_X_HIGH = 0x800,  // a given dryness fraction above 1
  CS_X_LOW = 0x1000,
  CS_NO_CONVERGENCE = 0x2000,  // a search hit its round cap or can no longer move
};

// Status of the last engine call on this thread: 0 on success, else flags, and the returned value
// is a sentinel. Each thread has its own status word (and its own memos), so threads may call the
// engine at once. Read it right after the call, before the next one. The calls that take a state or
// a saturation argument assign it (never OR onto the caller's value); a solver that ORs its own
// flags onto what its inner calls left says so where it does. These leave it as they found it:
// the subregion equations (Region1Reduced … Region4Reduced), SatPressureReduced, BoundaryL, and
// the two early returns of IsentropicEndH (pressures not falling, a pressure below its minimum),
// which report through their out-parameter only.
extern thread_local constinit std::uint32_t CalcStatus;

// v, s or h at the critical point for PK_V, PK_S, PK_H; 0 for any other kind.
inline double CriticalValue(int kind) {
  return kind == PK_V ? kCriticalV : kind == PK_S ? kCriticalS : kind == PK_H ? kCriticalH : 0;
}

// Range checks. Written as negated "inside" tests so that a NaN argument counts as below the
// range instead of slipping through every comparison into a search.
inline bool TempBelowRange(double t) { return !(t >= 0.01); }
inline bool PressBelowRange(double p) { return !(p >= 0.0007); }
// The saturation range, one quantity at a time: 0.01 ≤ t ≤ 374.15 + 0.0001 °C (CS_T_LOW,
// CS_T_HIGH) and 0.0007 ≤ p ≤ 22.12 + 0.00001 MPa (CS_P_LOW, CS_P_HIGH); 0 inside.
inline std::uint32_t SatTempFlags(double t) {
  return TempBelowRange(t) ? CS_T_LOW : t - 374.15 > 0.0001 ? CS_T_HIGH : 0u;
}
inline std::uint32_t SatPressFlags(double p) {
  return PressBelowRange(p) ? CS_P_LOW : p - 22.12 > 0.00001 ? CS_P_HIGH : 0u;
}
// The state range: 0.01 ≤ t ≤ 800 °C, 0.0007 ≤ p ≤ 100 MPa. Temperature flag assigned first,
// pressure flags OR-ed on.
std::uint32_t StateRangeFlags(double t, double p);

// Scaling of reduced subregion results to engineering units: v = χ·vc, s = σ·(pc·vc·1000/Tc),
// h = ε·pc·vc·1000. Any other kind is returned unchanged.
double ScaleReduced(double r, int kind);
