# Arguments as NumPy broadcasts them, and what is refused; threads; DataFrames; the GIL.
import threading
import time

import numpy as np
import pandas as pd
import pytest

import kelm
import kelm.if97
import kelm.ifc67

MODULES = [kelm.ifc67, kelm.if97]


@pytest.mark.parametrize("module", MODULES)
def test_arguments_broadcast_as_in_numpy(module):
    one = module.pt(16.7, 538.0)
    assert isinstance(one["h"], np.float64) and isinstance(one["status"], np.uint8)
    grid = module.pt(np.array([[1.0], [10.0], [20.0]]), [100.0, 250.0, 400.0, 550.0])
    assert all(v.shape == (3, 4) for v in grid.values())
    assert [grid["h"][2, 1], grid["h"][0, 3]] == [module.pt(20.0, 250.0)["h"],
                                                  module.pt(1.0, 550.0)["h"]]
    assert module.pt([[[5.0]]], [1.0, 2.0])["t"].shape == (1, 1, 2)
    assert module.expand([16.7], 538.0, [[3.6], [0.1]], 0.9)["h"].shape == (2, 1)
    empty = module.pt(np.empty((0, 3)), 100.0)
    assert empty["h"].shape == (0, 3) and empty["status"].dtype == np.uint8


@pytest.mark.parametrize("module", MODULES)
def test_any_real_dtype_and_layout_gives_the_same_numbers(module):
    p = np.linspace(0.5, 20.0, 40)
    want = module.pt(p, 300.0)["h"]
    strided = np.zeros(80)
    strided[::2] = p
    assert (module.pt(strided[::2], 300.0)["h"] == want).all()
    assert (module.pt(p[::-1], 300.0)["h"] == want[::-1]).all()
    assert (module.pt(np.asfortranarray(np.tile(p, (2, 1))), 300.0)["h"][1] == want).all()
    assert (module.pt(list(p), np.int32(300))["h"] == want).all()
    assert (module.pt(p.astype(np.float32), np.uint16(300))["h"] ==
            module.pt(p.astype(np.float32).astype(float), 300.0)["h"]).all()


def test_shapes_that_cannot_broadcast_are_named():
    with pytest.raises(ValueError, match=r"p \(3,\), t \(4,\)"):
        kelm.if97.pt([1, 2, 3], [1, 2, 3, 4])
    with pytest.raises(ValueError, match=r"p1 \(2,\), t1 \(\), p2 \(3,\), eta \(\)"):
        kelm.ifc67.expand([1, 2], 300, [0.1, 0.2, 0.3], 0.9)
    with pytest.raises(ValueError, match="^h: .*inhomogeneous"):
        kelm.if97.th(100, [1, [2, 3]])


@pytest.mark.parametrize("bad", ["1.0", ["1", "2"], None, 1j, [1.0, None], True,
                                 np.datetime64("2024-01-01"), {"p": 1}])
def test_arguments_that_are_not_real_numbers_raise_type_error(bad):
    with pytest.raises(TypeError, match="^p must be real numbers"):
        kelm.ifc67.pt(bad, 100.0)
    with pytest.raises(TypeError, match="^s must be real numbers"):
        kelm.if97.ts(100.0, bad)


def test_threads_that_are_not_1_to_1024_or_0_are_refused():
    for threads, error in ((-1, ValueError), (1025, ValueError), (1.5, TypeError),
                           ("2", TypeError)):
        with pytest.raises(error, match="threads"):
            kelm.if97.pt(1.0, 100.0, threads=threads)


# Spread over the formulations' ranges, the critical region and the failures: five times the
# points a thread takes at a time.
def mixed_points(n=10240, seed=3):
    rng = np.random.default_rng(seed)
    p = np.where(rng.random(n) < 0.03, rng.uniform(21.5, 23.0, n), rng.uniform(-1.0, 110.0, n))
    t = np.where(rng.random(n) < 0.03, rng.uniform(370.0, 380.0, n), rng.uniform(-5.0, 900.0, n))
    p[::997] = np.nan
    return p, t


@pytest.mark.parametrize("module", MODULES)
def test_results_do_not_depend_on_the_number_of_threads(module):
    p, t = mixed_points()
    h = module.pt(p, t)["h"]
    h[np.isnan(h)] = np.linspace(-100.0, 4500.0, np.isnan(h).sum())
    calls = [(module.pt, (p, t), {"extras": True}), (module.ph, (p, h), {}),
             (module.th, (t, h), {})]
    for function, args, options in calls:
        one = function(*args, threads=1, **options)
        assert len(np.unique(one["status"])) > 2
        for threads in (0, 2, 3):  # 0: every core
            other = function(*args, threads=threads, **options)
            for key in one:
                np.testing.assert_array_equal(other[key], one[key], err_msg=f"{key} {threads}")


def test_frames_hold_the_same_columns_with_the_series_index():
    p = pd.Series([1.0, 16.7, 0.0001], index=[10, 20, 30])
    frame = kelm.if97.pt(p, 538.0, as_frame=True)
    plain = kelm.if97.pt(p, 538.0)
    assert list(frame.columns) == list(plain) and list(frame.index) == [10, 20, 30]
    for key in plain:
        np.testing.assert_array_equal(frame[key].to_numpy(), plain[key])
    assert frame["status"].dtype == np.uint8 and frame["phase"].dtype == np.int8
    grid = kelm.ifc67.sat_t([[100.0, 200.0], [300.0, 350.0]], as_frame=True)
    assert list(grid["t"]) == [100.0, 200.0, 300.0, 350.0]  # rows in C order
    assert len(kelm.ifc67.pt(1.0, 100.0, as_frame=True)) == 1


def test_the_gil_is_released_while_computing():
    p, t = np.full(100_000, 16.7), np.linspace(350.0, 560.0, 100_000)
    started, gaps = threading.Event(), []
    worker = threading.Thread(target=lambda: (started.set(), kelm.ifc67.pt(p, t)))
    worker.start()
    started.wait()
    begin = last = time.perf_counter()
    while worker.is_alive():
        now = time.perf_counter()
        gaps.append(now - last)
        last = now
    duration = last - begin
    # Holding the GIL, the call would stop this loop for its whole duration.
    assert duration > 0.05 and max(gaps) < duration / 2, (max(gaps), duration)


def resident_mib():
    with open("/proc/self/status") as status:
        return next(int(line.split()[1]) / 1024 for line in status if line.startswith("VmRSS:"))


@pytest.mark.slow
def test_resident_memory_stays_flat_over_100_calls_on_a_million_points():
    p, t = np.full(1_000_000, 16.7), np.linspace(20.0, 600.0, 1_000_000)
    for call in range(100):
        r = kelm.if97.th(t[:1000], 2000.0) if call % 10 == 0 else kelm.if97.pt(p, t, threads=2)
        if call == 9:
            settled = resident_mib()
    assert r["status"].size == 1_000_000
    # One call's result is 120 MiB; a leak of results, or of anything per element, shows at once.
    assert resident_mib() - settled < 16
