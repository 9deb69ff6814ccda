#!/usr/bin/env bash
# Lists large trees with ErstelleDateiliste and with `find DIR -type f` side by
# side and prints the times and their ratio (tool / find; below 1 the tool is
# faster; the goal is 0.8), wall-clock and processor time (user + system, which
# a shared machine disturbs less), and the tool's peak memory. Both write
# their list to a file. Not part of the test suite.
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

best_of() { # command... -> "wall cpu peak_kb" of the run with the best wall time
    local best="" line
    for ((i = 0; i < runs; i++)); do
        /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1
        line=$(awk '{ printf "%.3f %.3f %d", $1, $2 + $3, $4 }' "$work/time")
        if [[ -z $best ]] || (($(echo "${line%% *} < ${best%% *}" | bc -l))); then best=$line; fi
    done
    echo "$best"
}

trees=("$@")
if ((${#trees[@]} == 0)); then
    make_tree
    trees=("$generated" /usr)
fi

printf '%-28s %8s %7s %7s %7s %7s %6s %6s %8s\n' tree files find_s tool_s ratio cpu_rat threads same peak_kb
for tree in "${trees[@]}"; do
    find_list="$work/find.txt"
    tool_dir="$work/prog"
    list="$tool_dir/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_B.txt"
    find "$tree" -type f >"$find_list" 2>/dev/null || true
    "$tool" open B --no-window --program-dir "$tool_dir" --drive "B=$tree" --threads 1 >/dev/null
    cp "$list" "$work/one_thread.txt"
    find_count=$(wc -l <"$find_list")
    tool_count=$(wc -l <"$list")
    if [[ $find_count != "$tool_count" ]]; then
        echo "note: $tree: find lists $find_count files, the tool $tool_count" >&2
    fi
    read -r f_wall f_cpu _ < <(best_of sh -c "find '$tree' -type f >'$find_list'")
    for threads in "" 1; do
        if [[ -n $threads ]]; then extra=(--threads "$threads"); label=$threads; else extra=(); label=all; fi
        read -r t_wall t_cpu t_peak < <(best_of "$tool" open B --no-window --program-dir "$tool_dir" --drive "B=$tree" "${extra[@]}")
        same=$(cmp -s "$list" "$work/one_thread.txt" && echo yes || echo NO)
        printf '%-28s %8s %7s %7s %7.2f %7.2f %6s %6s %8s\n' "$tree" "$tool_count" "$f_wall" "$t_wall" \
            "$(echo "$t_wall / $f_wall" | bc -l)" "$(echo "$t_cpu / $f_cpu" | bc -l)" "$label" "$same" "$t_peak"
    done
done
