#!/usr/bin/env bash
# Installs what is missing, builds Brantel and starts the program with the
# given files, or with the sample plate document examples/plate.plb when it
# exists. Without a display (neither DISPLAY nor WAYLAND_DISPLAY) it runs the
# headless example (examples/plate_analysis.cpp) instead, a plate model
# meshed and analysed through the plate component, and says how to get the
# program's window.
#   ./run.sh [files...]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
brantel_install_deps
brantel_build build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2" \
  -DCMAKE_C_FLAGS_RELEASE="-O2"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless example." >&2
  echo "For the program's window, run ./run.sh on a graphical desktop, or on a virtual display:" >&2
  echo "  xvfb-run -a ./run.sh" >&2
  exec build/release/bin/brantel_example
fi
if [ "$#" -eq 0 ] && [ -f examples/plate.plb ]; then
  set -- examples/plate.plb
fi
exec build/release/bin/brantel "$@"
