# Each function and column wired to its published value, the inverses round trips, each failure
# with its status, limit and sentence, the roots along an isotherm, the columns and the extras.
import doctest
import math

import numpy as np
import pytest

import kelm
import kelm.if97
import kelm.ifc67

S = kelm.Status
K = 273.15


def near_digits(value, published):
    """Equal to the published text within half a unit of its last digit."""
    mantissa, _, exponent = published.lower().partition("e")
    decimals = len(mantissa.partition(".")[2]) - int(exponent or 0)
    return abs(value - float(published)) <= 0.5 * 10.0 ** -decimals * (1 + 1e-9)


# One published point per function, each column wired to its quantity at least once: IF97 release
# tables 5, 33 and 35, IFC-67's formulation and steam tables (the values are the engines' tests).
PUBLISHED = [
    (kelm.if97.pt, (3, 300 - K), dict(v="0.100215168e-2", h="0.115331273e3", u="0.112324818e3",
                                      s="0.392294792", cp="0.417301218e1", w="0.150773921e4")),
    (kelm.if97.pt, (25.5837018, 650 - K), dict(rho="500.000")),
    (kelm.if97.sat_t, (300 - K,), dict(p="0.353658941e-2")),
    (kelm.if97.sat_p, (0.1,), dict(t="99.606")),
    (kelm.ifc67.pt, (0.1, 200), dict(v="2.172328", s="7.834945", h="2875.357")),
    (kelm.ifc67.sat_t, (100,), dict(p="0.10132526", h_liq="419.06", v_liq="0.0010437",
                                    s_vap="7.3554", h_vap="2676.0")),
    (kelm.ifc67.sat_p, (1,), dict(t="179.8844")),
]


@pytest.mark.parametrize("function, args, published", PUBLISHED)
def test_published_values(function, args, published):
    r = function(*args)
    assert r["status"] == S.OK
    for column, text in published.items():
        assert near_digits(float(r[column]), text), (column, float(r[column]), text)


# Each inverse takes its arguments in their order and gives back the state it came from (IFC-67's
# searches end within about 1e-5 ℃); along the isotherm, one of the roots is that state.
@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
def test_inverses_return_the_state_they_came_from(module):
    p, t = np.array([0.005, 1.0, 10.0, 20.0]), np.array([150.0, 300.0, 200.0, 600.0])
    state = module.pt(p, t)
    for given, inverse, isotherm in (("h", module.ph, module.th), ("s", module.ps, module.ts)):
        np.testing.assert_allclose(inverse(p, state[given])["t"], t, rtol=0, atol=2e-5)
        roots = isotherm(t, state[given])
        found = [roots["p" + k] for k in ("", "2", "3", "4") if "p" + k in roots]
        assert np.isclose(found, p, rtol=1e-4).any(axis=0).all(), (given, found)


@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
def test_expansion_columns_are_the_states_they_name(module):
    p2, eta = np.array([3.6, 0.005]), 0.88
    e, inlet = module.expand(16.7, 538.0, p2, eta), module.pt(16.7, 538.0)
    end_s = module.isentropic_end(16.7, 538.0, p2)
    assert (e["h1"] == inlet["h"]).all() and (e["s1"] == inlet["s"]).all()
    for column in ("t", "h", "v", "x"):
        np.testing.assert_array_equal(e[column + "2s"], end_s[column])
    np.testing.assert_array_equal(e["dhs"], inlet["h"] - end_s["h"])
    np.testing.assert_array_equal(e["dh"], eta * e["dhs"])
    end = module.ph(p2, inlet["h"] - e["dh"])  # wet at 0.005 MPa: x and phase are there
    for column in ("t", "s", "v", "x", "phase"):
        np.testing.assert_array_equal(e[column], end[column])


# (function, arguments, status, limit): each status's name and each kind of function's status,
# limit and NaN columns (where the bounds lie is the engines' and the calc layer's tests).
FAILURES = [
    (kelm.ifc67.pt, (1, 0.0099), S.TEMPERATURE_LOW, 0.01),
    (kelm.ifc67.pt, (1, 800.01), S.TEMPERATURE_HIGH, 800),
    (kelm.ifc67.pt, (0.00069, 100), S.PRESSURE_LOW, 0.0007),
    (kelm.ifc67.pt, (100.01, 300), S.PRESSURE_HIGH, 100),
    (kelm.ifc67.ph, (1, -100), S.ENTHALPY_LOW, None),
    (kelm.ifc67.ph, (1, 5000), S.ENTHALPY_HIGH, None),
    (kelm.ifc67.ps, (1, -1), S.ENTROPY_LOW, None),
    (kelm.ifc67.ps, (1, 20), S.ENTROPY_HIGH, None),
    (kelm.ifc67.th, (100, 300), S.NO_SOLUTION, None),
    (kelm.ifc67.sat_p, (22.13,), S.PRESSURE_HIGH, 22.12),
    (kelm.ifc67.sat_t, (374.2,), S.TEMPERATURE_HIGH, 374.15),
    (kelm.ifc67.isentropic_end, (1, 300, 1.01), S.PRESSURE_ORDER, 1),
    (kelm.ifc67.expand, (1, 300, 0.1, 1.01), S.EFFICIENCY_RANGE, None),
    (kelm.if97.pt, (1, -0.01), S.TEMPERATURE_LOW, 0),
    (kelm.if97.th, (100, 300), S.ENTHALPY_LOW, None),
]


