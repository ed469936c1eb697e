#!/usr/bin/env bash
# Builds everything and runs every test (GL tests in a virtual X server).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install_deps.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build --output-on-failure -j "$jobs"
