#!/usr/bin/env bash
# The whole process of a one-frame run, as a user feels it from start to exit, in a window under
# Xvfb: `morva --windowed --frames 1` on the build's demo content against two SDL2 programs: a
# minimal one that opens an 800x600 GL window, clears, presents one frame and quits, and one that
# shows the game's own first picture (the intro's first texture, one blended quad) the shortest
# way. The three alternate, PAIRS times (after one round not counted, which warms the file
# cache), so a change in the machine's load touches all alike. Prints the medians, the ratios and
# the load before and after.
# The sound driver is whatever SDL_AUDIODRIVER says (unset: SDL's default).
# usage: bench/whole_run.sh [BUILD_DIR] [PAIRS]
set -euo pipefail
build=${1:-build}
pairs=${2:-15}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$build" "$pairs"
fi
root=$(realpath "$build/content")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Milliseconds the command takes, from before its start to after its exit.
elapsed_ms() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN {printf "%.1f\n", (e - s) * 1000}'
}
median() {
  sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

game=("$build/morva" --windowed --frames 1 --root "$root" --config "$work/config.dat")
minimal=("$build/bench/min_gl_window")
picture=("$build/bench/first_picture" "$root/data/intro/0.dxt")
echo "load before: $(uptime | sed 's/.*load average: //')"
echo "SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-(default)}"
elapsed_ms "${game[@]}" >/dev/null
elapsed_ms "${minimal[@]}" >/dev/null
elapsed_ms "${picture[@]}" >/dev/null
: >"$work/game" && : >"$work/minimal" && : >"$work/picture"
for _ in $(seq "$pairs"); do
  elapsed_ms "${game[@]}" >>"$work/game"
  elapsed_ms "${minimal[@]}" >>"$work/minimal"
  elapsed_ms "${picture[@]}" >>"$work/picture"
done
g=$(median <"$work/game")
m=$(median <"$work/minimal")
p=$(median <"$work/picture")
echo "whole run, morva --windowed --frames 1: $g ms (median of $pairs)"
echo "whole run, minimal SDL GL program:      $m ms (median of $pairs)"
echo "whole run, the same first picture:      $p ms (median of $pairs)"
awk -v g="$g" -v m="$m" 'BEGIN {printf "ratio: %.2f\n", g / m}'
awk -v g="$g" -v p="$p" 'BEGIN {printf "ratio to the same first picture: %.2f\n", g / p}'
echo "load after: $(uptime | sed 's/.*load average: //')"
