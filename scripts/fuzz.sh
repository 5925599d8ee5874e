#!/usr/bin/env bash
# Builds the fuzz targets of every reader with clang and runs each for the
# given number of seconds (default 30), seeded by our own writers and by the
# regression inputs kept in fuzz/corpus/<target>/ (files that once crashed a
# reader; see fuzz/corpus/README.md). A crash, a leak or a hang fails the
# run; its input is left in <build folder>/fuzz/artifacts/. With 0 seconds
# each target only replays its corpus and seeds once, every input, as the
# start of a longer run does (what ./test.sh runs).
#   scripts/fuzz.sh [--build <folder>] [seconds]
# The build folder is build/fuzz (made here: the fuzz targets alone), or a
# clang build configured with BRANTEL_BUILD_FUZZ=ON, such as ./test.sh's
# build/sanitize, whose fuzz targets are then brought up to date and run.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD
dir=$here/build/fuzz
if [ "${1:-}" = "--build" ]; then
  dir=$(cd "$2" && pwd)
  shift 2
fi
seconds=${1:-30}
case "$seconds" in
  '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [--build <folder>] [seconds]" >&2; exit 2 ;;
esac
gen=()
if command -v ninja >/dev/null 2>&1; then gen=(-G Ninja); fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRANTEL_BUILD_FUZZ=ON -DBRANTEL_BUILD_TESTS=OFF -DBRANTEL_BUILD_BENCH=OFF
fi
cmake --build "$dir" -j "$(nproc)" --target fuzzers
out=$dir/fuzz
corpus=$out/corpus
mkdir -p "$corpus" "$out/artifacts"

# fuzz_run <target> [libFuzzer options...]: one target over its corpus and
# the kept regression inputs. Paths are absolute: some targets work in a
# scratch folder of their own.
fuzz_run() {
  local target=$1
  shift
  mkdir -p "$corpus/$target"
  local kept=()
  if [ -d "$here/fuzz/corpus/$target" ]; then kept=("$here/fuzz/corpus/$target"); fi
  # The target must reach its reader on its seeds (fuzz/fuzz_reached.h): a
  # target that returns early would otherwise find nothing and pass. With 0
  # seconds this replay is the run, and its failure fails the script.
  rm -f "$dir/$target.reached"
  local replay_status=0
  if [ "$seconds" -eq 0 ]; then
    echo "--- $target (replay)"
    BRANTEL_FUZZ_REACHED="$dir/$target.reached" "$dir/fuzz/$target" -runs=0 -rss_limit_mb=2048 \
      "$@" -artifact_prefix="$out/artifacts/${target}-" "$corpus/$target" "${kept[@]}" \
      > "$out/$target.log" 2>&1 || replay_status=$?
    cp "$out/$target.log" "$dir/$target.reach.log"
  else
    echo "--- $target (${seconds} s)"
    BRANTEL_FUZZ_REACHED="$dir/$target.reached" "$dir/fuzz/$target" -runs=0 \
      "$corpus/$target" "${kept[@]}" > "$dir/$target.reach.log" 2>&1 || true
  fi
  if [ "$replay_status" -ne 0 ]; then
    fuzz_failed "$target"
  fi
  if [ ! -s "$dir/$target.reached" ]; then
    echo "$target never reached its reader: see $dir/$target.reach.log" >&2
    exit 1
  fi
  if [ "$seconds" -gt 0 ] && ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$@" \
      -artifact_prefix="$out/artifacts/${target}-" "$corpus/$target" "${kept[@]}" \
      > "$out/$target.log" 2>&1; then
    fuzz_failed "$target"
  fi
  tail -n 1 "$out/$target.log"
}

fuzz_failed() {
  tail -n 60 "$out/$1.log"
  echo "$1 failed: see $out/$1.log and $out/artifacts/" >&2
  exit 1
}

# Image readers and the colour record, seeded by our own writers.
"$dir/fuzz/image_seeds" "$corpus"
for target in fuzz_bmp fuzz_archive fuzz_jpeg fuzz_tiff fuzz_targa fuzz_pcx fuzz_factory fuzz_colorinfo; do
  fuzz_run "$target"
