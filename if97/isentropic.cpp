#include <cmath>

#include "if97/detail/state.h"
#include "if97/if97.h"

namespace if97 {

State IsentropicEnd(double p1, double t1, double p2) {
  if (!std::isfinite(p2)) return detail::Failed(Failure::NotFinite, 0);
  const State start = StateFromPT(p1, t1);
  if (start.failure != Failure::None) return start;
  if (p2 > p1) return detail::Failed(Failure::PressureOrder, p1);
  return StateFromPS(p2, start.s);
}

}  // namespace if97
