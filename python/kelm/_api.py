"""The functions of kelm.ifc67 and kelm.if97: arguments checked and broadcast, the computation in
the compiled module on as many threads as asked, results shaped like the arguments."""

import math
import operator
import os
import sys

import numpy as np

from kelm import _core

MAX_THREADS = 1024


def cores():
    """The cores this process may run on."""
    try:
        return len(os.sched_getaffinity(0))
    except AttributeError:  # not on Linux
        return os.cpu_count() or 1


def _thread_count(threads):
    if threads is None:
        return 1
    try:
        count = operator.index(threads)
    except TypeError:
        raise TypeError(f"threads must be a whole number or None, not {threads!r}") from None
    if count == 0:
        return min(cores(), MAX_THREADS)
    if not 0 < count <= MAX_THREADS:
        raise ValueError(f"threads must be 0 (every core) to {MAX_THREADS}, not {count}")
    return count


def _broadcast(names, values):
    """Each argument as float64 in one dimension, holding n values or one for all; the shape."""
    arrays = []
    for name, value in zip(names, values):
        try:
            array = np.asarray(value)
        except ValueError as error:  # a ragged list
            raise ValueError(f"{name}: {error}") from None
        if array.dtype.kind not in "iuf":
            raise TypeError(f"{name} must be real numbers, not {array.dtype} "
                            f"({type(value).__name__})")
        arrays.append(array)
    try:
        shape = np.broadcast_shapes(*(a.shape for a in arrays))
    except ValueError:
        shapes = ", ".join(f"{name} {a.shape}" for name, a in zip(names, arrays))
        raise ValueError(f"shapes cannot be broadcast together: {shapes}") from None
    flat = []
    for array in arrays:
        if array.size != 1 and array.shape != shape:
            array = np.broadcast_to(array, shape)  # e.g. (3, 1) against (4,): copied below
        flat.append(np.ascontiguousarray(array, dtype=np.float64).reshape(-1))
    return flat, shape


def _index(values, shape):
    """The index of a pandas Series among the arguments, for a DataFrame of one dimension."""
    pandas = sys.modules.get("pandas")
    if pandas is None or len(shape) != 1:
        return None
    for value in values:
        if isinstance(value, pandas.Series) and len(value) == shape[0]:
            return value.index
    return None


def call(function, formulation, names, values, threads, as_frame, extras=None):
    flat, shape = _broadcast(names, values)
    arguments = [formulation, *flat, math.prod(shape), _thread_count(threads)]
    if extras is not None:
        arguments.append(bool(extras))
    columns = getattr(_core, function)(*arguments)
    if as_frame:
        try:
            import pandas
        except ImportError:
            raise ImportError("as_frame=True needs pandas (Debian: python3-pandas)") from None
        return pandas.DataFrame(columns, index=_index(values, shape))
    return {key: column.reshape(shape)[()] for key, column in columns.items()}


class Functions:
    """The functions of one formulation; kelm.ifc67 and kelm.if97 export them."""

    def __init__(self, formulation):
        self._formulation = formulation

    def pt(self, p, t, *, extras=False, threads=None, as_frame=False):
        """The state at pressure p (MPa) and temperature t (℃)."""
        return call("pt", self._formulation, ("p", "t"), (p, t), threads, as_frame, extras)

    def ph(self, p, h, *, extras=False, threads=None, as_frame=False):
        """The state at pressure p (MPa) and enthalpy h (kJ/kg)."""
        return call("ph", self._formulation, ("p", "h"), (p, h), threads, as_frame, extras)

    def ps(self, p, s, *, extras=False, threads=None, as_frame=False):
        """The state at pressure p (MPa) and entropy s (kJ/(kg·K))."""
        return call("ps", self._formulation, ("p", "s"), (p, s), threads, as_frame, extras)

    def th(self, t, h, *, extras=False, threads=None, as_frame=False):
        """Every state along the isotherm t (℃) with enthalpy h (kJ/kg), by rising pressure:
        the first in the plain columns, the k-th in columns ending in k, "count" how many."""
        return call("th", self._formulation, ("t", "h"), (t, h), threads, as_frame, extras)

    def ts(self, t, s, *, extras=False, threads=None, as_frame=False):
        """Every state along the isotherm t (℃) with entropy s (kJ/(kg·K)), as th."""
        return call("ts", self._formulation, ("t", "s"), (t, s), threads, as_frame, extras)

    def sat_p(self, p, *, threads=None, as_frame=False):
        """Saturated water (columns ending in _liq) and steam (_vap) at pressure p (MPa)."""
        return call("sat_p", self._formulation, ("p",), (p,), threads, as_frame)

    def sat_t(self, t, *, threads=None, as_frame=False):
        """Saturated water (columns ending in _liq) and steam (_vap) at temperature t (℃)."""
        return call("sat_t", self._formulation, ("t",), (t,), threads, as_frame)

    def isentropic_end(self, p1, t1, p2, *, extras=False, threads=None, as_frame=False):
        """The end of the isentropic change from p1 (MPa), t1 (℃) down to p2 (MPa)."""
        return call("isentropic_end", self._formulation, ("p1", "t1", "p2"), (p1, t1, p2),
                    threads, as_frame, extras)

    def expand(self, p1, t1, p2, eta, *, extras=False, threads=None, as_frame=False):
        """A turbine section from p1 (MPa), t1 (℃) to p2 (MPa) with internal efficiency eta
        (0 < eta ≤ 1): the actual end state in the plain columns; the inlet's h1, s1; the
        isentropic end's t2s, h2s, v2s, x2s; the isentropic drop dhs and the actual drop dh."""
        return call("expand", self._formulation, ("p1", "t1", "p2", "eta"), (p1, t1, p2, eta),
                    threads, as_frame, extras)
