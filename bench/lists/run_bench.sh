#!/usr/bin/env bash
# Times `trovex list` (word list and phrase list) on a generated database of
# 1 GiB against shell pipelines that do comparable work, with the peak
# resident memory of each, and prints the ratios. Not part of CTest.
#
#   bench/lists/run_bench.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR holds bin/trovex (default: build/release, built Release); WORK_DIR
# keeps the generated databases between runs (default: /tmp/trovex-bench-lists).
# The databases come from the search benchmark's generator; SIZES (default
# "100 1024", in MiB) chooses them. The pipelines run once, on the largest.
#
# The pipelines, under the same locale as trovex (C.UTF-8 unless LC_ALL is set):
#   words:   tr -s ' ,;:\r\n\v\f' '\n' | awk 'length >= 4' | sort -f -u
#   phrases: split at line ends and commas, trim, keep pieces with a blank and
#            4 or more characters (awk) | sort -f -u
# They leave out what trovex does besides (decoration lines, path lines, the
# five groups, the apostrophe rule), so they do less work than trovex.
#
# Goals: trovex takes at most the pipeline's time; its peak memory follows the
# number of distinct items, not the size of the text (compare the sizes).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
work=${2:-/tmp/trovex-bench-lists}
sizes=${SIZES:-"100 1024"}
trovex="$(pwd)/$build/bin/trovex"
export LC_ALL=${LC_ALL:-C.UTF-8}

[ -x "$trovex" ] || { echo "trovex fehlt: $trovex (erst bauen)" >&2; exit 2; }

# The peers: the generator's German texts and GNU time for the peak memory.
need=()
[ -d /usr/share/games/fortunes/de ] || need+=(fortunes-de)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

for size in $sizes; do
  dir="$work/db$size"
  [ -s "$dir/Datenbank/Bench_UTF8Dokument.txt" ] ||
    python3 bench/search/make_bench_database.py "$dir" "$size" >/dev/null
done

# Runs a command once and prints "seconds peak-MB".
measure() {
  local record
  record=$(mktemp)
  /usr/bin/time -f "%e %M" -o "$record" "$@" >/dev/null
  awk '{ printf "%.2f %.1f", $1, $2 / 1024 }' "$record"
  rm -f "$record"
}

words_pipeline='tr -s " ,;:\r\n\v\f" "\n" < "$1" | awk "length >= 4" | sort -f -u > "$2"'
phrases_pipeline='tr -s "\r\n\v\f" "\n" < "$1" | awk -F, '"'"'{
  for (i = 1; i <= NF; i++) {
    p = $i; gsub(/^[ \t]+|[ \t]+$/, "", p)
    if (index(p, " ") && length(p) >= 4) print p
  }
}'"'"' | sort -f -u > "$2"'

printf '%-8s %-8s %10s %10s %10s %12s %10s %8s\n' \
  Liste MiB "trovex s" "trovex MB" Einträge "Pipeline s" "Pipe. MB" Verh.
largest=$(echo $sizes | tr ' ' '\n' | sort -n | tail -1)
for size in $sizes; do
  dir="$work/db$size"
  text="$dir/Datenbank/Bench_UTF8Dokument.txt"
  list="$dir/Datenbank/Bench_Phrasen_Woerter_Utf8Liste.txt"
  cat "$text" >/dev/null # the same warm page cache for everyone
  for kind in words phrases; do
    read -r t_tx m_tx <<<"$(measure "$trovex" --program-dir "$dir" list Bench --$kind)"
    entries=$(wc -l <"$list")
    if [ "$size" = "$largest" ]; then
      script=$words_pipeline
      [ $kind = phrases ] && script=$phrases_pipeline
      read -r t_pp m_pp <<<"$(measure bash -c "$script" pipeline "$text" "$work/pipeline.txt")"
      ratio=$(awk -v a="$t_tx" -v b="$t_pp" 'BEGIN { printf "%.2f", a / b }')
      printf '%-8s %-8s %10s %10s %10s %12s %10s %8s\n' \
        $kind "$size" "$t_tx" "$m_tx" "$entries" "$t_pp" "$m_pp" "$ratio"
      rm -f "$work/pipeline.txt"
    else
      printf '%-8s %-8s %10s %10s %10s %12s %10s %8s\n' \
        $kind "$size" "$t_tx" "$m_tx" "$entries" - - -
    fi
  done
done
echo "Verhältnis: trovex-Zeit / Pipeline-Zeit (Ziel <= 1). Speicher: Spitze des größten Prozesses."