@pytest.mark.parametrize("function, args, status, limit", FAILURES)
def test_failures_give_status_limit_and_nan(function, args, status, limit):
    r = function(*args)
    assert S(r["status"]) == status
    if limit is not None:
        assert r["limit"] == limit
    values = [v for k, v in r.items() if k not in ("status", "limit", "count")]
    assert all(np.isnan(v) for v in values if v.dtype.kind == "f")
    assert r.get("phase", kelm.Phase.UNKNOWN) == kelm.Phase.UNKNOWN


@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
@pytest.mark.parametrize("bad", [math.nan, math.inf, -math.inf])
def test_not_finite_elements_fail_alone(module, bad):
    r = module.pt([1.0, bad, 1.0], [100.0, 100.0, bad])
    np.testing.assert_array_equal(r["status"], [S.OK, S.NOT_FINITE, S.NOT_FINITE])
    assert np.isnan(r["h"][1:]).all() and r["h"][0] == module.pt(1.0, 100.0)["h"]
    assert module.expand(16.7, 538.0, 1.0, bad)["status"] == S.NOT_FINITE


def test_explain_gives_the_calculators_sentences():
    assert kelm.explain(kelm.if97.pt(1e-7, 100)["status"]) == "压力低于适用下限"
    assert kelm.explain(S.PRESSURE_LOW, english=True) == "pressure below the range of the formulation"
    chinese = [kelm.explain(s) for s in S]
    english = [kelm.explain(s, True) for s in S]
    assert len(set(chinese)) == len(set(english)) == len(S) == 16
    assert all(s and not s.isascii() for s in chinese) and all(s.isascii() for s in english)
    for bad, error, message in ((16, ValueError, "no status 16"), (-1, ValueError, "no status -1"),
                                (1.0, TypeError, "integer")):
        with pytest.raises(error, match=message):
            kelm.explain(bad)


# 100 ℃, 420 kJ/kg: wet steam at the saturation pressure, then compressed water; 2680: steam.
@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
def test_isotherm_roots_in_their_own_columns(module):
    r = module.th([100, 100], [420, 2680])
    np.testing.assert_array_equal(r["count"], [2, 1])
    np.testing.assert_array_equal(r["phase2"], [kelm.Phase.WATER, kelm.Phase.UNKNOWN])
    assert r["phase"][0] == kelm.Phase.WET and r["p"][0] < r["p2"][0] and np.isnan(r["p2"][1])
    assert abs(module.pt(r["p2"][0], 100.0)["h"] - 420) < 1e-3


KEYS = ["p", "t", "h", "s", "v", "x", "rho", "u", "cp", "cv", "w", "kappa"]
SIDE = ["h", "s", "v", "rho", "u", "cp", "cv", "w", "kappa"]


@pytest.mark.parametrize("module, roots", [(kelm.ifc67, {"th": 2, "ts": 1}),
                                           (kelm.if97, {"th": 4, "ts": 4})])
def test_result_columns(module, roots):
    state = KEYS + ["phase", "status", "limit"]
    assert list(module.pt(1, 100)) == state
    assert list(module.ph(1, 100, extras=True)) == KEYS + ["tsat", "psat", "superheat", "phase",
                                                           "status", "limit"]
    for name, count in roots.items():
        want = [k + n for n in ["", "2", "3", "4"][:count] for k in KEYS + ["phase"]]
        assert list(getattr(module, name)(100, 1)) == want + ["count", "status", "limit"]
    assert list(module.sat_p(1)) == (["p", "t"] + [k + "_liq" for k in SIDE]
                                     + [k + "_vap" for k in SIDE] + ["status", "limit"])
    assert list(module.expand(1, 300, 0.1, 0.9)) == KEYS + [
        "phase", "h1", "s1", "t2s", "h2s", "v2s", "x2s", "dhs", "dh", "status", "limit"]
    assert list(module.isentropic_end(1, 300, 0.1)) == state


@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
def test_extras_are_the_distance_from_the_saturation_line(module):
    r, sat = module.pt([1.0, 25.0], [150.0, 400.0], extras=True), module.sat_p(1.0)
    np.testing.assert_array_equal(r["tsat"], [sat["t"], np.nan])
    np.testing.assert_array_equal(r["superheat"], [150.0 - sat["t"], np.nan])
    np.testing.assert_array_equal(r["psat"], [module.sat_t(150.0)["p"], np.nan])


def test_the_packages_example_prints_what_it_shows():
    assert doctest.testmod(kelm, raise_on_error=True).attempted == 3
