#!/usr/bin/env bash
# Makes the seed corpora in tests/fuzz/corpus/ from a built content tree and small hand-made files.
# Run once by hand (the seeds are kept in the repository); usage: make_seeds.sh CONTENT_DIR
set -euo pipefail
content=${1:?usage: make_seeds.sh CONTENT_DIR}
cd "$(dirname "$0")"
c=corpus
mkdir -p $c/{texture_container,targa,jpeg,level_map,character_record,character_play,config,input_script}
mkdir -p $c/{level_source,sound}

cp "$content/data/items/life.dxt" $c/texture_container/seed_life.dxt
python3 - <<'PY'
import struct, os
c = "corpus"
def w(path, data):
    with open(path, "wb") as f: f.write(data)
# Containers: 4x4 in each S3TC format with exactly the data it needs, and an unknown format.
for fmt, size in ((0x83F0, 8), (0x83F1, 8), (0x83F2, 16), (0x83F3, 16), (0x1908, 64)):
    w(f"{c}/texture_container/seed_{fmt:x}", struct.pack("<4i", size, fmt, 4, 4) + bytes(range(size)))
# Targa: 3x2 at 32 bits bottom first, 24 bits top first, and one with an image ID and colour map.
def tga(bits, desc, idlen=0, cmap=(0, 0, 0)):
    hdr = struct.pack("<BBBHHBHHHHBB", idlen, 1 if cmap[1] else 0, 2, cmap[0], cmap[1], cmap[2],
                      0, 0, 3, 2, bits, desc)
    return hdr + b"I" * idlen + b"\x10" * (cmap[1] * cmap[2] // 8) + bytes(range(3 * 2 * bits // 8))
w(f"{c}/targa/seed_32", tga(32, 8))
w(f"{c}/targa/seed_24_top", tga(24, 0x20))
w(f"{c}/targa/seed_id_cmap", tga(32, 8, 5, (0, 4, 24)))
# Level map: one screen, a floor, a player and a guard, one item.
cells = [0] * (80 * 60)
for cx in range(80): cells[cx * 60 + 59] = 1
for cx in range(20, 30): cells[cx * 60 + 40] = 2
vals = [1, 1] + cells + [2, 0, 2, 0, 1, 100, 500, 300, 500, 1, 1, 400, 400]
w(f"{c}/level_map/seed_one_screen", struct.pack(f"<{len(vals)}f", *vals))
# The value run that once left an unchecked width behind a height of 0.
w(f"{c}/level_map/zero_height_leaves_width", bytes.fromhex("014d014d000080b9"))
# Settings: a first run's, and every byte set.
w(f"{c}/config/seed_defaults", bytes([30, 30, 255, 0, 255, 255, 255, 255, 1, 0, 0, 0]))
w(f"{c}/config/seed_all_set", bytes(range(1, 13)))
w(f"{c}/config/seed_short", bytes([1, 2, 3]))
PY

for f in lifebar.jpg lifebarb.jpg; do cp "$content/data/hud/$f" $c/jpeg/seed_$f; done
convert -size 16x8 gradient:red-blue -interlace JPEG -quality 50 $c/jpeg/seed_progressive.jpg
convert -size 8x8 gradient: -colorspace Gray $c/jpeg/seed_gray.jpg

cp "$content/data/chars/ravik.pud" $c/character_record/seed_ravik
cp "$content/data/chars/golam.pud" $c/character_record/seed_golem
# A definition played: the byte after the record picks the kind it stands in for (0 player,
# 1 sentinel, 2 guard, 3 golem), the bytes after it are held keys (bits: up, down, left, right,
# attacks 1 to 4), each for 8 frames.
play() { { cat "$content/data/chars/$1.pud"; printf "$3"; } >$c/character_play/$2; }
play ravik seed_ravik_as_player '\x00'
play golam seed_golem_as_golem '\x03'
play ravik seed_ravik_as_guard_walking_left '\x02\x04\x14\x04\x24\x01\x44'
play golam seed_golem_as_sentinel '\x01\x08\x18\x08\x88\x03\x10'
play golam seed_golem_as_player '\x00'

cp ../../scripts/demo.script $c/input_script/seed_demo
cat > $c/input_script/seed_every_kind <<'S'
0 seed 7
0 clock measured
1 key down Left
2 key up Left
3 text a
4 mouse move 10 20
5 mouse down right
6 mouse up middle
7 joy axis x -32768
8 joy button 3 down
9 pad axis y 100
10 pad button 1 up
11 focus lost
12 focus gained
13 step 0.5
14 measure 60
15 quit
S

cat > $c/level_source/seed_small <<'S'
# one screen
screens 1 1
cell 100
grid
########
#......#
#..==..#
#.t.c..#
#.b..w.#
########
end
player awake 150 400
guard behind 300 400
sentinel never 500 200
golem awake 600 400
item life 200 300
item power 400 300
S

cp "$content/data/sounds/gui/button0.wav" $c/sound/seed_button.wav
sox -n -r 22050 -c 1 -b 16 /tmp/seed_tone.wav synth 0.05 sine 440
lame --quiet -b 32 /tmp/seed_tone.wav $c/sound/seed_tone.mp3
sox -n -r 8000 -c 2 -b 8 $c/sound/seed_stereo8.wav synth 0.02 square 300
rm -f /tmp/seed_tone.wav
