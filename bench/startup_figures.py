#!/usr/bin/env python3
"""Measures Quarrow's start-up, memory and CPU at rest under Xvfb, the way a player meets them.

    startup_figures.py BUILD_DIR [--runs N]

For each run, with an empty user folder: the time from exec to the first state-file write of
the loading screen (the first frame follows within one update), and to "Click To Continue";
then, after a new player, the CPU share of one core over 10 s at rest in the main menu and on
the game screen of One-Side level 1, and the resident memory there. The CPU shares are taken
once more in a second start without the test-state file, as a player runs the game, clicking
where the first start's state file showed the controls; its screenshots are kept in
BUILD_DIR/e2e-shots. Prints a table of the medians and each run's figures.
"""

import argparse
import os
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "e2e"))
from play_game import (DIALOG_HOW_TO_PLAY, DIALOG_NAME_ENTRY, Harness,  # noqa: E402
                       START_TIMEOUT, centre)

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def resident_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def cpu_at_rest(pid, seconds=10.0):
    before, started = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - before) / (time.monotonic() - started)


def wait_state(game, predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            with open(game.statePath) as f:
                text = f.read()
        except FileNotFoundError:
            text = ""
        if predicate(text):
            return time.monotonic()
        time.sleep(0.005)
    raise RuntimeError("timed out")


def one_run(harness, index):
    home = os.path.join(harness.temp, "home-%d" % index)
    started = time.monotonic()
    game = harness.game("run-%d" % index, [], home=home)
    loading = wait_state(game, lambda t: "screen loading" in t, START_TIMEOUT) - started
    ready = wait_state(game, lambda t: "Click To Continue" in t, START_TIMEOUT) - started
    game.find_window()
    link = centre(game.wait_button("Click To Continue")["rect"])
    game.click_button("Click To Continue")
    game.wait_dialog(DIALOG_NAME_ENTRY)
    game.type_name("Figures")
    game.click_button("Ok")
    game.wait_for("the main menu", lambda s: s.screen == "menu" and not s.dialogs, 20)
    time.sleep(2.0)
    pid = game.process.pid
    menuCpu = cpu_at_rest(pid)
    oneSide = centre(game.wait_button("One Side Solitaire")["rect"])
    game.click_button("One Side Solitaire")
    current = game.wait_for("the game", lambda s: s.screen == "game", 20)
    current = game.wait_rest()
    if DIALOG_HOW_TO_PLAY in current.dialogs:
        game.click_button("Close")
        game.wait_no_dialog(DIALOG_HOW_TO_PLAY)
    game.wait_rest()
    time.sleep(2.0)
    gameCpu = cpu_at_rest(pid)
    memory = resident_mb(pid)
    harness.end(game)
    playerMenuCpu, playerGameCpu = player_run(harness, index, home, link, oneSide,
                                              game.dialog_button("how_to_play_close"))
    return {"loading": loading, "ready": ready, "menuCpu": menuCpu, "gameCpu": gameCpu,
            "memory": memory, "playerMenuCpu": playerMenuCpu, "playerGameCpu": playerGameCpu}


def player_run(harness, index, home, link, oneSide, closeHowToPlay):
    """The CPU shares at rest of a start without the test-state file, in the folder of the
    first start (so the player is known): the menu, then One-Side level 1 (which opens with
    how to play, as the player has not finished it)."""
    # The first start saved its game when it was closed; without it the mode starts afresh.
    shutil.rmtree(os.path.join(home, "saves"), ignore_errors=True)
    game = harness.game("player-%d" % index, [], home=home, stateFile=False)
    game.find_window()
    time.sleep(3.0)
    game.click(*link, why="Click To Continue")
    time.sleep(3.0)
    pid = game.process.pid
    menuCpu = cpu_at_rest(pid)
    game.screenshot("figures-player-menu-%d" % index)
    game.click(*oneSide, why="One Side Solitaire")
    time.sleep(3.0)
    game.click(*closeHowToPlay, why="how-to-play Close")
    time.sleep(4.0)
    gameCpu = cpu_at_rest(pid)
    game.screenshot("figures-player-game-%d" % index)
    harness.end(game)
    return menuCpu, gameCpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=3)
    options = parser.parse_args()
    harness = Harness(options.build, False, False)
    os.makedirs(harness.shots, exist_ok=True)
    runs = []
    try:
        harness.start_display()
        for index in range(options.runs):
            runs.append(one_run(harness, index))
            print("run %d: %s" % (index + 1, ", ".join("%s %.2f" % kv for kv in
                                                        runs[-1].items())), flush=True)
    finally:
        harness.stop()
    rows = [("exec to the loading screen", "loading", "s", "0.5"),
            ("exec to \"Click To Continue\"", "ready", "s", "1.5"),
            ("resident memory in play", "memory", "MB", "80"),
            ("CPU at rest, main menu", "menuCpu", "% of a core", "1"),
            ("CPU at rest, game screen", "gameCpu", "% of a core", "15"),
            ("CPU at rest, main menu, no state file", "playerMenuCpu", "% of a core", "1"),
            ("CPU at rest, game screen, no state file", "playerGameCpu", "% of a core", "15")]
    print("| figure | median of %d | target |" % len(runs))
    print("|---|---|---|")
    for label, key, unit, target in rows:
        print("| %s | %.2f %s | %s %s |" % (label, statistics.median(r[key] for r in runs), unit,
                                           target, unit))
    return 0


if __name__ == "__main__":
    sys.exit(main())
