#!/usr/bin/env bash
# Start-up to the first presented frame, in a window under Xvfb, beside a minimal SDL2 program
# that opens a GL window and presents one frame. Prints the median of N runs of each.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-21}
root=$(mktemp -d)
mkdir -p "$root/data"
trap 'rm -rf "$root"' EXIT

median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

run_inside() {
  local game minimal
  game=$(median_ms "$build/morva" --windowed --frames 1 --root "$root" --config "$root/config.dat")
  minimal=$(median_ms "$build/bench/min_gl_window")
  echo "first frame, morva:          $game ms"
  echo "first frame, minimal SDL GL: $minimal ms"
  awk -v g="$game" -v m="$minimal" 'BEGIN {printf "ratio: %.2f (target at most 1.5)\n", g / m}'
}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$runs"
fi
run_inside
