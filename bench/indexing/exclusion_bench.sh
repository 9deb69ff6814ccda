#!/bin/sh
# What the exclusion list AusnahmeIndizierung.txt costs an index run: the
# same run (300 small documents below B:\Texte, in a drive file list of
# LINES lines) with 0, 1000 and 5000 exclusion texts, each the best of three
# into a fresh program directory; as the peer, `grep -F -i -f` matching the
# same texts against every line of the same list (what matching all lines
# one by one costs). Checks that every run kept exactly the documents whose
# path holds none of the texts.
#
#   bench/indexing/exclusion_bench.sh [TROVEX_BIN_DIR] [LINES]
#
# Needs python3. Not run by CTest.
set -eu

bin=${1:-$(dirname "$0")/../../build/release/bin}
lines=${2:-1000000}
trovex="$bin/trovex"
work=$(mktemp -d /tmp/trovex-exclusions.XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
export XDG_CONFIG_HOME="$work/config"

python3 "$(dirname "$0")/make_exclusion_case.py" --out "$work" --lines "$lines" --counts 0,1000,5000
echo "Dateiliste: $lines Zeilen, 300 Dokumente; Last: $(cut -d' ' -f1-3 /proc/loadavg)"

now() { date +%s.%N; }
best() { # COMMAND...: the best wall time of three runs, in seconds
    b=
    for _ in 1 2 3; do
        s=$(now)
        "$@" > /dev/null 2>&1 || true
        t=$(echo "$(now) - $s" | bc -l)
        if [ -z "$b" ] || [ "$(echo "$t < $b" | bc -l)" = 1 ]; then b=$t; fi
    done
    echo "$b"
}

index_once() { # COUNT
    dir="$work/p$1"
    rm -rf "$dir"
    mkdir -p "$dir/Datenbank"
    cp "$work/Haupt_Dateinamen_Liste_Laufwerk_B.txt" "$dir/Datenbank/"
    cp "$work/exclusions_$1.txt" "$dir/AusnahmeIndizierung.txt"
    "$trovex" --program-dir "$dir" --drive "B=$work/corpus" index Bench 'B:\Texte' '*.odt' --jobs 1
}

printf '%-22s %10s %10s %12s\n' Ausnahmen trovex grep-F trovex/0
base=
for count in 0 1000 5000; do
    t=$(best index_once "$count")
    [ -z "$base" ] && base=$t
    if [ "$count" = 0 ]; then
        g=-
    else
        g=$(best grep -F -i -c -f "$work/exclusions_$count.txt" "$work/Haupt_Dateinamen_Liste_Laufwerk_B.txt")
        g=$(printf '%.3f' "$g")
    fi
    # The kept documents, in list order, against the expected ones.
    tail -n +2 "$work/p$count/Datenbank/Bench.dat" | tr -d '\r' > "$work/kept_$count.txt"
    same=$(cmp -s "$work/kept_$count.txt" "$work/expected_$count.txt" && echo gleich || echo VERSCHIEDEN)
    printf '%-22s %9.3fs %10s %11.2fx  Dokumente: %s (%s)\n' "$count" "$t" "$g" \
        "$(echo "$t / $base" | bc -l)" "$(wc -l < "$work/kept_$count.txt")" "$same"
done
