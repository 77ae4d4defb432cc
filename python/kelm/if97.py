"""IAPWS-IF97, the industrial formulation of 1997: every quantity, th and ts up to four states."""

from kelm._api import Functions as _Functions
from kelm._core import Formulation as _Formulation

_functions = _Functions(_Formulation.IF97)
pt, ph, ps, th, ts = _functions.pt, _functions.ph, _functions.ps, _functions.th, _functions.ts
sat_p, sat_t = _functions.sat_p, _functions.sat_t
isentropic_end, expand = _functions.isentropic_end, _functions.expand
__all__ = ["pt", "ph", "ps", "th", "ts", "sat_p", "sat_t", "isentropic_end", "expand"]
