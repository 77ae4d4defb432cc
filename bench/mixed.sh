#!/usr/bin/env bash
# Prints a mixed kelm-calc batch file of N lines (default 10 000): every item and mode in turn,
# inputs drawn by a fixed linear congruential generator, so the file is the same on every machine.
set -euo pipefail
awk -v n="${1:-10000}" '
function rnd() { seed = (seed * 16807) % 2147483647; return seed / 2147483647 }
function uni(a, b) { return a + (b - a) * rnd() }
function logu(a, b) { return exp(log(a) + (log(b) - log(a)) * rnd()) }
BEGIN {
  seed = 20240601
  nm = split("0 0,0 1,1 0,1 1,2 0,2 1,2 2,2 3,2 4,3 0,3 1", combo, ",")
  for (i = 0; i < n; i++) {
    split(combo[i % nm + 1], im, " ")
    item = im[1]; mode = im[2]
    near = item == 2 && rnd() < 0.1  # near the critical point
    p = near ? uni(20, 25) : logu(0.001, 100)
    t = near ? uni(360, 390) : uni(0.01, 800)
    if (item <= 1 && mode == 0) line = sprintf("%.6g", logu(0.001, 22.12))
    else if (item <= 1) line = sprintf("%.6g", uni(0.01, 374.15))
    else if (mode == 0 && item == 2) line = sprintf("%.6g\t%.6g", p, t)
    else if (mode == 1 && item == 2) line = sprintf("%.6g\t%.6g", p, near ? uni(3.8, 5.2) : uni(0.5, 9.5))
    else if (mode == 2) line = sprintf("%.6g\t%.6g", p, near ? uni(1800, 2600) : uni(100, 3800))
    else if (mode == 3) line = sprintf("%.6g\t%.6g", t, near ? uni(3.8, 5.2) : uni(0.5, 9.5))
    else if (mode == 4) line = sprintf("%.6g\t%.6g", t, near ? uni(1800, 2600) : uni(100, 3800))
    else {
      p1 = uni(1, 30); t1 = uni(250, 600)
      if (mode == 0) line = sprintf("%.6g\t%.6g\t%.6g", p1, t1, p1 * logu(0.001, 0.9))
      else line = sprintf("%.6g\t%.6g\t%.6g", p1, t1, uni(20, t1))
    }
    printf "%d\t%d\t%s\n", item, mode, line
  }
}'
