// Density of region 3 at given (p, T): the one inversion that every region 3 state needs.
#pragma once

#include "if97/detail/regions.h"

namespace if97::detail {

// Which root of p(ρ, T) = p: below the critical temperature the isotherm has a vapour branch
// (ρ below the vapour spinodal) and a liquid branch (above the liquid spinodal); at and above it
// a single rising branch.
enum class Branch { Vapour, Liquid, Single };

struct Density {
  double rho;      // kg/m³
  bool found;      // false: no root on the branch; rho is the branch end nearest to p
  bool capped;     // the iteration cap was hit (never seen; reported, not hidden)
  int iterations;  // evaluations of p(ρ, T)
};

// ρ kg/m³ of region 3 with p(ρ, T) = p MPa on the given branch, to 1e-13 of p (1e-12 where
// rounding stalls the iteration). `start`, when inside the branch, seeds the iteration; 0 for
// none. Newton inside a bracket that only shrinks, bisection where Newton would leave it; at
// most kDensityCap evaluations. Branch and T must agree (Single only for T ≥ Tc).
Density Region3Density(const Region3Isotherm& isotherm, double p, Branch branch,
                       double start = 0.0);
inline Density Region3Density(double p, double T, Branch branch, double start = 0.0) {
  return Region3Density(Region3Isotherm(T), p, branch, start);
}
inline constexpr int kDensityCap = 200;

}  // namespace if97::detail
