"""Water and steam properties after IFC-67 (kelm.ifc67) and IAPWS-IF97 (kelm.if97), over NumPy
arrays, in the calculator's units: MPa, ℃, kJ/kg, kJ/(kg·K), m³/kg, kg/m³, m/s.

    >>> import kelm.if97
    >>> r = kelm.if97.pt([0.1, 16.7], [20.0, 538.0])
    >>> r["h"].round(3), r["phase"]
    (array([  84.012, 3398.617]), array([1, 3], dtype=int8))

Functions of both modules: pt(p, t), ph(p, h), ps(p, s), th(t, h), ts(t, s), sat_p(p), sat_t(t),
isentropic_end(p1, t1, p2), expand(p1, t1, p2, eta). Arguments broadcast as in NumPy (scalars,
lists, arrays of any shape; real numbers only). The result is a dict of arrays of the broadcast
shape (NumPy scalars for scalar arguments), or with as_frame=True a pandas DataFrame, one row
per element in C order:

    p, t, h, s, v, x       the state; x, the dryness, only for wet states (0…1), else NaN
    rho, u                 density and internal energy
    cp, cv, w, kappa       IF97 only, and not for a wet mixture; NaN otherwise
    tsat, psat, superheat  with extras=True: the saturation temperature at p, pressure at t,
                           and t − tsat (a saturation-temperature search in IFC-67)
    phase                  int8, a Phase: UNKNOWN (failed), WATER, WET, STEAM, SUPERCRITICAL
    status, limit          uint8, a Status (OK is 0); the bound crossed, where one applies

A failed element has NaN values, its status and no effect on the others; explain(status) gives
the calculator's sentence for it. th and ts add the k-th state along the isotherm in columns
ending in k ("p2", "phase2", …) and "count"; finding none is NO_SOLUTION. sat_p and sat_t give
p, t and the liquid's and the vapour's h, s, v, rho, u, cp, cv, w, kappa ending in _liq, _vap.

threads=None or 1 computes on the calling thread, n > 1 on n threads, 0 on every core; the
GIL is released meanwhile, and the results do not depend on the number of threads. IFC-67
values are the engine's double-precision results at double-precision inputs: the calculator's
form shows them rounded to single precision.
"""

import operator as _operator
from enum import IntEnum as _IntEnum

from kelm import _core

__version__ = _core.__version__

Status = _IntEnum("Status", {name: code for code, name in enumerate(_core.STATUS_NAMES)})
Status.__doc__ = "Why an element failed; OK (0) when it did not."
Phase = _IntEnum("Phase", {name: code for code, name in enumerate(_core.PHASE_NAMES)})
Phase.__doc__ = "The phase of a state; UNKNOWN where it failed."


def explain(code, english=False):
    """The calculator's sentence for a status code: Chinese, or English."""
    return _core.explain(_operator.index(code), bool(english))


from kelm import if97, ifc67  # noqa: E402  (they use what is above)

__all__ = ["Phase", "Status", "explain", "if97", "ifc67"]
