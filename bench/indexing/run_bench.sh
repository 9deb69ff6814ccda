#!/bin/sh
# Indexes a corpus (see make_corpus.py) with `trovex index` and with Debian's
# recollindex (private configuration directory) and prints documents per
# second of each, their ratio and the peak memory of both.
#
#   bench/indexing/run_bench.sh CORPUS_DIR [TROVEX_BIN_DIR]
#
# Needs /usr/bin/time and recoll (apt-get install recoll). Not run by CTest.
# RECOLL=0 skips recollindex (to compare trovex's memory on two corpus sizes
# quickly).
set -eu

corpus=$(cd "$1" && pwd)
bin=${2:-$(dirname "$0")/../../build/release/bin}
trovex="$bin/trovex"
work=$(mktemp -d /tmp/trovex-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

documents=$(find "$corpus" -type f \( -name '*.odt' -o -name '*.docx' -o -name '*.epub' \) | wc -l)
bytes=$(find "$corpus" -type f \( -name '*.odt' -o -name '*.docx' -o -name '*.epub' \) -printf '%s\n' |
    awk '{ s += $1 } END { print s }')
echo "Korpus: $corpus, $documents Dokumente, $((bytes / 1048576)) MB"

# trovex: the corpus is drive B:, listed in a drive file list with the
# full-line form, one line per file (the list is made once, outside the timing).
mkdir -p "$work/trovex/Datenbank"
find "$corpus" -type f | sort | sed "s|^$corpus|B:|; s|/|\\\\|g; s|\$|\r|" \
    > "$work/trovex/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_B.txt"
sync
XDG_CONFIG_HOME="$work/config" /usr/bin/time -v -o "$work/trovex.time" \
    "$trovex" --program-dir "$work/trovex" --drive "B=$corpus" \
    index Bench 'B:\' '*.odt *.docx *.epub' > "$work/trovex.out" 2> "$work/trovex.err"

# recoll: its own configuration directory, only the corpus, no extra
# languages or aspell.
mkdir -p "$work/recoll"
cat > "$work/recoll/recoll.conf" <<CONF
topdirs = $corpus
noaspell = 1
indexStemmingLanguages =
CONF
if [ "${RECOLL:-1}" != 0 ]; then
    /usr/bin/time -v -o "$work/recoll.time" \
        recollindex -c "$work/recoll" -z > "$work/recoll.out" 2>&1
else
    : > "$work/recoll.time"
fi

seconds() { awk -F': ' 'BEGIN { s = 0 } /Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); for (i = 1; i <= n; i++) s = s * 60 + p[i] } END { print s }' "$1"; }
peak() { awk -F': ' 'BEGIN { p = 0 } /Maximum resident set size/ { p = $2 } END { print p }' "$1"; }

t_trovex=$(seconds "$work/trovex.time")
t_recoll=$(seconds "$work/recoll.time")
indexed=$(awk '/ODT-Dateien wurden indiziert/ { gsub(/[.,]/, "", $1); print $1 }' "$work/trovex.out")
# Every generated document begins with the word "Dokument".
recoll_docs=$(recollq -c "$work/recoll" -n 0-0 Dokument 2>/dev/null | awk '/ results/ { print $1; exit }' || true)

awk -v n="$documents" -v tt="$t_trovex" -v tr="$t_recoll" -v idx="$indexed" \
    -v rd="${recoll_docs:-?}" -v mt="$(peak "$work/trovex.time")" -v mr="$(peak "$work/recoll.time")" 'BEGIN {
    dt = (tt > 0) ? n / tt : 0; dr = (tr > 0) ? n / tr : 0
    printf "trovex index:  %8.2f s  %9.1f Dokumente/s  Spitze %7d KB  (indiziert: %s)\n", tt, dt, mt, idx
    if (tr > 0)
        printf "recollindex:   %8.2f s  %9.1f Dokumente/s  Spitze %7d KB  (im Index: %s)\n", tr, dr, mr, rd
    if (dr > 0) printf "Verhältnis trovex/recoll: %.1f\n", dt / dr
}'
