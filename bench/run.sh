#!/usr/bin/env bash
# Runs every benchmark of bench/ in one go, each beside its reference where it has one, and prints
# one table: the figure, the reference, the ratio and the goal. Needs a Release or RelWithDebInfo
# build with the benchmarks (the default) and its content.
#   bench/run.sh [BUILD_DIR]      (run it on a machine as idle as can be had; it takes a few minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
root=$build/content
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export MORVA_ROOT=$root
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24 -noreset")
rows=()
row() { rows+=("$(printf '| %s | %s | %s | %s | %s | %s |' "$@")"); }
# bench NAME COMMAND...: the Google Benchmark JSON of one program's run
bench() {
  local out=$work/$1.json
  shift
  "$@" --benchmark_format=json >"$out" 2>/dev/null
  echo "$out"
}
# A figure set beside its reference in the same program: five runs of each, in random order so a
# change in the machine's load falls on both alike, and the median of each.
paired=(--benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
  --benchmark_report_aggregates_only=true)
# field FILE BENCHMARK KEY: one number of one benchmark's JSON entry (the median of repeated runs)
field() {
  jq -r --arg n "$2" --arg k "$3" '.benchmarks[]
    | select((.name | startswith($n)) and ((.aggregate_name // "median") == "median")) | .[$k]' "$1" |
    head -1
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v v="$1" -v g="$2" -v op="$3" 'BEGIN { print ((op == "<=" ? v <= g : v >= g) ? "met" : "missed") }'; }

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) at the start" >&2

# Start-up to the first presented frame (median of 11), beside a minimal SDL GL program.
startup=$(bench/startup.sh "$build" 11 2>/dev/null)
game_ms=$(awk '/morva:/ {print $(NF-1)}' <<<"$startup")
min_ms=$(awk '/minimal SDL GL:/ {print $(NF-1)}' <<<"$startup")
r=$(ratio "$game_ms" "$min_ms")
row "start-up to first frame (Xvfb)" "$game_ms ms" "$min_ms ms (minimal SDL GL)" "$r" "<= 1.5x" "$(verdict "$r" 1.5 "<=")"

# The whole process of a one-frame run, start to exit (median of 15 alternating pairs), with the
# dummy sound driver and with the default one.
for driver in dummy default; do
  if [ "$driver" = dummy ]; then
    whole=$(SDL_AUDIODRIVER=dummy bench/whole_run.sh "$build" 15 2>/dev/null)
    goal=1.2
  else
    whole=$(env -u SDL_AUDIODRIVER bench/whole_run.sh "$build" 15 2>/dev/null)
    goal=1.5
  fi
  game_ms=$(awk '/whole run, morva/ {print $(NF-4)}' <<<"$whole")
  min_ms=$(awk '/whole run, minimal/ {print $(NF-4)}' <<<"$whole")
  r=$(ratio "$game_ms" "$min_ms")
  if [ "$driver" = dummy ]; then
    # The goal is against the same first picture; the clear-only program stays as a report.
    row "whole one-frame run, $driver sound" "$game_ms ms" "$min_ms ms (minimal SDL GL)" "$r" "report" "-"
    picture_ms=$(awk '/whole run, the same first picture/ {print $(NF-4)}' <<<"$whole")
    r=$(ratio "$game_ms" "$picture_ms")
    row "whole one-frame run vs the same first picture" "$game_ms ms" "$picture_ms ms (same first picture)" "$r" "<= 1.1x" "$(verdict "$r" 1.1 "<=")"
  else
    row "whole one-frame run, $driver sound" "$game_ms ms" "$min_ms ms (minimal SDL GL)" "$r" "<= ${goal}x" "$(verdict "$r" "$goal" "<=")"
  fi
done

# Idle CPU: 5 s of the frame loop at the 10 ms cap, headless.
/usr/bin/time -f "%U %S %e" -o "$work/idle.time" "$build/morva" --headless --frames 500 --root "$root" \
  --config "$work/config.dat" >/dev/null 2>&1
idle=$(awk '{printf "%.1f", 100 * ($1 + $2) / $3}' "$work/idle.time")
row "idle frame loop CPU (10 ms cap)" "$idle % of a core" "-" "-" "< 5 %" "$(verdict "$idle" 5 "<=")"

# A typical level frame on GL, frames per second beside a minimal program drawing the same quads.
f=$(bench gl "${xvfb[@]}" "$build/bench/level_frame_bench" "${paired[@]}")
game=$(field "$f" BM_LevelFrameThroughTheGame fps)
minimal=$(field "$f" BM_LevelFrameMinimal fps)
r=$(ratio "$game" "$minimal")
row "GL level frame" "$(printf %.0f "$game") fps" "$(printf %.0f "$minimal") fps (minimal GL)" "$r" ">= 0.8x" "$(verdict "$r" 0.8 ">=")"

# The same with every effect running at once.
f=$(bench effects "${xvfb[@]}" "$build/bench/effects_frame_bench" "${paired[@]}")
game=$(field "$f" BM_EffectsFrameThroughTheGame fps)
minimal=$(field "$f" BM_EffectsFrameMinimal fps)
r=$(ratio "$game" "$minimal")
row "GL frame, every effect at once" "$(printf %.0f "$game") fps" "$(printf %.0f "$minimal") fps (minimal GL)" "$r" ">= 0.8x" "$(verdict "$r" 0.8 ">=")"

# Gameplay frame, level load, map parse.
f=$(bench level "$build/bench/level_bench" "${paired[@]}")
us=$(field "$f" BM_RunLevel256Units real_time)
row "gameplay frame, 256 units" "$(printf %.1f "$us") µs" "-" "-" "<= 50 µs" "$(verdict "$us" 50 "<=")"
f2=$(bench combat "$build/bench/combat_frame_bench" "${paired[@]}")
acting=$(field "$f2" BM_RunLevel256EnemiesActing real_time)
alone=$(field "$f2" BM_RunLevel256PlayerOnly real_time)
row "gameplay frame, 256 units, enemies acting" "$(printf %.1f "$acting") µs" "$(printf %.1f "$alone") µs (player only)" "$(ratio "$acting" "$alone")" "<= 50 µs" "$(verdict "$acting" 50 "<=")"
load=$(field "$f" BM_LevelLoad real_time)
cat_ms=$(field "$f" BM_CatLevelFiles real_time)
r=$(ratio "$load" "$cat_ms")
row "level load (demo)" "$(printf %.1f "$load") ms" "$(printf %.1f "$cat_ms") ms (cat)" "$r" "<= 1.5x" "$(verdict "$r" 1.5 "<=")"
parse=$(field "$f" BM_ParseLargestMap real_time)
read_ms=$(field "$f" BM_ReadLargestMap real_time)
row "parse of a 25 x 16 map" "$(printf %.1f "$parse") ms" "$(printf %.1f "$read_ms") ms (read)" "$(ratio "$parse" "$read_ms")" "report" "-"

# Frame folders.
f=$(bench frames "$build/bench/frame_load_bench")
load=$(field "$f" BM_LoadFrameSequence real_time)
cat_ms=$(field "$f" BM_CatTheSameFiles real_time)
r=$(ratio "$load" "$cat_ms")
row "frame folder, 200 DXT frames" "$(printf %.1f "$load") ms" "$(printf %.1f "$cat_ms") ms (cat)" "$r" "<= 1.5x" "$(verdict "$r" 1.5 "<=")"

# Mixer: cost as a share of a core, and the time of cSND calls while three tracks play.
f=$(bench mixer "$build/bench/mixer_bench")
share=$(field "$f" BM_Mix32Streams_3StreamedMp3 core_share_pct)
row "mixer, 32 streams (3 MP3)" "$(printf %.2f "$share") % of a core" "-" "-" "< 2 %" "$(verdict "$share" 2 "<=")"
hold=$(field "$f" BM_FrameStepHoldsTheLock64Streams real_time)
row "mixer lock held by the frame's step, 64 streams" "$(printf %.2f "$hold") µs" "-" "-" "report" "-"
f=$(bench calls "$build/bench/sound_call_bench")
p999=$(field "$f" BM_SoundCallsWhileThreeTracksPlay p99.9_us)
p50=$(field "$f" BM_SoundCallsWhileThreeTracksPlay p50_us)
row "cSND call while 3 tracks play, p99.9" "$(printf %.2f "$p999") µs" "p50 $(printf %.2f "$p50") µs" "-" "<= 20 µs" "$(verdict "$p999" 20 "<=")"

# Opening music on the thread that asks for it.
f=$(bench open "$build/bench/sound_open_bench")
tagless=$(field "$f" BM_OpenFiveMinuteMp3WithoutTag real_time)
tagged=$(field "$f" BM_OpenFiveMinuteMp3WithLameTag real_time)
row "open a 5-minute MP3 without a tag" "$(printf %.1f "$tagless") ms" "$(printf %.1f "$tagged") ms (with a LAME tag)" "$(ratio "$tagless" "$tagged")" "report" "-"

# Peak resident memory of a headless run into the level and 10 s of play.
printf '10 key down Space\n12 key up Space\n20 mouse move 385 207\n22 mouse down left\n24 mouse up left\n100 key down Right\n900 key up Right\n' >"$work/in.txt"
/usr/bin/time -f "%M" -o "$work/peak.time" "$build/morva" --headless --frames 1100 --frame-ms 10 \
  --root "$root" --input "$work/in.txt" --config "$work/config.dat" >/dev/null 2>&1
peak=$(awk '{printf "%.1f", $1 / 1024}' "$work/peak.time")
row "peak memory, headless run into the level" "$peak MiB" "-" "-" "<= 32 MB" "$(verdict "$peak" 30.52 "<=")"

# Peak resident memory of a windowed run into the level (400 frames under Xvfb, dummy sound) beside
# the minimal GL window; on llvmpipe the driver's copies of the textures count in the game's.
"${xvfb[@]}" bash -c "/usr/bin/time -f %M -o '$work/window.time' '$build/morva' --windowed --frames 400 \
  --frame-ms 10 --root '$root' --input '$work/in.txt' --config '$work/config.dat' >/dev/null 2>&1;
  /usr/bin/time -f %M -o '$work/minimal.time' '$build/bench/min_gl_window' >/dev/null 2>&1;
  /usr/bin/time -f %M -o '$work/picture.time' '$build/bench/first_picture' \
    '$root/data/intro/0.dxt' >/dev/null 2>&1"
window_mb=$(awk '{printf "%.1f", $1 / 1000}' "$work/window.time")
minimal_mb=$(awk '{printf "%.1f", $1 / 1000}' "$work/minimal.time")
extra=$(awk -v a="$window_mb" -v b="$minimal_mb" 'BEGIN {printf "%.1f", a - b}')
row "peak memory, windowed run into the level" "$window_mb MB" "$minimal_mb MB (minimal GL window)" "+$extra MB" "<= +32 MB" "$(verdict "$extra" 32 "<=")"
# The same beside the program that draws the game's first picture: what any textured drawing
# costs the driver (its shader compiler) is in both.
picture_mb=$(awk '{printf "%.1f", $1 / 1000}' "$work/picture.time")
extra=$(awk -v a="$window_mb" -v b="$picture_mb" 'BEGIN {printf "%.1f", a - b}')
row "peak memory, windowed run vs the same first picture" "$window_mb MB" "$picture_mb MB (same first picture)" "+$extra MB" "report" "-"

# Content build.
start=$(date +%s.%N)
"$build/tools/mkcontent" "$work/content" >/dev/null 2>&1
took=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN {printf "%.1f", e - s}')
row "content build (mkcontent)" "$took s" "-" "-" "< 60 s" "$(verdict "$took" 60 "<=")"

echo "| benchmark | figure | reference | ratio | goal | |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