done

# The model targets, seeded through the API. Leak detection stays on: a
# load, failed or not, frees what it made.
"$dir/fuzz/model_seeds" "$corpus"
for target in fuzz_objects fuzz_platecomp fuzz_shellcomp fuzz_graph_text fuzz_node_text \
    fuzz_region_text fuzz_plate_region_text fuzz_matrix_text; do
  fuzz_run "$target" -timeout=60
done

# The program's document files, seeded with the example documents.
mkdir -p "$corpus/fuzz_platedoc"
cp examples/plate.plb examples/membrane.mem examples/buckling.shl "$corpus/fuzz_platedoc/"
fuzz_run fuzz_platedoc -timeout=60

# The document's region import, seeded with two squares sharing an edge and
# a duplicate (the first byte is the selector).
mkdir -p "$corpus/fuzz_region_import"
printf '\000\247Section\r\n0 0\r\n1 0\r\n1 1\r\n0 1\r\n\247End\r\n\247Section\n1 0\n2 0\n2 1\n1 1\n\247End\n\247Section\r\n0 0\r\n1 0\r\n1 1\r\n0 1\r\n\247End\r\n' \
  > "$corpus/fuzz_region_import/seed_squares"
fuzz_run fuzz_region_import -timeout=60
# The solver entry points take no seed files: each input shapes a model.
fuzz_run fuzz_solver -timeout=20

# The beam text import, seeded with a small frame in the three blocks.
mkdir -p "$corpus/fuzz_beamtext"
printf 'BEAMS ! members\r\n 12   1    5    7    9    4   I3\r\n  1   2    1    2   -6  0.6 0.8 0\r\n 21 0 3 4 6 2 I1\r\nB nested\r\n1 1 1 2\r\nEND\r\nEND\r\nSUPPORTS\r\n3 1 2 3 4\r\nEND\r\nPRESCRIBED\n9 3 0.5 2 1\nEND\n' \
  > "$corpus/fuzz_beamtext/seed_frame"
fuzz_run fuzz_beamtext -timeout=20

# The palette file reader, seeded with a two-node palette file.
mkdir -p "$corpus/fuzz_palette"
{ printf '\x00\x01\x00\x00\x00\x00\x80\x3f\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'
  head -c 4064 /dev/zero
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x3f\x01\x00\x00\x00'; } \
  > "$corpus/fuzz_palette/seed_two_nodes"
fuzz_run fuzz_palette

# The settings archive reader, seeded with an archive of zeros up to the
# unit marker 1.
mkdir -p "$corpus/fuzz_settings"
{ head -c 10196 /dev/zero; printf '\x01\x00\x00\x00'; head -c 296 /dev/zero; } \
  > "$corpus/fuzz_settings/seed_units"
fuzz_run fuzz_settings

# The main frame's part of the settings archive, seeded with workbook mode
# on, the spacings 100 and 50, and the second one current.
mkdir -p "$corpus/fuzz_mainframe"
printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x59\x40\x00\x00\x00\x00\x00\x00\x49\x40\x00\x00\x00\x00\x00\x00\xf0\xbf' \
  > "$corpus/fuzz_mainframe/seed_two_spacings"
fuzz_run fuzz_mainframe

# The program's main frame part: the framework's part as above, then the
# thicknesses 50 and 120 with the second one current.
mkdir -p "$corpus/fuzz_program_frame"
printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x59\x40\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x49\x40\x00\x00\x00\x00\x00\x00\x5e\x40\x00\x00\x00\x00\x00\x00\xf0\xbf' \
  > "$corpus/fuzz_program_frame/seed_two_thicknesses"
fuzz_run fuzz_program_frame

# The visibility list of a frame's bar state, seeded with a saved list.
mkdir -p "$corpus/fuzz_barstate"
printf '59393=1;59648=1;59396=0' > "$corpus/fuzz_barstate/seed_list"
fuzz_run fuzz_barstate
