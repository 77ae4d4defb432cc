"""Under AddressSanitizer (ctest in build-asan): every function of the package, its failures
and refusals run once and then 5 times; LeakSanitizer must find exactly the same leaks after
both, the interpreter's and the modules' own one-time allocations, so none grows with the calls.
"""

import contextlib
import os
import re
import subprocess
import sys

import numpy as np


def exercise(rounds):
    import kelm
    import kelm.if97
    import kelm.ifc67
    p, t = np.linspace(0.001, 30.0, 5000), np.linspace(-5.0, 900.0, 5000)
    for _ in range(rounds):
        for m in (kelm.ifc67, kelm.if97):
            h = np.nan_to_num(m.pt(p, t, threads=2, extras=True)["h"], nan=2000.0)
            for function, args in ((m.ph, (p, h)), (m.ps, (p, 6.0)), (m.th, (t[:500], 2000.0)),
                                   (m.ts, (t[:500], 6.0)), (m.sat_p, (p,)), (m.sat_t, (t,)),
                                   (m.isentropic_end, (30.0, 500.0, p)),
                                   (m.expand, (30.0, 500.0, p, 0.9))):
                function(*args, threads=2)
            m.pt(p, t, as_frame=True)
            for bad in ("x", [1.0, 2.0, 3.0]):
                with contextlib.suppress(TypeError, ValueError):
                    m.pt(bad, [1.0, 2.0])
        with contextlib.suppress(ValueError):
            kelm.explain(99)


def leaked(rounds):
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:exitcode=0")  # the report, not a failure
    run = subprocess.run([sys.executable, __file__, str(rounds)], env=env, capture_output=True,
                         text=True)
    summary = re.findall(r"SUMMARY: AddressSanitizer: .*", run.stderr)
    if run.returncode != 0 or len(summary) != 1 or "leaked" not in summary[0]:
        sys.exit(f"check_leaks: {rounds} rounds: status {run.returncode}\n{run.stderr[-3000:]}")
    return summary[0]


if __name__ == "__main__":
    if len(sys.argv) > 1:
        exercise(int(sys.argv[1]))
    else:
        once, many = leaked(1), leaked(5)
        print(f"once: {once}\n5 times: {many}")
        sys.exit(0 if once == many else 1)
