#include "if97/detail/constants.h"
#include "if97/detail/state.h"
#include "if97/if97.h"

namespace if97 {

State StateFromPT(double p, double t) {
  using namespace detail;
  const Check c = CheckPT(p, t);
  if (c.failure != Failure::None) return Failed(c.failure, c.limit);
  const double T = t + T0;
  const PhaseAt at = PropsAtPT(p, T);
  if (at.failure != Failure::None) return Failed(at.failure, at.limit);
  return FromProps(at.props, at.region, SinglePhase(p, T, at.region, at.branch));
}

}  // namespace if97
