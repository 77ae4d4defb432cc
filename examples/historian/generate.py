#!/usr/bin/python3
"""A synthetic plant-historian file: one row per tag and second, as a historian exports them.

    generate.py ROWS OUTPUT.csv [--mode pt|ph] [--seed N] [--start 2024-01-01T00:00:00]

Columns: timestamp, tag, p (MPa) and t (℃), or p and h (kJ/kg) with --mode ph. The tags are the
measuring points of a reheat unit at their usual values, drifting with the load over the hours,
with sensor noise, and one value in 20 000 a sensor fault (empty, or a negative pressure).
Written in chunks, so any size fits in memory.
"""

import argparse
import sys

import numpy as np
import pandas as pd

# tag: p MPa, t ℃, h kJ/kg at full load. DEA is water a degree below its boiling point at full
# load and steam above it at part load; LPEXH is wet steam, which only its h tells.
TAGS = {
    "MS": (16.7, 538.0, 3397.0),
    "CRH": (3.6, 320.0, 3029.0),
    "HRH": (3.3, 538.0, 3538.0),
    "IPEXH": (0.8, 330.0, 3122.0),
    "EXT6": (0.25, 170.0, 2806.0),
    "LPEXH": (0.0065, 37.6, 2400.0),
    "COND": (1.5, 40.0, 168.8),
    "DEA": (0.9, 174.4, 739.0),
    "FW": (18.5, 275.0, 1206.8),
}
CHUNK = 1_000_000


def chunk(first, rows, mode, start, rng):
    """Rows first … first + rows − 1 of the file."""
    names = np.array(list(TAGS))
    nominal = np.array(list(TAGS.values()))
    row = np.arange(first, first + rows)
    tag = row % len(TAGS)
    second = row // len(TAGS)
    load = 0.85 + 0.15 * np.sin(2 * np.pi * second / 86400)  # a daily load swing
    p = nominal[tag, 0] * (0.7 + 0.3 * load) * (1 + 0.002 * rng.standard_normal(rows))
    value = nominal[tag, 1 if mode == "pt" else 2]
    value = value + 0.004 * np.abs(value) * rng.standard_normal(rows)
    fault = rng.random(rows) < 5e-5
    p[fault & (rng.random(rows) < 0.5)] = -1.0
    value[fault & (p > 0)] = np.nan
    stamp = np.datetime64(start, "s") + second.astype("timedelta64[s]")
    return pd.DataFrame({"timestamp": np.datetime_as_string(stamp), "tag": names[tag],
                         "p": p.round(5), ("t" if mode == "pt" else "h"): value.round(3)})


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("rows", type=int)
    parser.add_argument("output")
    parser.add_argument("--mode", choices=("pt", "ph"), default="pt")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--start", default="2024-01-01T00:00:00")
    args = parser.parse_args(argv)
    if args.rows < 0:
        parser.error("ROWS must not be negative")
    rng = np.random.default_rng(args.seed)
    with open(args.output, "w", newline="") as out:
        out.write(f"timestamp,tag,p,{'t' if args.mode == 'pt' else 'h'}\n")
        for first in range(0, args.rows, CHUNK):
            rows = min(CHUNK, args.rows - first)
            chunk(first, rows, args.mode, args.start, rng).to_csv(out, header=False, index=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
