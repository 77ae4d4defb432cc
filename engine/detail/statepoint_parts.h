// The state-point function without its classification, for the inverse solvers, whose trial
// points' state is never used. Internal to the engine.
#pragma once

// PointProp's value and CalcStatus at (t °C, p MPa) for `kind`, without the StateCode. The same
// bits for every argument: the classification only adds a saturation-temperature search, which
// ends for every pressure of the accepted range, and the state it yields.
double PointPropValue(double t, double p, int kind);
