#!/usr/bin/python3
"""IFC-67 against IF97 over a plant-historian file, on a Dask cluster.

    historian.py INPUT.csv OUTPUT_DIR [--scheduler ADDRESS] [--workers N] [--blocksize 64MB]

INPUT has the columns timestamp, tag, p (MPa) and t (℃), or timestamp, tag, p and h (kJ/kg).
OUTPUT_DIR receives one CSV per partition of the input (part-0.csv, part-1.csv, … in input
order): the input's columns, then for each formulation the enthalpy (or with p, h the
temperature), entropy, phase and status, and the differences IF97 − IFC-67. A row that one
formulation cannot compute has empty values there and its status (kelm.explain gives why).

Without --scheduler a local cluster of N worker processes runs it; with it, the cluster whose
scheduler listens there (e.g. tcp://10.0.0.5:8786), whose workers must import kelm.
"""

import argparse
import os
import sys
import time

import dask.dataframe as dd
import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import kelm
import kelm.if97
import kelm.ifc67

FORMULATIONS = {"ifc67": kelm.ifc67, "if97": kelm.if97}
PHASES = np.array([phase.name.lower() for phase in kelm.Phase], dtype=object)


def columns(given):
    """The output's columns beyond the input's: what is computed from p and `given` (t or h)."""
    found = "h" if given == "t" else "t"
    names = []
    for f in FORMULATIONS:
        names += [f"{found}_{f}", f"s_{f}", f"phase_{f}", f"status_{f}"]
    return names + [f"d{found}", "ds"]


def compute(part, given):
    """One partition: both formulations over its rows, on the worker's own thread."""
    found = "h" if given == "t" else "t"
    p = part["p"].to_numpy(dtype=np.float64)
    x = part[given].to_numpy(dtype=np.float64)
    out = part.copy()
    for name, formulation in FORMULATIONS.items():
        r = (formulation.pt if given == "t" else formulation.ph)(p, x)
        out[f"{found}_{name}"] = r[found]
        out[f"s_{name}"] = r["s"]
        out[f"phase_{name}"] = PHASES[r["phase"]]
        out[f"status_{name}"] = r["status"]
    out[f"d{found}"] = out[f"{found}_if97"] - out[f"{found}_ifc67"]
    out["ds"] = out["s_if97"] - out["s_ifc67"]
    return out


def meta(given):
    kinds = {"phase": object, "status": np.uint8}
    names = ["timestamp", "tag", "p", given] + columns(given)
    dtypes = [object, object, np.float64, np.float64]
    dtypes += [kinds.get(n.split("_")[0], np.float64) for n in columns(given)]
    return pd.DataFrame({n: pd.Series(dtype=d) for n, d in zip(names, dtypes)})


def given_column(path):
    with open(path, newline="") as f:
        header = f.readline().strip().split(",")
    for given in ("t", "h"):
        if header == ["timestamp", "tag", "p", given]:
            return given
    raise SystemExit(f"historian: {path}: the header must be timestamp,tag,p,t or "
                     f"timestamp,tag,p,h, not {','.join(header)}")


def run(client, path, output, blocksize):
    given = given_column(path)
    # Numbers read as Python reads them (correctly rounded), not by pandas' faster parser.
    frame = dd.read_csv(path, blocksize=blocksize, float_precision="round_trip",
                        dtype={"timestamp": object, "tag": object, "p": np.float64,
                               given: np.float64})
    result = frame.map_partitions(compute, given, meta=meta(given))
    found = "h" if given == "t" else "t"
    writes = result.to_csv(os.path.join(output, "part-*.csv"), index=False, compute=False)
    # The summary comes from the same partitions as the files: each is computed once.
    summary = {
        "rows": result.shape[0],
        "failed_ifc67": (result["status_ifc67"] != 0).sum(),
        "failed_if97": (result["status_if97"] != 0).sum(),
        f"largest_d{found}": result[f"d{found}"].abs().max(),
    }
    _, summary = client.compute([writes, summary], sync=True)
    return summary, frame.npartitions


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("--scheduler", help="address of a running scheduler")
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 1,
                        help="worker processes of the local cluster (default: every core)")
    parser.add_argument("--blocksize", default="64MB", help="bytes of input per partition")
    args = parser.parse_args(argv)
    if args.workers < 1:
        parser.error("--workers must be at least 1")
    os.makedirs(args.output, exist_ok=True)
    start = time.perf_counter()
    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        summary, partitions = run(client, args.input, args.output, args.blocksize)
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    seconds = time.perf_counter() - start
    print(f"{summary['rows']} rows in {partitions} partitions, {seconds:.1f} s: "
          + ", ".join(f"{k} {v:.6g}" for k, v in summary.items() if k != "rows"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
