#!/usr/bin/env bash
# Measures how the thread that shows long work fares while it runs as a job:
# an index run of a corpus of 2,000 documents (make_corpus.py) and a search
# of a database text of 1 GiB that holds no hit. Prints, per run, how late an
# event posted to that thread every 5 ms was handled (at most and at the
# 99th percentile) and, for a run stopped midway, how long after the stop
# request the work stood still and the job had ended. Not part of CTest.
#
#   bench/responsiveness/run_bench.sh [BUILD_DIR] [WORK_DIR]
#
# BUILD_DIR is configured with -DTROVEX_BUILD_BENCHMARKS=ON (default:
# build/release; the driver is built here). WORK_DIR keeps the corpus and the
# 1 GiB text (default: /tmp/trovex-responsiveness; delete it afterwards).
# Installs fortunes-de when missing (as root or through sudo).
#
# Goals: every posted event handled within 100 ms; "Abbrechen" stops the
# work within 200 ms.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
work=${2:-/tmp/trovex-responsiveness}

if [ ! -d /usr/share/games/fortunes/de ]; then
    if [ "$(id -u)" = 0 ]; then apt-get install -y fortunes-de; else sudo apt-get install -y fortunes-de; fi
fi
cmake --build "$build" --target trovex_responsiveness_bench >/dev/null
driver="$build/bin/trovex_responsiveness_bench"

mkdir -p "$work"
corpus="$work/corpus"
if [ ! -d "$corpus" ]; then
    python3 bench/indexing/make_corpus.py --out "$corpus" --count 2000
fi
program="$work/program"
mkdir -p "$program/Datenbank"
# The corpus is drive B:, listed one full line per file.
corpus_abs=$(cd "$corpus" && pwd)
find "$corpus_abs" -type f | sort | sed "s|^$corpus_abs|B:|; s|/|\\\\|g; s|\$|\r|" \
    > "$program/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_B.txt"
if [ ! -f "$program/Datenbank/Gross_UTF8Dokument.txt" ]; then
    python3 bench/search/make_bench_database.py "$program" 1024 --name Gross
fi

echo "Last: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) Prozessoren"
"$driver" "$program" "$corpus" Gross
