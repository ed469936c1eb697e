#!/usr/bin/env python3
"""Content fault sweep: every file of a content tree removed, cut to half its length, and
overwritten with random bytes of the same length, one at a time, each in a headless run of the
game from the intro through the menu into the level, 10 s of scripted play and Escape.

A run passes when it ends by itself (no signal, no hang) with status 0 or 3, writes the state
dump, and, for a file the game opens (found by tracing an unharmed run), names that file in the
dump's messages. Prints a table of outcomes; exits 1 when any run failed.

  tools/sweep/fault_sweep.py --binary build/morva --content build/content [--only SUBSTRING]
"""
import argparse
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

# Intro ends on a key; Start is the second menu button; then walk, attack and jump through 10 s
# of the level (10 ms steps) and pause with Escape.
PLAY_START = 40
PLAY_FRAMES = 1000


def make_script():
    lines = ["10 key down Space", "12 key up Space", "20 mouse move 385 207",
             "22 mouse down left", "24 mouse up left"]
    keys = ["Right", "Right", "Left", "Up", "Down", "Z", "X", "C", "Left Ctrl", "Space"]
    rnd = random.Random(3)
    frame = PLAY_START
    while frame < PLAY_START + PLAY_FRAMES - 30:
        key = rnd.choice(keys)
        hold = rnd.randint(2, 40)
        lines.append(f"{frame} key down {key}")
        lines.append(f"{frame + hold} key up {key}")
        frame += rnd.randint(3, 25)
    end = PLAY_START + PLAY_FRAMES
    lines += [f"{end} key down Escape", f"{end + 2} key up Escape"]
    return "\n".join(lines) + "\n", end + 20


def game_name(rel):
    return rel.replace("\\", "/").lower()


def names_file(messages, rel):
    wanted = game_name(rel)
    for m in messages:
        if wanted in game_name(m.get("text", "")) or wanted in game_name(m.get("caption", "")):
            return True
    return False


def run_game(args, root, work, frames, trace=None):
    dump = os.path.join(work, "state.json")
    if os.path.exists(dump):
        os.remove(dump)
    cmd = [os.path.abspath(args.binary), "--headless", "--frames", str(frames), "--frame-ms", "10",
           "--seed", "7", "--root", root, "--input", "in.txt", "--dump-state", "state.json",
           "--config", os.path.join(work, "config.dat")]
    if trace:
        cmd = ["strace", "-f", "-qq", "-e", "trace=open,openat", "-o", trace] + cmd
    try:
        proc = subprocess.run(cmd, cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              timeout=args.timeout)
    except subprocess.TimeoutExpired:
        return "hang", None
    status = proc.returncode
    state = None
    if os.path.exists(dump):
        try:
            with open(dump, encoding="utf-8") as f:
                state = json.load(f)
        except ValueError:
            state = "unreadable"
    return status, state


def opened_files(trace, root):
    opened = set()
    prefix = os.path.realpath(root) + "/"
    with open(trace, encoding="utf-8", errors="replace") as f:
        for line in f:
            start = line.find('"')
            end = line.find('"', start + 1)
            if start < 0 or end < 0:
                continue
            path = os.path.realpath(line[start + 1:end])
            if path.startswith(prefix):
                opened.add(path[len(prefix):])
    return opened


def damage(path, mode, rnd):
    if mode == "removed":
        os.remove(path)
        return
    size = os.path.getsize(path)
    if mode == "cut":
        with open(path, "r+b") as f:
            f.truncate(size // 2)
    else:
        with open(path, "wb") as f:
            f.write(bytes(rnd.getrandbits(8) for _ in range(size)))


def judge(status, state, opened):
    if status == "hang":
        return False, "hang"
    if status < 0:
        return False, f"signal {-status}"
    if status not in (0, 3):
        return False, f"exit {status}"
    if not isinstance(state, dict):
        return False, f"exit {status}, no dump"
    if opened is not None and not opened:
        return False, f"exit {status}, not named"
    return True, f"exit {status}" + (", named" if opened else "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--binary", required=True)
    parser.add_argument("--content", required=True)
    parser.add_argument("--only", default="")
    parser.add_argument("--timeout", type=float, default=180)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    script, frames = make_script()
    top = tempfile.mkdtemp(prefix="morva_sweep_")
    root = os.path.join(top, "content")
    work = os.path.join(top, "run")
    os.makedirs(work)
    shutil.copytree(args.content, root, symlinks=True)
    with open(os.path.join(work, "in.txt"), "w") as f:
        f.write(script)

    trace = os.path.join(top, "trace.txt")
    status, state = run_game(args, root, work, frames, trace)
    ok, what = judge(status, state, None)
    if not ok or status != 0:
        print(f"the unharmed content does not run cleanly: {what}")
        return 1
    opened = opened_files(trace, root)
    files = sorted(os.path.relpath(os.path.join(d, n), root)
                   for d, _, names in os.walk(root) for n in names)
    files = [f for f in files if args.only in f]
    rnd = random.Random(args.seed)

    failures = 0
    counts = {}
    print(f"| file | opened | removed | cut | garbled |")
    print(f"|---|---|---|---|---|")
    for rel in files:
        path = os.path.join(root, rel)
        original = os.path.join(args.content, rel)
        cells = []
        for mode in ("removed", "cut", "garbled"):
            damage(path, mode, rnd)
            status, state = run_game(args, root, work, frames)
            shutil.copy2(original, path)
            named = None
            if rel in opened:
                named = isinstance(state, dict) and names_file(state.get("messages", []), rel)
            ok, what = judge(status, state, named)
            failures += 0 if ok else 1
            cells.append(what if ok else f"**FAIL: {what}**")
            counts[(mode, what if ok else "FAIL " + what)] = \
                counts.get((mode, what if ok else "FAIL " + what), 0) + 1
        print(f"| {rel} | {'yes' if rel in opened else 'no'} | " + " | ".join(cells) + " |",
              flush=True)
    print()
    print("| fault | outcome | files |")
    print("|---|---|---|")
    for (mode, what), n in sorted(counts.items()):
        print(f"| {mode} | {what} | {n} |")
    print(f"\n{len(files)} files, {3 * len(files)} runs, {failures} failed")
    shutil.rmtree(top)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
