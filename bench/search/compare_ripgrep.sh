#!/usr/bin/env bash
# Times `trovex search` against ripgrep (`rg -F -i -c`) on generated benchmark
# databases of 100 MiB and 1 GiB and prints the ratios. Not part of CTest.
#
#   bench/search/compare_ripgrep.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR holds bin/trovex (default: build/release, built Release); WORK_DIR
# keeps the generated databases between runs (default: /tmp/trovex-bench).
# Needs python3, ripgrep and the German texts of fortunes-de; the script
# installs the last two with apt-get when they are missing.
#
# Goals: a word that does not occur (the whole store is scanned) takes at most
# 1.5 times ripgrep's time; a frequent word takes the same time on 100 MiB and
# on 1 GiB, because the passes stop after 10 and 300 occurrences and documents
# are found backwards from each occurrence; on 1 GiB the scan with
# --fold-umlauts takes at most 1.5 times the scan without it (rg -i, which
# folds all of Unicode, is shown beside it).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
work=${2:-/tmp/trovex-bench}
trovex="$build/bin/trovex"
absent=${ABSENT_WORD:-Xylophonquartett}
frequent=${FREQUENT_WORD:-und}
runs=${RUNS:-5}

# Words with umlauts that occur in no case, so both scans read the whole
# store; the store holds "übermäßig", so the last one is a near miss there.
read -r -a umlaut_words <<<"${UMLAUT_WORDS:-Zwölfbärenhöhle Fußgängerübergänge Übermäßigkeiten}"

[ -x "$trovex" ] || { echo "trovex fehlt: $trovex (erst bauen)" >&2; exit 2; }

install_packages() {
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y "$@"; else sudo apt-get install -y "$@"; fi
}
command -v rg >/dev/null || install_packages ripgrep >/dev/null
[ -d /usr/share/games/fortunes/de ] || install_packages fortunes-de >/dev/null

for size in 100 1024; do
  dir="$work/db$size"
  [ -s "$dir/Datenbank/Bench_UTF8Dokument.txt" ] ||
    python3 bench/search/make_bench_database.py "$dir" "$size" >/dev/null
done

# Best wall time of $runs runs after one warm-up run (the file is then in the
# page cache for both programs alike), in seconds.
best_time() {
  "$@" >/dev/null 2>&1 || true
  local best=""
  for _ in $(seq "$runs"); do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    t=$(awk -v a="$end" -v b="$start" 'BEGIN { print a - b }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  printf '%.3f' "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "Wort, das nicht vorkommt: \"$absent\""
for size in 100 1024; do
  dir="$work/db$size"
  file="$dir/Datenbank/Bench_UTF8Dokument.txt"
  count=$(rg -F -i -c "$absent" "$file" || true)
  [ -z "$count" ] || { echo "\"$absent\" kommt vor ($count), anderes Wort wählen" >&2; exit 2; }
  t_rg=$(best_time rg -F -i -c "$absent" "$file")
  t_tx=$(best_time "$trovex" --program-dir "$dir" search Bench "$absent")
  echo "  ${size} MiB: trovex ${t_tx} s, rg ${t_rg} s, Verhältnis $(ratio "$t_tx" "$t_rg") (Ziel <= 1.5)"
done

echo "Häufiges Wort: \"$frequent\""
declare -A t_freq
for size in 100 1024; do
  dir="$work/db$size"
  file="$dir/Datenbank/Bench_UTF8Dokument.txt"
  t_rg=$(best_time rg -F -i -c "$frequent" "$file")
  t_freq[$size]=$(best_time "$trovex" --program-dir "$dir" search Bench "$frequent")
  echo "  ${size} MiB: trovex ${t_freq[$size]} s (beide Seiten), rg ${t_rg} s"
done
echo "  trovex 1 GiB / 100 MiB: $(ratio "${t_freq[1024]}" "${t_freq[100]}") (Ziel: etwa 1)"

echo "Umlaute falten (1 GiB, Suche ohne --case):"
dir="$work/db1024"
file="$dir/Datenbank/Bench_UTF8Dokument.txt"
for word in "$absent" "${umlaut_words[@]}"; do
  count=$(rg -i -c "$word" "$file" || true)
  [ -z "$count" ] || { echo "\"$word\" kommt vor ($count), anderes Wort wählen" >&2; exit 2; }
  t_off=$(best_time "$trovex" --program-dir "$dir" search Bench "$word")
  t_on=$(best_time "$trovex" --program-dir "$dir" search Bench "$word" --fold-umlauts)
  t_rgi=$(best_time rg -i -c "$word" "$file")
  t_rgfi=$(best_time rg -F -i -c "$word" "$file")
  echo "  \"$word\": aus ${t_off} s, an ${t_on} s, an/aus $(ratio "$t_on" "$t_off") (Ziel <= 1.5);" \
       "rg -i ${t_rgi} s, rg -F -i ${t_rgfi} s, an/rg -i $(ratio "$t_on" "$t_rgi")"
done
