#!/usr/bin/python3
"""Throughput of the Python package and of kelm-calc --batch --jobs: wall clock, best of a few
runs, so run it on a quiet machine (it prints the load average first).

    /usr/bin/python3 bench/python_bench.py [--points N] [--lines N] [--repeat N]
    /usr/bin/python3 bench/python_bench.py --instructions      (needs valgrind)

Builds kelm_core and kelm-calc in build-bench first. States by (p, t) are drawn evenly from
0.01–25 MPa and 20–600 ℃ (water, steam and the critical region, as a plant's lines have them);
the batch is bench/mixed.sh's, every item and mode. Resident memory is read after 10 and after
100 calls on 10⁶ points. --instructions counts instructions under callgrind instead, which a
busy machine does not change: per point (a run with the points less one without), and the
total of two threads (two jobs) against one.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import numpy as np

ROOT = Path(__file__).resolve().parents[1]
BUILD = ROOT / "build-bench"


def build():
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DKELM_BUILD_BENCH=ON",
                    "-DKELM_BUILD_TESTS=OFF", "-DKELM_BUILD_SHELL=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "--target", "kelm_core", "kelm-calc"], check=True,
                   stdout=subprocess.DEVNULL)
    sys.path.insert(0, str(BUILD / "python"))


def best(repeat, run):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times)


def resident_mib():
    for line in Path("/proc/self/status").read_text().splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return float("nan")


def points(args):
    import kelm.if97
    import kelm.ifc67
    rng = np.random.default_rng(1)
    for module, n, extras in ((kelm.if97, args.points, False), (kelm.ifc67, args.points // 10,
                                                                 False),
                              (kelm.ifc67, args.points // 100, True)):
        p, t = rng.uniform(0.01, 25.0, n), rng.uniform(20.0, 600.0, n)
        rates = {}
        for threads in (1, 2):
            seconds = best(args.repeat, lambda: module.pt(p, t, threads=threads, extras=extras))
            rates[threads] = n / seconds
        name = module.__name__ + (".pt(extras=True)" if extras else ".pt")
        print(f"{name:24} {n:>9} points: {rates[1]:>12,.0f}/s on 1 thread, {rates[2]:>12,.0f}/s "
              f"on 2 ({rates[2] / rates[1]:.2f}x)")


def memory():
    import kelm.if97
    p, t = np.full(1_000_000, 16.7), np.linspace(20.0, 600.0, 1_000_000)
    for k in range(100):
        kelm.if97.pt(p, t)
        if k == 9:
            after10 = resident_mib()
    print(f"resident memory after 10 and 100 calls on 10^6 points: {after10:.1f} MiB, "
          f"{resident_mib():.1f} MiB")


def jobs(args):
    calc = BUILD / "cli" / "kelm-calc"
    with tempfile.TemporaryDirectory() as tmp:
        batch = Path(tmp) / "mixed.tsv"
        with open(batch, "w") as f:
            subprocess.run(["bash", ROOT / "bench" / "mixed.sh", str(args.lines)], stdout=f,
                           check=True)
        outputs, rates = {}, {}
        for n in (1, 2):
            out = Path(tmp) / f"out{n}"

            def run():
                with open(out, "wb") as f:
                    subprocess.run([calc, "--batch", "--jobs", str(n), batch], stdout=f,
                                   stderr=subprocess.DEVNULL)
            rates[n] = args.lines / best(args.repeat, run)
            outputs[n] = out.read_bytes()
        same = "identical" if outputs[1] == outputs[2] else "DIFFERENT"
        print(f"kelm-calc --batch {args.lines:>9} lines: {rates[1]:>12,.0f}/s with --jobs 1, "
              f"{rates[2]:>12,.0f}/s with --jobs 2 ({rates[2] / rates[1]:.2f}x), outputs {same}")
        return outputs[1] == outputs[2]


def callgrind(command):
    """Instructions that callgrind counts for a command, every thread's together."""
    with tempfile.TemporaryDirectory() as tmp:
        run = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={tmp}/out",
                              *map(str, command)], capture_output=True, text=True, check=True)
    return int(next(line for line in run.stderr.splitlines() if "Collected" in line).split()[-1])


def instructions():
    here = ["/usr/bin/python3", __file__, "--one-call"]
    for name, n in (("if97", 20000), ("ifc67", 4000), ("ifc67-extras", 2000)):
        base = callgrind(here + [name, 0, 1])
        per = (callgrind(here + [name, n, 1]) - base) / n
        two = (callgrind(here + [name, 5 * n, 2]) - base) / (5 * n)
        one = (callgrind(here + [name, 5 * n, 1]) - base) / (5 * n)
        print(f"{name:14} {per:>9,.0f} instructions per point; 2 threads {two / one - 1:+.2%}")
    with tempfile.TemporaryDirectory() as tmp:
        batch = Path(tmp) / "mixed.tsv"
        with open(batch, "w") as f:
            subprocess.run(["bash", ROOT / "bench" / "mixed.sh", "20000"], stdout=f, check=True)
        calc = BUILD / "cli" / "kelm-calc"
        one, two = (callgrind([calc, "--batch", "--jobs", n, batch]) for n in (1, 2))
        print(f"kelm-calc --batch 20000 lines {one / 20000:>9,.0f} instructions per line; "
              f"--jobs 2 {two / one - 1:+.2%}")


def one_call(name, n, threads):
    """What --instructions measures: one call on n points after one on ten."""
    import kelm.if97
    import kelm.ifc67
    module = kelm.if97 if name == "if97" else kelm.ifc67
    rng = np.random.default_rng(1)
    p, t = rng.uniform(0.01, 25.0, n), rng.uniform(20.0, 600.0, n)
    module.pt(p[:10] + 1, t[:10])
    if n:
        module.pt(p, t, threads=threads, extras=name.endswith("extras"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--points", type=int, default=10_000_000)
    parser.add_argument("--lines", type=int, default=100_000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--instructions", action="store_true")
    parser.add_argument("--one-call", nargs=3, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.one_call:
        sys.path.insert(0, str(BUILD / "python"))
        name, n, threads = args.one_call
        return one_call(name, int(n), int(threads))
    build()
    if args.instructions:
        return instructions()
    print(f"load average {os.getloadavg()[0]:.2f} on {len(os.sched_getaffinity(0))} cores")
    points(args)
    memory()
    return 0 if jobs(args) else 1


if __name__ == "__main__":
    sys.exit(main())
