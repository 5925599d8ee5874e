#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with the given
# files, or with the sample plate document examples/plate.plb. Without a
# display (neither DISPLAY nor WAYLAND_DISPLAY) it runs the headless example
# (examples/plate_analysis.cpp), a plate model meshed and analysed through
# the plate component, and says how to get the program's window.
# It builds only those two programs, in build/run, without the tests and
# benchmarks (./test.sh builds those in build/release).
#   ./run.sh [files...]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
brantel_install_deps
brantel_build build/run -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2" \
  -DCMAKE_C_FLAGS_RELEASE="-O2" -DBRANTEL_BUILD_TESTS=OFF -DBRANTEL_BUILD_BENCH=OFF \
  --target brantel brantel_example
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless example."
  status=0
  build/run/bin/brantel_example || status=$?
  echo
  echo "For the program's window, run ./run.sh on a graphical desktop, or on a virtual display:"
  echo "  xvfb-run -a ./run.sh"
  exit "$status"
fi
if [ "$#" -eq 0 ] && [ -f examples/plate.plb ]; then
  set -- examples/plate.plb
fi
exec build/run/bin/brantel "$@"
