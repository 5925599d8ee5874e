#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in an optimised
# build with assertions (g++, build/release, with the small benchmark
# cases), once in a clang build with AddressSanitizer and UBSan
# (build/sanitize, compiled while the first build's tests run), whose fuzz
# targets then replay their corpora.
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
  -DCMAKE_C_FLAGS_RELEASE="-O2" -DBRANTEL_BUILD_BENCH=ON \
  -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld

if [ "$fast" -eq 0 ]; then
  # One clang build serves the sanitizer tests and the fuzz targets: with
  # BRANTEL_BUILD_FUZZ its libraries are also instrumented for libFuzzer.
  # Line tables are enough for the sanitizers' stack traces. It compiles
  # while the optimised build's tests run, at idle priority (nice where the
  # idle class is refused): it takes only the processor time the tests leave
  # unused, above all while the gui tests wait for the display, so the tests
  # run as fast as alone. Its output follows the optimised build's tests.
  echo "=== AddressSanitizer and UndefinedBehaviorSanitizer build (clang, with the fuzz targets), in the background"
  idle=(chrt --idle 0)
  if ! chrt --idle 0 true 2>/dev/null; then idle=(nice -n 19); fi
  mkdir -p build
  sanitize_log=build/sanitize-build.log
  CC=clang CXX=clang++ setsid "${idle[@]}" bash -c 'source scripts/deps.sh && brantel_build "$@"' \
    brantel_build build/sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" \
    -DBRANTEL_SANITIZE=ON -DBRANTEL_BUILD_FUZZ=ON -DBRANTEL_BUILD_BENCH=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld \
    > "$sanitize_log" 2>&1 &
  sanitize_pid=$!
  # setsid made it a process group of its own: a failed test ends it too.
  trap 'kill -- -"$sanitize_pid" 2>/dev/null || true' EXIT
fi

brantel_ctest build/release

if [ "$fast" -eq 0 ]; then
  echo "=== AddressSanitizer and UndefinedBehaviorSanitizer build, waiting for it"
  # The tests are done: the rest of the build takes a normal share again
  # (where this user may raise the priority back).
  for pid in $(pgrep -g "$sanitize_pid" || true); do
    chrt --other -p 0 "$pid" >/dev/null 2>&1 || true
  done
  renice -n 0 -g "$sanitize_pid" >/dev/null 2>&1 || true
  sanitize_status=0
  wait "$sanitize_pid" || sanitize_status=$?
  trap - EXIT
  cat "$sanitize_log"
  if [ "$sanitize_status" -ne 0 ]; then
    echo "the sanitizer build failed (status $sanitize_status)" >&2
    exit "$sanitize_status"
  fi
  # The journeys (label journey) ran in the optimised build; a second pass
  # under the sanitizers, several times slower, adds little to what the
  # program's start, open and exit tests and the headless and widget tests
  # of the same code check here.
  brantel_ctest build/sanitize -LE journey

  # Every fuzz target replays its corpus and seeds once; run scripts/fuzz.sh
  # with a time by hand to search for new faults.
  echo "=== fuzz targets replaying their corpora and seeds"
  scripts/fuzz.sh --build build/sanitize 0
fi
