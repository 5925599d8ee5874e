#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in an optimised
# build with assertions (g++, build/release, with the small benchmark
# cases), once in a clang build with AddressSanitizer and UBSan
# (build/sanitize), whose fuzz targets then replay their corpora.
#   ./test.sh          both builds and the fuzz targets (what CI runs)
#   ./test.sh --fast   the optimised build only
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

fast=0
for arg in "$@"; do
  case "$arg" in
    --fast) fast=1 ;;
    *) echo "usage: ./test.sh [--fast]" >&2; exit 2 ;;
  esac
done

brantel_install_deps
jobs=$(nproc)

# Runs the tests of a build: everything without a display in parallel, then
# the gui label serially inside one Xvfb (parallel servers race for display
# numbers, and windows in one server fight for the focus), with the further
# ctest options given after the build folder. A gui test may not skip here.
# The gui programs drive the real program with synthetic input under
# software OpenGL, where a loaded machine can delay a window past a step's
# wait: a failed gui test runs once more (each journey is a test of its
# own), and its first failure stays in the output.
brantel_ctest() {
  local dir=$1
  shift
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" -LE gui
  BRANTEL_REQUIRE_GUI=1 LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$dir" --output-on-failure -L gui "$@" --repeat until-pass:2
}

echo "=== optimised build with assertions"
brantel_build build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2" \
  -DCMAKE_C_FLAGS_RELEASE="-O2" -DBRANTEL_BUILD_BENCH=ON
brantel_ctest build/release

if [ "$fast" -eq 0 ]; then
  # One clang build serves the sanitizer tests and the fuzz targets: with
  # BRANTEL_BUILD_FUZZ its libraries are also instrumented for libFuzzer.
  # Line tables are enough for the sanitizers' stack traces.
  echo "=== AddressSanitizer and UndefinedBehaviorSanitizer build (clang, with the fuzz targets)"
  CC=clang CXX=clang++ brantel_build build/sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" \
    -DBRANTEL_SANITIZE=ON -DBRANTEL_BUILD_FUZZ=ON -DBRANTEL_BUILD_BENCH=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld
  # The journeys (label journey) ran in the optimised build; a second pass
  # under the sanitizers, several times slower, adds little to what the
  # program's start, open and exit tests and the headless and widget tests
  # of the same code check here.
  brantel_ctest build/sanitize -LE journey

  # A short run that replays the corpus and seeds; run scripts/fuzz.sh
  # with a longer time by hand to search for new faults.
  echo "=== fuzzing the readers (5 s each)"
  scripts/fuzz.sh --build build/sanitize 5
fi
