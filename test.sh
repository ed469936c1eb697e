#!/usr/bin/env bash
# Builds everything and runs every test: the full suite (GL tests in a virtual X server), then the
# headless tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install_deps.sh
jobs=$(nproc)
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Warnings are errors here, so the build stays clean.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVA_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
# -noreset: an X server that resets when its last client leaves drops a client connecting during
# the reset, and the GL tests come and go all the time.
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORVA_SANITIZE=ON -DMORVA_BENCH=OFF -DMORVA_WERROR=ON \
  -DMORVA_PREBUILT_CONTENT="$PWD/build/content" >/dev/null
cmake --build build-asan -j "$jobs" --target morva_tests morva mkcontent morva_fuzz_replays settings_kill_loop \
  morva_soak
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -L headless --output-on-failure -j "$jobs"
