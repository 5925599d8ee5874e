#!/usr/bin/env bash
# Holds the results view's first frames against the bare list of the same
# triangles and against VTK's, like for like: runs bench_shell_views and
# bench_vtk_compare in alternating rounds, pinned to two cores with
# llvmpipe on two threads, and prints the min and median over the rounds of
# each case's median frame and of the ratios.
#
#   scripts/first-frame-ratios.sh [-b build/release] [-n 1000000] [-r 3] [-c 6,7]
#
# -b the build folder (configured with the benchmarks), -n the triangles,
# -r the rounds, -c the two CPUs. bench_vtk_compare is built only where VTK
# 9 is installed and needs a display: without DISPLAY it runs under
# xvfb-run -a.
set -euo pipefail

build=build/release size=1000000 rounds=3 cpus=6,7
while getopts b:n:r:c: opt; do
    case $opt in
    b) build=$OPTARG ;;
    n) size=$OPTARG ;;
    r) rounds=$OPTARG ;;
    c) cpus=$OPTARG ;;
    *) sed -n 8p "$0" >&2; exit 2 ;;
    esac
done
ours=$build/bench/bench_shell_views vtk=$build/bench/bench_vtk_compare
for program in "$ours" "$vtk"; do
    if [[ ! -x $program ]]; then
        echo "$program is missing: configure with -DBRANTEL_BUILD_BENCH=ON (bench_vtk_compare needs libvtk9-dev)" >&2
        exit 1
    fi
done
display=()
[[ -n ${DISPLAY:-} ]] || display=(xvfb-run -a -s "-screen 0 1280x1024x24")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# run NAME PROGRAM FILTER [WRAPPER...]: one round of one program, its
# results as JSON in $out.
run() {
    local name=$1 program=$2 filter=$3
    shift 3
    echo "round $round: $name" >&2
    if ! LP_NUM_THREADS=2 taskset -c "$cpus" "$@" "$program" --benchmark_filter="$filter" \
        --benchmark_out="$out/$name-$round.json" --benchmark_out_format=json >/dev/null 2>"$out/$name.log"; then
        cat "$out/$name.log" >&2
        exit 1
    fi
}
ours_filter="^BM_(BareListCompile|BareListCompileCold|ResultListsCompile|ResultListsFirstFrameCold|ResultListsFirstFrameMesh)/$size(/|$)"
vtk_filter="^BM_(VtkFirstFrame|VtkFirstFrameCold|VtkFirstFrameEdges)/$size(/|$)"
for ((round = 1; round <= rounds; ++round)); do
    # Each program goes first in every other round.
    if ((round % 2)); then
        run ours "$ours" "$ours_filter"
        run vtk "$vtk" "$vtk_filter" "${display[@]}"
    else
        run vtk "$vtk" "$vtk_filter" "${display[@]}"
        run ours "$ours" "$ours_filter"
    fi
done

python3 - "$size" "$out"/*.json <<'EOF'
import json, statistics, sys

size, files = sys.argv[1], sys.argv[2:]
frames = {}  # case -> the median frame of each round, in ms
for path in files:
    for run in json.load(open(path))["benchmarks"]:
        if run.get("error_occurred") or run.get("run_type") != "iteration":
            continue
        frames.setdefault(run["run_name"].split("/")[0][3:], []).append(run["median_ms"])

def spread(values):
    return min(values), statistics.median(values)

print(f"\n{size} triangles, {len(files) // 2} rounds: min / median of the median frames")
for case in sorted(frames):
    low, mid = spread(frames[case])
    print(f"  {case:34} {low:9.1f} {mid:9.1f} ms")

# One ratio: min over min and median over median.
def ratio(label, case, base):
    if case not in frames or base not in frames:
        print(f"  {label:56} (a case is missing)")
        return
    (a, b), (c, d) = spread(frames[case]), spread(frames[base])
    print(f"  {label:56} {a / c:6.2f} {b / d:6.2f}")

print("ratios, min / median")
ratio("first frame / bare list, warm", "ResultListsCompile", "BareListCompile")
ratio("first frame / VTK's first frame, warm", "ResultListsCompile", "VtkFirstFrame")
ratio("first frame / bare list, cold", "ResultListsFirstFrameCold", "BareListCompileCold")
ratio("first frame / VTK's first frame, cold", "ResultListsFirstFrameCold", "VtkFirstFrameCold")
ratio("new view with mesh lines / VTK's first frame with edges", "ResultListsFirstFrameMesh", "VtkFirstFrameEdges")
EOF
