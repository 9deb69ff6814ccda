#!/bin/sh
# Indexes a corpus (see make_corpus.py) with `trovex index` and with Debian's
# recollindex (private configuration directory) and prints wall-clock time,
# processor time, documents per second and peak memory of each run, and the
# ratios the indexing goals are judged by:
#
#   trovex, full run with 1, 2 and all threads (each into a fresh database)
#   trovex, re-index of the unchanged corpus (--update, from the text cache)
#   trovex, re-index after touching 1 % of the documents
#   recollindex, first run (-z) and update run of the unchanged corpus, and
#   its update run after the same 1 % were touched
#
#   bench/indexing/run_bench.sh CORPUS_DIR [TROVEX_BIN_DIR]
#
# Needs /usr/bin/time and recoll (apt-get install recoll). Not run by CTest.
# RECOLL=0 skips recollindex. The touched documents keep their new time
# (only the time changes, not the content).
set -eu

corpus=$(cd "$1" && pwd)
bin=${2:-$(dirname "$0")/../../build/release/bin}
trovex="$bin/trovex"
work=$(mktemp -d /tmp/trovex-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"

documents=$(find "$corpus" -type f \( -name '*.odt' -o -name '*.docx' -o -name '*.epub' \) | wc -l)
bytes=$(find "$corpus" -type f \( -name '*.odt' -o -name '*.docx' -o -name '*.epub' \) -printf '%s\n' |
    awk '{ s += $1 } END { print s }')
cores=$(nproc)
echo "Korpus: $corpus, $documents Dokumente, $((bytes / 1048576)) MB; $cores Prozessoren; Last: $(cut -d' ' -f1-3 /proc/loadavg)"

# The corpus is drive B:, listed in a drive file list with one full line per
# file (made once, outside the timing).
drive_list="$work/Haupt_Dateinamen_Liste_Laufwerk_B.txt"
find "$corpus" -type f | sort | sed "s|^$corpus|B:|; s|/|\\\\|g; s|\$|\r|" > "$drive_list"

seconds() { awk -F': ' 'BEGIN { s = 0 } /Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); for (i = 1; i <= n; i++) s = s * 60 + p[i] } END { print s }' "$1"; }
processor() { awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.2f", s }' "$1"; }
peak() { awk -F': ' 'BEGIN { p = 0 } /Maximum resident set size/ { p = $2 } END { print p }' "$1"; }

# measure NAME COMMAND...: runs the command under /usr/bin/time and prints
# one line of the table; the time file stays as $work/NAME.time.
measure() {
    name=$1
    shift
    /usr/bin/time -v -o "$work/$name.time" "$@" > "$work/$name.out" 2> "$work/$name.err"
    awk -v name="$name" -v n="$documents" -v t="$(seconds "$work/$name.time")" \
        -v cpu="$(processor "$work/$name.time")" -v mem="$(peak "$work/$name.time")" 'BEGIN {
        printf "%-30s %8.2f s %8.2f s CPU %9.1f Dokumente/s  Spitze %7d KB\n", name, t, cpu, (t > 0 ? n / t : 0), mem
    }'
}

trovex_program() { # DIR: a program directory with the drive file list
    mkdir -p "$1/Datenbank"
    cp "$drive_list" "$1/Datenbank/"
}

trovex_index() { # NAME DIR JOBS [--update]
    name=$1 dir=$2 jobs=$3
    shift 3
    if [ "${1:-}" = --update ]; then
        measure "$name" "$trovex" --program-dir "$dir" --drive "B=$corpus" index Bench --update --jobs "$jobs"
    else
        measure "$name" "$trovex" --program-dir "$dir" --drive "B=$corpus" \
            index Bench 'B:\' '*.odt *.docx *.epub' --jobs "$jobs"
    fi
}

# How many processors this run really gets: the same busy work once and
# twice side by side (on an idle two-core machine both take the same time).
busy() { # COUNT: that many copies of the busy work at once; prints the wall time
    start=$(date +%s.%N)
    i=0
    while [ $i -lt "$1" ]; do
        awk 'BEGIN { for (i = 0; i < 2e7; i++) s += i }' &
        i=$((i + 1))
    done
    wait
    echo "$(date +%s.%N) - $start" | bc -l
}
probe1=$(busy 1)
probe2=$(busy 2)
echo "Freie Prozessoren (Probe, 2 gleichzeitig gegen 1): $(echo "2 * $probe1 / $probe2" | bc -l | cut -c1-4)"

printf '%-30s %10s %14s %22s %15s\n' Lauf Zeit Prozessorzeit Durchsatz Speicher
# "all": one thread per processor
sync
for jobs in 1 2 all; do
    trovex_program "$work/trovex-$jobs"
    trovex_index "trovex, $jobs Thread(s)" "$work/trovex-$jobs" "$( [ $jobs = all ] && echo "$cores" || echo $jobs)"
done
reference="$work/trovex-1/Datenbank/Bench_UTF8Dokument.txt"
trovex_index "trovex, unverändert" "$work/trovex-all" "$cores" --update
unchanged_text="$work/trovex-all/Datenbank/Bench_UTF8Dokument.txt"
same_unchanged=$(cmp -s "$reference" "$unchanged_text" && echo gleich || echo VERSCHIEDEN)

# recoll: its own configuration directory, only the corpus, no extra
# languages or aspell.
if [ "${RECOLL:-1}" != 0 ]; then
    mkdir -p "$work/recoll"
    cat > "$work/recoll/recoll.conf" <<CONF
topdirs = $corpus
noaspell = 1
indexStemmingLanguages =
CONF
    measure "recollindex, erster Lauf" recollindex -c "$work/recoll" -z
    measure "recollindex, unverändert" recollindex -c "$work/recoll"
fi

# One document in a hundred gets a new modification time.
find "$corpus" -type f | sort | awk 'NR % 100 == 1' | while read -r document; do
    touch "$document"
done
touched=$(find "$corpus" -type f | sort | awk 'NR % 100 == 1' | wc -l)
trovex_index "trovex, 1 % berührt" "$work/trovex-all" "$cores" --update
same_touched=$(cmp -s "$reference" "$work/trovex-all/Datenbank/Bench_UTF8Dokument.txt" && echo gleich || echo VERSCHIEDEN)
if [ "${RECOLL:-1}" != 0 ]; then
    measure "recollindex, 1 % berührt" recollindex -c "$work/recoll"
fi

same_threads=gleich
for jobs in 2 all; do
    cmp -s "$reference" "$work/trovex-$jobs/Datenbank/Bench_UTF8Dokument.txt" || same_threads=VERSCHIEDEN
done
echo
echo "Datenbanktext: Threads $same_threads, unverändert $same_unchanged, nach $touched berührten $same_touched (gegen 1 Thread)"
indexed=$(awk '/ODT-Dateien wurden indiziert/ { gsub(/[.,]/, "", $1); print $1 }' "$work/trovex, 1 Thread(s).out")
echo "trovex hat $indexed Dokumente indiziert"

t() { seconds "$work/$1.time"; }
awk -v t1="$(t "trovex, 1 Thread(s)")" -v t2="$(t "trovex, 2 Thread(s)")" \
    -v tn="$(t "trovex, all Thread(s)")" -v tu="$(t "trovex, unverändert")" \
    -v tt="$(t "trovex, 1 % berührt")" -v recoll="${RECOLL:-1}" \
    -v rf="$( [ "${RECOLL:-1}" != 0 ] && t "recollindex, erster Lauf" || echo 0)" \
    -v ru="$( [ "${RECOLL:-1}" != 0 ] && t "recollindex, unverändert" || echo 0)" \
    -v rt="$( [ "${RECOLL:-1}" != 0 ] && t "recollindex, 1 % berührt" || echo 0)" 'BEGIN {
    printf "2 Threads gegen 1 Thread:                 %6.2f (Ziel >= 1.7)\n", (t2 > 0 ? t1 / t2 : 0)
    printf "alle Threads gegen 1 Thread:              %6.2f\n", (tn > 0 ? t1 / tn : 0)
    printf "voller Lauf gegen unveränderte Neuindizierung: %6.1f (Ziel >= 20)\n", (tu > 0 ? tn / tu : 0)
    printf "voller Lauf gegen 1 %% berührt:             %6.1f\n", (tt > 0 ? tn / tt : 0)
    if (recoll != 0) {
        printf "recollindex erster Lauf gegen trovex voll: %6.1f\n", (tn > 0 ? rf / tn : 0)
        printf "recollindex Update gegen trovex unverändert: %6.1f (Ziel > 1)\n", (tu > 0 ? ru / tu : 0)
        printf "recollindex Update gegen trovex 1 %% berührt: %6.1f\n", (tt > 0 ? rt / tt : 0)
    }
}'
