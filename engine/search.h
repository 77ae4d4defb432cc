// What a step search tells a caller that wants more than its result: how many evaluations it
// took, and whether it ended by its own stop test.
#pragma once

struct SearchInfo {
  int evaluations = 0;     // evaluations of the searched function, the one at the start included
  bool converged = true;   // false: the round cap was reached or the trial could no longer move
  bool bestPoint = false;  // solvers only: ended by accepting the best point of a stalled search
};
