// Constants of IAPWS-IF97 and the limits of the regions, in K, MPa, kg/m³ and kJ/(kg·K).
#pragma once

namespace if97::detail {

inline constexpr double R = 0.461526;  // kJ/(kg·K), specific gas constant of water
inline constexpr double Tc = 647.096;  // K, critical temperature
inline constexpr double pc = 22.064;   // MPa, critical pressure
inline constexpr double rhoc = 322.0;  // kg/m³, critical density
inline constexpr double T0 = 273.15;   // K at 0 °C: T = t + T0

inline constexpr double Tmin = 273.15;     // K, lowest temperature of regions 1, 2 and 4
inline constexpr double T13 = 623.15;      // K, region 1 ends and region 3 begins
inline constexpr double TB23max = 863.15;  // K, upper end of the 2–3 boundary
inline constexpr double T25 = 1073.15;     // K, region 2 ends and region 5 begins
inline constexpr double Tmax5 = 2273.15;   // K, upper end of region 5
inline constexpr double pmax = 100.0;      // MPa, upper limit of regions 1, 2 and 3
inline constexpr double pmax5 = 50.0;      // MPa, upper limit of region 5

// The same limits in °C as the caller gives them (t + T0 lands on each K value exactly; the
// differences T − T0 do not all land on the °C values).
inline constexpr double tc = 373.946;
inline constexpr double t25 = 800.0;
inline constexpr double tMax5 = 2000.0;

// Lowest pressure accepted anywhere: 1 Pa. Below the triple point only vapour exists; there the
// region 2 equation is an ideal gas to better than 1e-5, and v = RT/p stays far from overflow.
inline constexpr double pmin = 1e-6;
// ps(Tmin) by Eq. 30 as a double, the lowest pressure of the saturation line (611.212677 Pa).
inline constexpr double psMin = 0.00061121267744434539;
// ps(T13), where the saturation line leaves region 1 and 2 for region 3 (the 2–3 boundary starts
// 1e-12 relative away from it).
inline constexpr double ps13 = 16.529164252604509;

}  // namespace if97::detail
