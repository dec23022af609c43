#!/usr/bin/env python3
"""Builds a small level in Quarrow's level editor end to end: the real executable in a window
on a private Xvfb display, driven by xdotool, watched through the test-state file.

    edit_level.py BUILD_DIR [--keep-temp] [--quiet]

On One-Side level 1: Ctrl+Alt+D and F3 open the editor on the level's layout; every stone is
deleted by a left click; four stones are placed on layer 0 and two on layer 1; one gets lock
0 ('q') and another key 0 ('a'); F2, a name and Enter save the level into the user folder.
`quarrow-levels dump` must list exactly those six stones with the lock and the key, and
`quarrow-levels play` must win the level. A screenshot of the editor is kept in
BUILD_DIR/e2e-shots/.

Exit status: 0 when it passed, 1 on a failure, 77 when Xvfb or xdotool is missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import play_game  # noqa: E402
from play_game import DIALOG_HOW_TO_PLAY, Failure, Harness, read_text  # noqa: E402

DIALOG_SAVE_LEVEL = 1006
LEVEL_NAME = "edited.xml"
# Where the new stones go: (layer, x, y) in screen pixels, inside the level's grid (which
# starts at the level's shift, 267 202 for One-Side level 1).
PLACES = [(0, 340, 260), (0, 440, 260), (0, 540, 260), (0, 640, 260),
          (1, 440, 340), (1, 540, 340)]


def editor_of(state):
    """The editor line as a dict, or None outside the editor."""
    for raw in state.text.splitlines():
        parts = raw.split()
        if parts and parts[0] == "editor":
            return dict(zip(parts[1::2], parts[2::2]))
    return None


def editor_stones(state):
    """(layer, (x, y, w, h), lock, key) of every stone the editor lists."""
    stones = []
    for raw in state.text.splitlines():
        parts = raw.split()
        if parts and parts[0] == "estone":
            layer, x, y, w, h, lock, key = (int(v) for v in parts[1:8])
            stones.append((layer, (x, y, w, h), lock, key))
    return stones


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


def open_editor(game):
    """Ctrl+Alt+D, then F3; the debug keys are asked for again when F3 found them off."""
    for attempt in range(3):
        game.key("ctrl+alt+d")
        time.sleep(0.3)
        game.key("F3")
        try:
            game.wait_for("the editor", lambda s: editor_of(s) is not None, 3)
            return
        except Failure:
            game.say("no editor after attempt %d" % (attempt + 1))
    game.fail("Ctrl+Alt+D and F3 did not open the editor")


def change_layer(game, wanted):
    current = int(editor_of(game.state())["layer"])
    while current != wanted:
        game.key("Page_Up" if wanted > current else "Page_Down")
        target = current + (1 if wanted > current else -1)
        game.wait_for("editor layer %d" % target,
                      lambda s: editor_of(s) and int(editor_of(s)["layer"]) == target, 5)
        current = target


def clear_field(game):
    """Deletes every stone, layer by layer from the top."""
    layers = {stone[0] for stone in editor_stones(game.state())}
    for layer in sorted(layers, reverse=True):
        change_layer(game, layer)
        while True:
            mine = [s for s in editor_stones(game.state()) if s[0] == layer]
            if not mine:
                break
            count = len(editor_stones(game.state()))
            x, y = centre(mine[0][1])
            game.move(x, y)
            time.sleep(0.1)
            game.click(x, y, "delete the stone on layer %d" % layer)
            game.wait_for("one stone fewer", lambda s: len(editor_stones(s)) == count - 1, 5)
    change_layer(game, 0)


def place_stones(game):
    for layer, x, y in PLACES:
        change_layer(game, layer)
        count = len(editor_stones(game.state()))
        game.move(x, y)
        time.sleep(0.1)
        game.click(x, y, "place a stone on layer %d" % layer)
        game.wait_for("one stone more", lambda s: len(editor_stones(s)) == count + 1, 5)


def toggle_on_stone(game, stone, character, check):
    x, y = centre(stone[1])
    change_layer(game, stone[0])
    game.move(x, y)
    time.sleep(0.2)
    game.xdo("type", character)
    game.wait_for("'%s' on the stone at (%d, %d)" % (character, x, y),
                  lambda s: any(check(e) for e in editor_stones(s)), 5)


def dump_stones(harness, path):
    result = subprocess.run([os.path.join(harness.build, "quarrow-levels"), "dump", path],
                            capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise Failure("quarrow-levels dump failed: " + result.stderr)
    stones = []
    for raw in result.stdout.splitlines():
        parts = raw.split()
        if parts and parts[0] == "stone":
            layer, x, y, orientation, joker, lock, key = (int(v) for v in parts[1:8])
            stones.append({"layer": layer, "lock": lock, "key": key})
    return stones, result.stdout


def run(harness):
    home = os.path.join(harness.temp, "editor-home")
    game = harness.game("editor", ["--play=one:1"], home=home)
    current = game.start()
    if DIALOG_HOW_TO_PLAY in current.dialogs:
        game.close_how_to_play()
    game.wait_rest()
    open_editor(game)
    game.say("the editor holds %d stones" % len(editor_stones(game.state())))
    clear_field(game)
    place_stones(game)
    stones = editor_stones(game.state())
    bottom = [s for s in stones if s[0] == 0]
    top = [s for s in stones if s[0] == 1]
    if len(bottom) != 4 or len(top) != 2:
        game.fail("expected 4 stones on layer 0 and 2 on layer 1, the editor lists %s" % stones)
    # Lock 0 on a bottom stone that nothing covers, its key on a top stone.
    locked = bottom[0]
    toggle_on_stone(game, locked, "q", lambda e: e[1] == locked[1] and e[2] == 0)
    keyed = top[0]
    toggle_on_stone(game, keyed, "a", lambda e: e[1] == keyed[1] and e[3] == 0)
    game.screenshot("30-editor")

    game.key("F2")
    game.wait_dialog(DIALOG_SAVE_LEVEL)
    game.type_name(LEVEL_NAME)
    game.key("Return")
    game.wait_no_dialog(DIALOG_SAVE_LEVEL)
    saved = os.path.join(home, LEVEL_NAME)
    deadline = time.monotonic() + 10
    while not os.path.isfile(saved) and time.monotonic() < deadline:
        time.sleep(0.1)
    if not os.path.isfile(saved):
        game.fail("F2 wrote no " + saved)
    shutil.copy(saved, os.path.join(harness.shots, "editor-" + LEVEL_NAME))
    harness.end(game)

    listed, dump = dump_stones(harness, saved)
    print(dump, flush=True)
    layers = sorted(s["layer"] for s in listed)
    locks = [s["lock"] for s in listed if s["lock"] >= 0]
    keys = [s["key"] for s in listed if s["key"] >= 0]
    if layers != [0, 0, 0, 0, 1, 1] or locks != [0] or keys != [0]:
        raise Failure("the saved level holds other stones than those placed:\n" + dump)
    result = subprocess.run([os.path.join(harness.build, "quarrow-levels"), "play", saved,
                             "--mode", "one", "--games", "3"],
                            capture_output=True, text=True, timeout=300)
    print(result.stdout, flush=True)
    if result.returncode != 0 or " won " not in result.stdout:
        raise Failure("quarrow-levels play did not win the saved level:\n" + result.stdout +
                      result.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--keep-temp", action="store_true")
    parser.add_argument("--quiet", action="store_true")
    options = parser.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("SKIP: %s is not installed" % tool)
            return play_game.SKIP
    harness = Harness(options.build, not options.quiet, options.keep_temp)
    os.makedirs(harness.shots, exist_ok=True)
    status = 0
    try:
        harness.start_display()
        run(harness)
    except Failure as error:
        status = 1
        print("FAIL: %s" % error)
        harness.capture_display()
        for game in harness.games:
            print("--- last state of %s ---\n%s" % (game.name, read_text(game.statePath)))
            print("--- move log of %s ---\n%s" % (game.name, "\n".join(game.log[-40:])))
    finally:
        harness.stop()
    print("%s after %.1f s" % ("PASS" if status == 0 else "FAIL",
                               time.monotonic() - harness.started))
    return status


if __name__ == "__main__":
    sys.exit(main())
