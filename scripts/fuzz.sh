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
for target in fuzz_bmp fuzz_archive fuzz_jpeg fuzz_tiff fuzz_targa fuzz_pcx fuzz_factory fuzz_colorinfo; do
  echo "--- $target (${seconds} s)"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
# The solver entry points take no seed files: each input shapes a model.
# The target runs in a scratch folder of its own (its run logs), so it is
# given absolute paths.
for target in fuzz_solver; do
  echo "--- $target (${seconds} s)"
  here=$PWD
  mkdir -p "$corpus/$target"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
      -artifact_prefix="$here/$dir/artifacts/${target}-" "$here/$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
# The beam text import, seeded with a small frame in the three blocks.
for target in fuzz_beamtext; do
  echo "--- $target (${seconds} s)"
  mkdir -p "$corpus/$target"
  printf 'BEAMS ! members\r\n 12   1    5    7    9    4   I3\r\n  1   2    1    2   -6  0.6 0.8 0\r\n 21 0 3 4 6 2 I1\r\nB nested\r\n1 1 1 2\r\nEND\r\nEND\r\nSUPPORTS\r\n3 1 2 3 4\r\nEND\r\nPRESCRIBED\n9 3 0.5 2 1\nEND\n' \
    > "$corpus/$target/seed_frame"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
# The palette file reader, seeded with a two-node palette file.
for target in fuzz_palette; do
  echo "--- $target (${seconds} s)"
  mkdir -p "$corpus/$target"
  { printf '\x00\x01\x00\x00\x00\x00\x80\x3f\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00'
    head -c 4064 /dev/zero
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x3f\x01\x00\x00\x00'; } \
    > "$corpus/$target/seed_two_nodes"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
# The settings archive reader, seeded with an archive of zeros up to the
# unit marker 1.
for target in fuzz_settings; do
  echo "--- $target (${seconds} s)"
  mkdir -p "$corpus/$target"
  { head -c 10196 /dev/zero; printf '\x01\x00\x00\x00'; head -c 296 /dev/zero; } \
    > "$corpus/$target/seed_units"
  if ! "$dir/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="$dir/artifacts/${target}-" "$corpus/$target" > "$dir/$target.log" 2>&1; then
    tail -n 60 "$dir/$target.log"
    echo "$target failed: see $dir/$target.log and $dir/artifacts/" >&2
    exit 1
  fi
  tail -n 1 "$dir/$target.log"
done
