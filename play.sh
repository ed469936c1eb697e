#!/usr/bin/env bash
# Builds the game and runs it; arguments pass on to the game (see README for them).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install_deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMORVA_TESTS=OFF -DMORVA_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)"

# Content: the usual search (--root, $MORVA_ROOT, ./data, the installed folder); failing that, the
# demo content, built once into build-release/content.
args=("$@")
has_root=0
for a in "${args[@]}"; do [ "$a" = "--root" ] && has_root=1; done
if [ $has_root -eq 0 ] && [ -z "${MORVA_ROOT:-}" ] && [ ! -d data ] && [ ! -d DATA ] &&
   [ ! -d "$(grep -o '^CMAKE_INSTALL_PREFIX:PATH=.*' build-release/CMakeCache.txt | cut -d= -f2)/share/morva/data" ]; then
  if [ -x build-release/tools/mkcontent ]; then
    [ -d build-release/content/data ] || build-release/tools/mkcontent build-release/content
    export MORVA_ROOT="$PWD/build-release/content"
  fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here. Running a short scripted demo in a virtual X server instead."
  mkdir -p out
  for shot in intro:120 menu:200 training:270 options:345; do
    name=${shot%%:*}
    frames=${shot##*:}
    xvfb-run -a -s "-screen 0 800x600x24" build-release/morva --windowed --frames "$frames" \
      --input scripts/demo.script --screenshot "out/$name.png" "${args[@]}" 2>/dev/null || true
  done
  # The recorded playthrough of the demo level: the level in play, a guard beheaded, and the
  # statistics at the end. It replays the same game only with the settings it was recorded with
  # (without blood, fewer random numbers are drawn), so these runs start from the defaults.
  echo "Replaying the recorded playthrough of the demo level (it runs in real time: a few minutes)..."
  settings=$(mktemp -d)
  trap 'rm -rf "$settings"' EXIT
  # The statistics screen is left with the recording's first Escape.
  leave=$(grep -m1 ' key down Escape$' tests/data/playthrough.script | cut -d' ' -f1)
  for shot in level:650 fight:380 statistics:$((leave - 30)); do
    name=${shot%%:*}
    frames=${shot##*:}
    xvfb-run -a -s "-screen 0 800x600x24" build-release/morva --windowed --frames "$frames" \
      --config "$settings/config.dat" --input tests/data/playthrough.script \
      --screenshot "out/$name.png" "${args[@]}" 2>/dev/null || true
  done
  echo "Screenshots of the intro, menu, training and options screens, of the level in play, a"
  echo "fight and the statistics screen are in $PWD/out/."
  exit 0
fi
exec build-release/morva "${args[@]}"
