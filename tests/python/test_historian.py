# The cluster example end to end: a generated historian file through Dask, every output row
# against the package's own calls.
import os
import subprocess
import sys
from pathlib import Path

import numpy as np
import pandas as pd
import pytest

import kelm
import kelm.if97
import kelm.ifc67

EXAMPLE = Path(__file__).resolve().parents[2] / "examples" / "historian"
sys.path.insert(0, str(EXAMPLE))
import generate  # noqa: E402


def run_example(tmp_path, rows, mode, *options):
    source, output = tmp_path / "historian.csv", tmp_path / "out"
    generate.main([str(rows), str(source), "--mode", mode])
    done = subprocess.run([sys.executable, str(EXAMPLE / "historian.py"), str(source), str(output),
                           *options], capture_output=True, text=True, env=os.environ, timeout=600)
    assert done.returncode == 0, done.stderr
    parts = sorted(output.glob("part-*.csv"), key=lambda f: int(f.stem.split("-")[1]))
    def read(f):
        return pd.read_csv(f, float_precision="round_trip")
    return read(source), pd.concat([read(f) for f in parts], ignore_index=True), len(parts), \
        done.stdout


def check_rows(given, result):
    """Every row against one call per formulation over the whole input."""
    found = "h" if "t" in given else "t"
    x = "t" if "t" in given else "h"
    assert list(result.columns[:4]) == ["timestamp", "tag", "p", x]
    pd.testing.assert_frame_equal(result[given.columns], given)
    names = np.array([phase.name.lower() for phase in kelm.Phase])
    for name, module in (("ifc67", kelm.ifc67), ("if97", kelm.if97)):
        want = (module.pt if x == "t" else module.ph)(given["p"], given[x])
        np.testing.assert_array_equal(result[f"{found}_{name}"], want[found])
        np.testing.assert_array_equal(result[f"s_{name}"], want["s"])
        np.testing.assert_array_equal(result[f"status_{name}"], want["status"])
        assert (result[f"phase_{name}"] == names[want["phase"]]).all()
    d = result[f"{found}_if97"] - result[f"{found}_ifc67"]
    np.testing.assert_array_equal(result[f"d{found}"], d)
    assert (result["status_ifc67"] != 0).any()  # the generator's sensor faults


def test_historian_on_a_local_cluster(tmp_path):
    given, result, parts, summary = run_example(tmp_path, 5000, "pt", "--workers", "2",
                                                "--blocksize", "60kB")
    assert parts >= 3 and summary.startswith("5000 rows in")
    check_rows(given, result)


@pytest.mark.filterwarnings("ignore:make_current is deprecated")  # inside the cluster's own loop
def test_historian_with_enthalpies_on_a_given_scheduler(tmp_path):
    from dask.distributed import LocalCluster
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=False, protocol="tcp",
                      dashboard_address=None) as cluster:
        given, result, _, _ = run_example(tmp_path, 2000, "ph", "--scheduler",
                                          cluster.scheduler_address)
    check_rows(given, result)
    assert (result["phase_if97"] == "wet").any()


@pytest.mark.slow
def test_historian_on_200000_rows(tmp_path):
    given, result, parts, _ = run_example(tmp_path, 200_000, "pt", "--workers", "2",
                                          "--blocksize", "2MB")
    assert parts >= 4
    check_rows(given, result)
