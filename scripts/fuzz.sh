#!/usr/bin/env bash
# Builds the image-reader fuzz targets with clang and runs each for the
# given number of seconds (default 30), seeded by our own writers. A crash
# fails the run; its input is left in build/fuzz/artifacts/.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
dir=build/fuzz
gen=()
if command -v ninja >/dev/null 2>&1; then gen=(-G Ninja); fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRANTEL_BUILD_FUZZ=ON -DBRANTEL_BUILD_TESTS=OFF -DBRANTEL_BUILD_BENCH=OFF
fi
cmake --build "$dir" -j "$(nproc)" --target fuzzers
corpus=$dir/corpus
mkdir -p "$corpus" "$dir/artifacts"
"$dir/fuzz/image_seeds" "$corpus"
for target in fuzz_bmp fuzz_archive fuzz_jpeg fuzz_tiff fuzz_targa fuzz_pcx fuzz_factory; do
  echo "--- $target (${seconds} s)"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done

# The model targets, seeded through the API (model_seeds) and by the
# regression inputs kept in fuzz/corpus/<target>/ (files that once crashed
# a reader; see fuzz/corpus/README.md). Leak detection stays on: a load,
# failed or not, frees what it made.
"$dir/fuzz/model_seeds" "$corpus"
for target in fuzz_objects fuzz_platecomp fuzz_shellcomp fuzz_graph_text fuzz_node_text \
    fuzz_region_text fuzz_plate_region_text fuzz_matrix_text; do
  echo "--- $target (${seconds} s)"
  kept=()
  if [ -d "fuzz/corpus/$target" ]; then kept=("fuzz/corpus/$target"); fi
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" "${kept[@]}" \
      > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
