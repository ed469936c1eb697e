#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang, ASan, UBSan) and runs each named target (all
# when none is named) for RUNS executions, one after another at the lowest priority. The seeds in
# tests/fuzz/corpus/ are copied into build-fuzz/corpus/, where the fuzzer adds what it finds; a
# crash leaves its input in build-fuzz/findings/<target>/. Prints one line per target.
#   tests/fuzz/run.sh [-d] [-r RUNS] [-t SECONDS] [target...]
# -d links libjpeg-turbo, libsndfile and libmpg123 built with the fuzzer's instrumentation
# (tests/fuzz/build_decoders.sh, run first when they are missing) instead of the system's, so the
# jpeg and sound targets are guided inside the decoders too; the tree is rebuilt at each change.
# RUNS defaults to 10 million (jpeg and sound 1 million, character_play 100,000); SECONDS, when
# given, ends each run earlier. MORVA_FUZZ_NO_BUILD=1 skips the build; MORVA_FUZZ_NICE sets the
# niceness (19).
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="" seconds=0 decoders=""
while [ $# -gt 0 ]; do
  case $1 in
    -d) decoders=$PWD/build-fuzz/decoders/prefix; shift ;;
    -r) runs=$2; shift 2 ;;
    -t) seconds=$2; shift 2 ;;
    *) break ;;
  esac
done
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(texture_container targa jpeg level_map character_record
  character_play config input_script level_source sound)

if [ -z "${MORVA_FUZZ_NO_BUILD:-}" ]; then
  if [ -n "$decoders" ]; then tests/fuzz/build_decoders.sh build-fuzz >/dev/null; fi
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVA_FUZZ=ON -DMORVA_FUZZ_DECODERS="$decoders" -DMORVA_TESTS=OFF -DMORVA_BENCH=OFF >/dev/null
  nice -n 19 cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}" >/dev/null
fi

for t in "${targets[@]}"; do
  n=$runs
  if [ -z "$n" ]; then
    case $t in jpeg | sound) n=1000000 ;; character_play) n=100000 ;; *) n=10000000 ;; esac
  fi
  work=build-fuzz/corpus/$t findings=build-fuzz/findings/$t log=build-fuzz/logs/$t.log
  mkdir -p "$work" "$findings" build-fuzz/logs
  cp -n tests/fuzz/corpus/$t/* "$work"/
  start=$(date +%s)
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    nice -n "${MORVA_FUZZ_NICE:-19}" build-fuzz/tests/fuzz/fuzz_$t -runs="$n" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$work" >"$log" 2>&1 || status=$?
  done=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  crashes=$(find "$findings" -type f | wc -l)
  echo "$t: $done executions in $(($(date +%s) - start)) s, exit $status, $crashes findings kept," \
    "corpus $(find "$work" -type f | wc -l) files"
done
