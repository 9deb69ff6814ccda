#!/usr/bin/env bash
# Lists large trees with ErstelleDateiliste and with `find DIR -type f` side by
# side and prints the times and their ratio (tool / find; below 1 the tool is
# faster). Not part of the test suite.
#
#   bench/filelist/bench_filelist.sh [BUILD_DIR] [TREE_DIR...]
#
# BUILD_DIR defaults to build/release. Without TREE_DIR it measures a
# generated tree of 500,000 files (made once in $TMPDIR/trovex_bench_tree) and
# /usr. Each tree is listed once to warm the caches, then RUNS times (default 3)
# by each program; the best time of each counts.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
shift || true
tool="$build/bin/ErstelleDateiliste"
[[ -x $tool ]] || { echo "no $tool: build the target ErstelleDateiliste first" >&2; exit 2; }
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

generated=${TMPDIR:-/tmp}/trovex_bench_tree
make_tree() {
    [[ -f $generated/.complete ]] && return
    echo "making $generated (500,000 files) ..." >&2
    rm -rf "$generated"
    python3 - "$generated" <<'PY'
import os, sys
root = sys.argv[1]
# 50 top folders, 10 sub-folders each, 1000 files per sub-folder.
for a in range(50):
    for b in range(10):
        d = os.path.join(root, f"Ordner {a:02d}", f"Unterordner_{b}")
        os.makedirs(d)
        for c in range(1000):
            os.close(os.open(os.path.join(d, f"Datei {c:04d}.odt"), os.O_CREAT | os.O_WRONLY, 0o644))
open(os.path.join(root, ".complete"), "w").close()
PY
}

best_of() { # command... -> best wall time in seconds
    local best=""
    for ((i = 0; i < runs; i++)); do
        local start end t
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        t=$(echo "$end - $start" | bc -l)
        if [[ -z $best ]] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
    done
    printf '%.3f' "$best"
}

trees=("$@")
if ((${#trees[@]} == 0)); then
    make_tree
    trees=("$generated" /usr)
fi

printf '%-32s %10s %10s %8s %8s %8s\n' tree files find_s tool_s ratio threads
for tree in "${trees[@]}"; do
    find_list="$work/find.txt"
    tool_dir="$work/prog"
    list="$tool_dir/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_B.txt"
    find "$tree" -type f >"$find_list" 2>/dev/null || true
    "$tool" open B --no-window --program-dir "$tool_dir" --drive "B=$tree" >/dev/null
    find_count=$(wc -l <"$find_list")
    tool_count=$(wc -l <"$list")
    if [[ $find_count != "$tool_count" ]]; then
        echo "note: $tree: find lists $find_count files, the tool $tool_count" >&2
    fi
    t_find=$(best_of sh -c "find '$tree' -type f >'$find_list'")
    for threads in "" 1; do
        if [[ -n $threads ]]; then extra=(--threads "$threads"); label=$threads; else extra=(); label=all; fi
        t_tool=$(best_of "$tool" open B --no-window --program-dir "$tool_dir" --drive "B=$tree" "${extra[@]}")
        ratio=$(echo "$t_tool / $t_find" | bc -l)
        printf '%-32s %10s %10s %8s %8.2f %8s\n' "$tree" "$tool_count" "$t_find" "$t_tool" "$ratio" "$label"
    done
done
