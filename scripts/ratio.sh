#!/usr/bin/env bash
# Non-blank lines of tests (tests/, fuzz/) against product code (every other source outside
# bench/ and scripts/; the examples are shipped and tested, so they count as product), and their
# ratio; the project keeps it at about a third.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -- '*.cpp' '*.h' '*.hpp' '*.inc' '*.py' | awk '
  { f = $0; t = (f ~ /^(tests|fuzz)\// || f ~ /\/tests?\// || f ~ /(^|\/)test_[^\/]*\.py$/ || f ~ /_test\.(cpp|py)$/)
    p = !t && f !~ /^(bench|scripts|docs|build[^\/]*)\//
    cmd = "grep -cv \"^[[:space:]]*$\" \"" f "\""; cmd | getline n; close(cmd)
    if (t) tl += n; else if (p) pl += n }
  END { printf "tests %d, product %d: %.1f %%\n", tl, pl, 100 * tl / pl }'
