# Published values through Python, round trips between the functions, every failure with its
# status, limit and sentence, and the roots along an isotherm.
import doctest
import math
import os
import subprocess

import numpy as np
import pytest

import kelm
import kelm.if97
import kelm.ifc67

S = kelm.Status
K = 273.15


def near_digits(value, published):
    """Equal to the published text within half a unit of its last digit."""
    mantissa = published.lower().split("e")[0]
    decimals = len(mantissa.split(".")[1]) if "." in mantissa else 0
    exponent = int(published.lower().split("e")[1]) if "e" in published.lower() else 0
    return abs(value - float(published)) <= 0.5 * 10.0 ** (exponent - decimals) * (1 + 1e-9)


# (function, arguments, column, published): IF97 release tables 5, 15, 33 and 35, IFC-67's
# formulation and steam tables; each column of the results at least once.
PUBLISHED = [
    (kelm.if97.pt, (3, 300 - K), "v", "0.100215168e-2"),
    (kelm.if97.pt, (3, 300 - K), "h", "0.115331273e3"),
    (kelm.if97.pt, (3, 300 - K), "u", "0.112324818e3"),
    (kelm.if97.pt, (3, 300 - K), "s", "0.392294792"),
    (kelm.if97.pt, (3, 300 - K), "cp", "0.417301218e1"),
    (kelm.if97.pt, (3, 300 - K), "w", "0.150773921e4"),
    (kelm.if97.pt, (30, 700 - K), "h", "0.263149474e4"),
    (kelm.if97.pt, (0.0035, 300 - K), "h", "0.254991145e4"),
    (kelm.if97.pt, (25.5837018, 650 - K), "rho", "500.000"),
    (kelm.if97.sat_t, (300 - K,), "p", "0.353658941e-2"),
    (kelm.if97.sat_p, (0.1,), "t", "99.606"),
    (kelm.ifc67.pt, (0.1, 200), "v", "2.172328"),
    (kelm.ifc67.pt, (0.1, 200), "s", "7.834945"),
    (kelm.ifc67.pt, (0.1, 200), "h", "2875.357"),
    (kelm.ifc67.pt, (25, 380), "h", "1941.040"),
    (kelm.ifc67.sat_t, (100,), "p", "0.10132526"),
    (kelm.ifc67.sat_p, (1,), "t", "179.8844"),
    (kelm.ifc67.sat_t, (100,), "h_liq", "419.06"),
    (kelm.ifc67.sat_t, (100,), "v_liq", "0.0010437"),
    (kelm.ifc67.sat_t, (100,), "s_vap", "7.3554"),
    (kelm.ifc67.sat_t, (100,), "h_vap", "2676.0"),
]


@pytest.mark.parametrize("function, args, column, published", PUBLISHED)
def test_published_values(function, args, column, published):
    r = function(*args)
    assert r["status"] == S.OK
    assert near_digits(float(r[column]), published), (float(r[column]), published)


def test_ifc67_values_rounded_to_single_precision_are_the_calculators_texts():
    calc = os.environ.get("KELM_CALC")
    if not calc:
        pytest.skip("KELM_CALC names no kelm-calc")
    points = [(0.1, 20.0), (0.1, 200.0), (16.7, 538.0), (22.5, 374.5), (25.0, 380.0), (3.0, 233.9)]
    batch = "".join(f"2\t0\t{p}\t{t}\n" for p, t in points)
    out = subprocess.run([calc, "--batch"], input=batch, capture_output=True, text=True,
                         check=True).stdout.splitlines()
    r = kelm.ifc67.pt(*np.array(points).T)
    for k, line in enumerate(out):
        shown = line.split("\t")
        for column, field in (("h", 2), ("s", 3), ("v", 4)):
            assert f"{np.float32(r[column][k]):f}" == shown[field].split(" ")[0], (k, column)


# IFC-67's searches end within about 1e-5 ℃; IF97 polishes h and s to 1e-9.
@pytest.mark.parametrize("module, tolerance", [(kelm.ifc67, 2e-5), (kelm.if97, 2e-6)])
def test_inverses_return_the_state_they_came_from(module, tolerance):
    p, t = np.meshgrid([0.005, 1.0, 10.0, 20.0, 30.0], [20.0, 150.0, 300.0, 360.0, 450.0, 600.0])
    state = module.pt(p, t)
    assert (state["status"] == S.OK).all()
    for given, function in (("h", module.ph), ("s", module.ps)):
        back = function(p, state[given])
        np.testing.assert_allclose(back["t"], t, rtol=0, atol=tolerance)
        np.testing.assert_allclose(back["v"], state["v"], rtol=100 * tolerance)
    # Each state found along the isotherm has the given h (or s); IF97 finds every one, IFC-67's
    # solvers, as the form's, not every compressed-water state.
    for given, function in (("h", module.th), ("s", module.ts)):
        roots = function(t, state[given])
        found = np.zeros(p.shape, dtype=bool)
        for k in ["", "2", "3", "4"]:
            if "p" + k not in roots:
                break
            one = np.isin(roots["phase" + k], [kelm.Phase.WET, kelm.Phase.UNKNOWN], invert=True)
            again = module.pt(roots["p" + k][one], t[one])[given]
            np.testing.assert_allclose(again, state[given][one], rtol=1e-7)
            found |= np.isclose(roots["p" + k], p, rtol=1e-4)
        assert found.all() or module is kelm.ifc67
        assert ((roots["count"] == 0) == (roots["status"] != S.OK)).all()


