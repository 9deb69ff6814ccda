#!/usr/bin/env bash
# Peak resident memory of `trovex list` over texts of distinct items: one
# line of 50 and of 100 MB (SIZES, in MB) of words that are all different,
# the case where a list kept in memory took about twenty times the text.
# Not part of CTest (tests/runs/list_memory_test.py runs 20 MB there).
#
#   bench/lists/memory_bench.sh [BUILD_DIR]
#
# Goal: the peak stays at most 256 MB whatever the size.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
sizes=${SIZES:-"50 100"}
[ -x "$build/bin/trovex" ] || { echo "trovex fehlt: $build/bin/trovex (erst bauen)" >&2; exit 2; }
status=0
for size in $sizes; do
  for kind in words both; do
    python3 tests/runs/list_memory_test.py --bin "$build/bin" --megabytes "$size" \
      --kind "$kind" --limit-mb 256 || status=1
  done
done
exit $status
