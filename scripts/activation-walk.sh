#!/bin/bash
# Runs the activation journey's random walk with more seeds than CI does:
#   scripts/activation-walk.sh [-b build-folder] [-n steps] [-g seeds-per-start] seed...
#   scripts/activation-walk.sh 1 2 3 4 5          # five seeds, after the fixed sequences
#   scripts/activation-walk.sh -g 5 $(seq 1 20)   # twenty seeds, five per program start
# Each group of seeds walks in one start of the program (after the journey's
# fixed sequences); a failure is reported with its seed and step, and the
# screens of each step go to <build>/artifacts/activation-*.png. Needs the
# built test_brantel_gui, Xvfb, openbox, xdotool and tesseract
# (scripts/deps.sh); DISPLAY_NUMBER picks the virtual display (default: any free).
set -u
build=build/release steps=10 group=0
while getopts "b:n:g:" option; do
    case $option in
    b) build=$OPTARG ;;
    n) steps=$OPTARG ;;
    g) group=$OPTARG ;;
    *) sed -n 2,11p "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || { sed -n 2,11p "$0"; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
program=$root/$build/tests/test_brantel_gui
[ -x "$program" ] || { echo "no $program: build the target test_brantel_gui" >&2; exit 2; }
display=(-a)
[ -n "${DISPLAY_NUMBER:-}" ] && display=(-n "$DISPLAY_NUMBER")
seeds=("$@")
[ "$group" -gt 0 ] || group=${#seeds[@]}
status=0
for ((i = 0; i < ${#seeds[@]}; i += group)); do
    batch="${seeds[*]:i:group}"
    echo "== seeds $batch, $steps steps each"
    # The display of the run before is free once its lock has gone.
    [ -n "${DISPLAY_NUMBER:-}" ] && while [ -e "/tmp/.X$DISPLAY_NUMBER-lock" ]; do sleep 1; done
    BRANTEL_SOURCE_DIR=$root BRANTEL_TEST_ARTIFACTS=$root/$build/artifacts BRANTEL_REQUIRE_GUI=1 \
        LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb \
        BRANTEL_ACTIVATION_SEEDS="$batch" BRANTEL_ACTIVATION_STEPS=$steps \
        xvfb-run "${display[@]}" -s "-screen 0 1280x1024x24" \
        "$program" --gtest_filter='ActivationJourney.*' || status=1
done
exit $status
