#!/usr/bin/env bash
# Line coverage of the game's own code over a fuzz corpus: builds the replay program of TARGET in
# build-cov with clang's source-based coverage (no sanitizers, the system's libraries), replays
# every file of the given corpus folders through it and prints llvm-cov's report for the sources
# named in FILES (a space-separated list of paths under src/; all of src/ when empty).
#   tests/fuzz/coverage.sh TARGET CORPUS_DIR... [-- FILE...]
# e.g. tests/fuzz/coverage.sh jpeg build-fuzz/corpus/jpeg -- src/formats/jpeg.cpp
# MORVA_COV_NO_BUILD=1 skips the build.
set -euo pipefail
cd "$(dirname "$0")/../.."
target=${1:?usage: coverage.sh TARGET CORPUS_DIR... [-- FILE...]}
shift
corpora=() files=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do corpora+=("$(realpath "$1")"); shift; done
[ $# -gt 0 ] && shift
files=("$@")
[ ${#files[@]} -eq 0 ] && files=(src)

if [ -z "${MORVA_COV_NO_BUILD:-}" ]; then
  flags="-fprofile-instr-generate -fcoverage-mapping"
  CC=clang CXX=clang++ cmake -S . -B build-cov -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DMORVA_BENCH=OFF >/dev/null
  nice -n 19 cmake --build build-cov -j2 --target "fuzz_replay_$target" >/dev/null
fi

profiles=build-cov/profiles/$target
rm -rf "$profiles" && mkdir -p "$profiles"
LLVM_PROFILE_FILE="$(realpath "$profiles")/%p.profraw" \
  nice -n 19 "build-cov/tests/fuzz/fuzz_replay_$target" "${corpora[@]}" >"$profiles/replay.log" 2>&1 ||
  { tail -n 20 "$profiles/replay.log"; exit 1; }
llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "$profiles/merged.profdata"
llvm-cov-14 report "build-cov/tests/fuzz/fuzz_replay_$target" \
  -instr-profile="$profiles/merged.profdata" "${files[@]}"
