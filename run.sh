#!/usr/bin/env bash
# Installs what is missing, builds Brantel and runs it. Until the program's
# windows exist, this runs the headless example (examples/plate_analysis.cpp):
# a plate model meshed and analysed through the plate component.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
brantel_install_deps
brantel_build build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2" \
  -DCMAKE_C_FLAGS_RELEASE="-O2"
exec build/release/bin/brantel_example "$@"
