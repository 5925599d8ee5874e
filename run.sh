#!/usr/bin/env bash
# Installs what is missing, builds Brantel and starts the program with the
# given files, or with examples/plate.plb. Without a display (neither DISPLAY
# nor WAYLAND_DISPLAY) it runs the headless example (examples/plate_analysis.cpp)
# instead: a plate model meshed and analysed through the plate component.
#   ./run.sh [files...]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
brantel_install_deps
brantel_build build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2" \
  -DCMAKE_C_FLAGS_RELEASE="-O2"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the headless example. For the program's windows: xvfb-run ./run.sh" >&2
  exec build/release/bin/brantel_example
fi
if [ "$#" -eq 0 ]; then
  set -- examples/plate.plb
fi
exec build/release/bin/brantel "$@"
