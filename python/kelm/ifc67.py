"""IFC-67, the 1967 IFC Formulation for Industrial Use: the engine's double-precision results at
double-precision inputs. The calculator's form shows the same values rounded to single precision;
cp, cv, w and kappa are NaN (IFC-67 gives none), th gives up to two
states, ts one."""

from kelm._api import Functions as _Functions
from kelm._core import Formulation as _Formulation

_functions = _Functions(_Formulation.IFC67)
pt, ph, ps, th, ts = _functions.pt, _functions.ph, _functions.ps, _functions.th, _functions.ts
sat_p, sat_t = _functions.sat_p, _functions.sat_t
isentropic_end, expand = _functions.isentropic_end, _functions.expand
__all__ = ["pt", "ph", "ps", "th", "ts", "sat_p", "sat_t", "isentropic_end", "expand"]
