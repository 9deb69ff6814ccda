#!/usr/bin/env bash
# Times the viewer on a generated database text of 4 GiB in the exact block
# layout (100,000 documents, one word written once near the end) and prints
# each step in milliseconds next to ripgrep on the same file, and the peak
# resident memory, also for a text of 256 MiB to show that it does not grow
# with the file. Not part of CTest.
#
#   bench/viewer/run_bench.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR is configured with -DTROVEX_BUILD_BENCHMARKS=ON and the driver
# built (default: build/release); WORK_DIR keeps the generated texts
# (default: /tmp/trovex-viewer-bench; delete it afterwards, the large text
# takes 4 GiB). Installs ripgrep, fortunes-de and time with apt-get when
# missing (as root or through sudo).
#
# Goals: open and every jump under 50 ms; the find within 1.5 times the time
# of `rg -F -c`; resident memory the same for 256 MiB and 4 GiB and under
# 100 MB; the position list of 100,000 documents under 10 s.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
work=${2:-/tmp/trovex-viewer-bench}
word=${NEEDLE_WORD:-Xylophonquartett}
runs=${RUNS:-3}

missing=()
command -v rg >/dev/null || missing+=(ripgrep)
[ -d /usr/share/games/fortunes/de ] || missing+=(fortunes-de)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B "$build" -DTROVEX_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target trovex_viewer_bench trovex >/dev/null
bench="$build/bin/trovex_viewer_bench"

make_text() { # size in MiB, documents
  local dir="$work/db$1"
  [ -s "$dir/Datenbank/Bench_UTF8Dokument.txt" ] ||
    python3 bench/search/make_bench_database.py "$dir" "$1" --documents "$2" --needle "$word" >/dev/null
  echo "$dir"
}

# Best wall time in milliseconds of $runs runs of a command.
best_ms() {
  local best=""
  for _ in $(seq "$runs"); do
    local start end t
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    t=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best"
}

# The smallest time of one step over $runs runs of the driver.
best_step() { # dir step
  local best=""
  for _ in $(seq "$runs"); do
    local t
    t=$("$bench" "$1" Bench "$word" open "$2" 2>/dev/null | awk -v s="$2" '$1 == s { print $2 }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

for sizes in "256 6250" "4096 100000"; do
  set -- $sizes
  dir=$(make_text "$1" "$2")
  file="$dir/Datenbank/Bench_UTF8Dokument.txt"
  cat "$file" >/dev/null # both programs read from the page cache alike
  echo "== $(du -h --apparent-size "$file" | cut -f1) Text, $2 Dokumente: $file"
  [ "$(rg -F -c "$word" "$file")" = 1 ] || { echo "\"$word\" muss genau einmal vorkommen" >&2; exit 2; }
  /usr/bin/time -v "$bench" "$dir" Bench "$word" 2>"$work/time.txt" | sed 's/^/  /'
  echo "  Spitzenwert resident (time -v): $(awk -F': ' '/Maximum resident/ { printf "%.1f MB", $2 / 1024 }' "$work/time.txt")"
  t_find=$(best_step "$dir" find)
  t_rg=$(best_ms rg -F -c "$word" "$file")
  t_rgi=$(best_ms rg -F -i -c "$word" "$file")
  echo "  Suche \"$word\" (bestes von $runs): trovex ${t_find} ms, rg -F -c ${t_rg} ms, rg -F -i -c ${t_rgi} ms," \
       "Verhältnis $(awk -v a="$t_find" -v b="$t_rg" 'BEGIN { printf "%.2f", a / b }') (Ziel <= 1.5)"
  t_positions=$(best_ms "$build/bin/trovex" --program-dir "$dir" positions Bench)
  echo "  trovex positions Bench (ganzer Prozess, bestes von $runs): ${t_positions} ms (Ziel < 10000)"
done