@pytest.mark.parametrize("module", [kelm.ifc67, kelm.if97])
def test_expansion_columns_are_the_states_they_name(module):
    p1, t1, p2, eta = 16.7, 538.0, np.array([3.6, 0.1, 0.005]), 0.88
    e = module.expand(p1, t1, p2, eta)
    inlet = module.pt(p1, t1)
    end_s = module.isentropic_end(p1, t1, p2)
    assert (e["status"] == S.OK).all()
    assert (e["h1"] == inlet["h"]).all() and (e["s1"] == inlet["s"]).all()
    for column in ("t", "h", "v", "x"):
        np.testing.assert_array_equal(e[column + "2s"], end_s[column])
    np.testing.assert_allclose(end_s["s"], inlet["s"], atol=1e-7)
    np.testing.assert_array_equal(e["dhs"], inlet["h"] - end_s["h"])
    np.testing.assert_array_equal(e["dh"], eta * e["dhs"])
    end = module.ph(p2, inlet["h"] - e["dh"])
    for column in ("t", "s", "v", "x", "phase"):
        np.testing.assert_array_equal(e[column], end[column])
    assert 0 < e["x"][2] < 1 and e["phase"][2] == kelm.Phase.WET


# (function, arguments, status, limit): each failure the layer reports, through each kind of
# function (the bounds themselves are the engines' tests), and two closed ends that pass: the
# critical pressure on the saturation line and eta = 1.
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
    (kelm.ifc67.sat_p, (22.12,), S.OK, None),
    (kelm.ifc67.sat_p, (22.13,), S.PRESSURE_HIGH, 22.12),
    (kelm.ifc67.sat_t, (374.2,), S.TEMPERATURE_HIGH, 374.15),
    (kelm.ifc67.isentropic_end, (1, 300, 1.01), S.PRESSURE_ORDER, 1),
    (kelm.ifc67.expand, (1, 300, 0.1, 1.0), S.OK, None),
    (kelm.ifc67.expand, (1, 300, 0.1, 1.01), S.EFFICIENCY_RANGE, None),
    (kelm.ifc67.expand, (1, 300, 0.1, 0.0), S.EFFICIENCY_RANGE, None),
    (kelm.if97.pt, (1, -0.01), S.TEMPERATURE_LOW, 0),
    (kelm.if97.pt, (1, 2000.01), S.TEMPERATURE_HIGH, 2000),
    (kelm.if97.pt, (50.01, 900), S.PRESSURE_HIGH, 50),
    (kelm.if97.pt, (0.99e-6, 100), S.PRESSURE_LOW, 1e-6),
    (kelm.if97.ph, (1, 8000), S.ENTHALPY_HIGH, None),
    (kelm.if97.ps, (1, -1), S.ENTROPY_LOW, None),
    (kelm.if97.th, (100, 300), S.ENTHALPY_LOW, None),
    (kelm.if97.sat_p, (22.065,), S.PRESSURE_HIGH, 22.064),
    (kelm.if97.sat_t, (373.947,), S.TEMPERATURE_HIGH, 373.946),
    (kelm.if97.isentropic_end, (1, 300, 2), S.PRESSURE_ORDER, 1),
    (kelm.if97.expand, (1, 300, 0.1, -0.5), S.EFFICIENCY_RANGE, None),
]


@pytest.mark.parametrize("function, args, status, limit", FAILURES)
def test_failures_give_status_limit_and_nan(function, args, status, limit):
    r = function(*args)
    assert S(r["status"]) == status
    if limit is not None:
        assert r["limit"] == limit
    values = [v for k, v in r.items() if k not in ("status", "limit", "count")]
    if status == S.OK:
        assert np.isfinite(r["h" if "h" in r else "h_liq"])
    else:
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
    with pytest.raises(ValueError, match="no status 16"):
        kelm.explain(16)
    with pytest.raises(ValueError):
        kelm.explain(-1)
    with pytest.raises(TypeError):
        kelm.explain(1.0)


def test_isotherm_roots_in_their_own_columns():
    # 100 ℃, 420 kJ/kg: wet steam at the saturation pressure, then compressed water.
    o = kelm.ifc67.th(100, 420)
    assert (o["count"], o["phase"], o["phase2"]) == (2, kelm.Phase.WET, kelm.Phase.WATER)
    assert (round(float(o["p"]), 6), round(float(o["x"]), 6)) == (0.101325, 0.000414)
    assert (round(float(o["p2"]), 6), round(float(o["s2"]), 6)) == (1.348398, 1.305890)
    w = kelm.if97.th([100, 100], [420, 2676])
    np.testing.assert_array_equal(w["count"], [2, 1])
    assert w["p"][0] < w["p2"][0] and np.isnan(w["p2"][1]) and np.isnan(w["p3"]).all()
    for k in ("", "2"):
        h = kelm.if97.pt(w["p" + k][0], 100.0)["h"] if w["phase" + k][0] != kelm.Phase.WET else 420
        assert abs(h - 420) < 1e-6


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


def test_extras_are_the_distance_from_the_saturation_line():
    for module in (kelm.ifc67, kelm.if97):
        r = module.pt([1.0, 1.0, 25.0], [150.0, 250.0, 400.0], extras=True)
        sat = module.sat_p(1.0)
        assert (r["tsat"][:2] == sat["t"]).all() and np.isnan(r["tsat"][2])
        np.testing.assert_array_equal(r["superheat"][:2], [150.0, 250.0] - sat["t"])
        assert (r["psat"][:2] == module.sat_t([150.0, 250.0])["p"]).all()
        assert np.isnan(r["psat"][2])
        assert np.isnan(r["superheat"][2])


def test_the_packages_example_prints_what_it_shows():
    assert doctest.testmod(kelm, raise_on_error=True).attempted == 3
