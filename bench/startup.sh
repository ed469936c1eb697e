#!/usr/bin/env bash
# Start-up to the first presented frame, in a window under Xvfb, beside a minimal SDL2 program
# that opens a GL window and presents one frame. The game starts on the build's demo content (so
# its first frame opens the intro's music and draws its first picture). Prints the median of RUNS
# runs of each.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-21}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$build" "$runs"
fi
root=$(realpath "$build/content")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median_first_frame() {
  for _ in $(seq "$runs"); do
    MORVA_LAUNCH_NS=$(date +%s%N) "$@" 2>/dev/null | awk '/^first-frame/ {print $2}'
  done | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

game=$(median_first_frame "$build/bench/first_frame_probe" --windowed --frames 1 --root "$root" \
  --config "$work/config.dat")
minimal=$(median_first_frame "$build/bench/min_gl_window")
echo "first frame presented, morva:          $game ms"
echo "first frame presented, minimal SDL GL: $minimal ms"
awk -v g="$game" -v m="$minimal" 'BEGIN {printf "ratio: %.2f (target at most 1.5)\n", g / m}'
