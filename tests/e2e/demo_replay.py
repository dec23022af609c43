#!/usr/bin/env python3
"""Records a session of Quarrow as a demo and replays it: the real executable in a real window
on a private Xvfb display, driven by xdotool, then played back from the demo file.

    demo_replay.py BUILD_DIR [--keep-temp] [--quiet]
    demo_replay.py BUILD_DIR --make MODE OUT_DIR

The session: a new player, the main menu, One-Side level 1 played to its end, the map, the
main menu again, exit. It is replayed twice with the dummy drivers (straight to the end,
without drawing) and once under Xvfb at its own speed. Each replay must end in the recording's
final state (the test-state file), write the same players file (collected through
QUARROW_REPLAY_FILES) and leave the same last frame (QUARROW_FINAL_FRAME, compared byte for
byte), and no file of the user folder may change.

--make records a longer session of MODE ("one" or "two": the first --levels levels played in
turn, 6 by default) and writes MODE-side.dmo, MODE-side.state and the players file
MODE-side.players to OUT_DIR, the regression demos of tests/data/demos.

Exit status: 0 when it passed, 1 on a failure, 77 when Xvfb or xdotool is missing.
"""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import play_game  # noqa: E402
from play_game import (DIALOG_CONFIRMATION, DIALOG_HIGHSCORES, DIALOG_HOW_TO_PLAY, DIALOG_LEVEL_COMPLETE, DIALOG_NAME_ENTRY,  # noqa: E402
                       START_TIMEOUT, Failure, Harness, one_side_greedy, read_text,
                       two_side_greedy)

REPLAY_TIMEOUT = 600


def folder_snapshot(folder):
    """Every file below `folder` with the hash of its bytes."""
    snapshot = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                snapshot[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return snapshot


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


class DemoSession:
    def __init__(self, harness):
        self.harness = harness
        self.temp = harness.temp

    def record(self, name, demo, drive):
        """Runs the game with -record and `drive(game)`; returns the recording's home, its
        state file and its last frame."""
        home = os.path.join(self.temp, name + "-home")
        final = os.path.join(self.temp, name + "-final.png")
        os.environ["QUARROW_FINAL_FRAME"] = final
        try:
            game = self.harness.game(name, ["-record", "-demofile=" + demo], home=home)
        finally:
            del os.environ["QUARROW_FINAL_FRAME"]
        drive(game)
        game.wait_exit(30)
        if game.process.returncode != 0:
            game.fail("the recording ended with status %d" % game.process.returncode)
        self.harness.end(game)
        if not os.path.isfile(demo):
            raise Failure("the recording wrote no demo file " + demo)
        print("recorded %s: %d bytes" % (demo, os.path.getsize(demo)), flush=True)
        return home, game.statePath, final

    def replay(self, name, demo, home, onDisplay):
        """Plays the demo back with the recording's user folder; returns the state file, the
        last frame and the folder the replay's own writes went to."""
        folder = os.path.join(self.temp, name)
        os.makedirs(folder)
        state = os.path.join(folder, "state")
        final = os.path.join(folder, "final.png")
        written = os.path.join(folder, "written")
        env = dict(os.environ)
        env.update({"QUARROW_HOME": home, "QUARROW_TEST_STATE": state,
                    "QUARROW_FINAL_FRAME": final, "QUARROW_REPLAY_FILES": written,
                    "SDL_AUDIODRIVER": "dummy"})
        args = [self.harness.executable, "-play", "-demofile=" + demo]
        if onDisplay:
            env["DISPLAY"] = self.harness.display
            env.pop("SDL_VIDEODRIVER", None)
            args.append("--windowed")
        else:
            env["SDL_VIDEODRIVER"] = "dummy"
            args.append("--demo-to-end")
        started = time.monotonic()
        with open(os.path.join(folder, "game.log"), "wb") as log:
            process = subprocess.Popen(args, cwd=folder, env=env, stdout=log,
                                       stderr=subprocess.STDOUT)
            if onDisplay:
                self.watch(process, state, folder)
            try:
                process.wait(REPLAY_TIMEOUT)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise Failure("%s: the replay did not end within %d s" % (name, REPLAY_TIMEOUT))
        print("%s: ended with status %d after %.1f s" % (name, process.returncode,
                                                           time.monotonic() - started), flush=True)
        said = read_text(os.path.join(folder, "game.log"))
        if "out of step" in said:
            raise Failure("%s: the replay went out of step with the recording:\n%s" %
                          (name, said[-2000:]))
        if process.returncode != 0:
            raise Failure("%s: the replay ended with status %d:\n%s" %
                          (name, process.returncode,
                           read_text(os.path.join(folder, "game.log"))[-2000:]))
        return state, final, written

    def watch(self, process, state, folder):
        """Takes a picture of the display once the replay reaches the game screen."""
        deadline = time.monotonic() + START_TIMEOUT * 2
        while time.monotonic() < deadline and process.poll() is None:
            if "screen game" in read_text(state):
                time.sleep(3.0)
                shot = os.path.join(self.harness.shots, "replay-game.png")
                subprocess.run(["import", "-window", "root", shot],
                               env={**os.environ, "DISPLAY": self.harness.display},
                               capture_output=True, timeout=30)
                print("replay picture: " + shot, flush=True)
                return
            time.sleep(0.1)

    def compare(self, name, recorded, replayed):
        recState, recFinal, recHome = recorded
        state, final, written = replayed
        if read_text(state) != read_text(recState):
            raise Failure("%s: the final state differs from the recording's:\n%s\n--- recorded "
                          "---\n%s" % (name, read_text(state), read_text(recState)))
        if not os.path.isfile(final) or not same_bytes(final, recFinal):
            raise Failure("%s: the last frame differs from the recording's (%s, %s)" %
                          (name, final, recFinal))
        players = os.path.join(written, "players.dat")
        if not os.path.isfile(players) or \
                not same_bytes(players, os.path.join(recHome, "players.dat")):
            raise Failure("%s: the players file the replay wrote differs from the recording's"
                          % name)
        print("%s: same final state, last frame and players file" % name, flush=True)


def drive_first_player(game):
    game.wait_for("the loading screen", lambda s: s.screen == "loading", START_TIMEOUT)
    game.find_window()
    game.click_button("Click To Continue", START_TIMEOUT)
    game.wait_dialog(DIALOG_NAME_ENTRY)
    game.wait_button("Ok")
    game.type_name("Demo")
    game.click_button("Ok")
    game.wait_for("the main menu", lambda s: s.screen == "menu" and s.player == "Demo" and
                  not s.dialogs, 20)


def play_levels(game, strategy, count):
    """Plays `count` levels from the current one, leaving each through the map."""
    for index in range(count):
        current = game.wait_rest()
        if DIALOG_HOW_TO_PLAY in current.dialogs:
            game.click_button("Close")
            game.wait_no_dialog(DIALOG_HOW_TO_PLAY)
        final = game.play_level(strategy)
        x, y = game.level_complete_button()
        if not game.close_dialog(DIALOG_LEVEL_COMPLETE,
                                 [("Play Next", lambda: game.click(x, y, "Play Next"))]):
            game.fail("the level-complete dialog did not close on its button")
        game.wait_for("the level map", lambda s: s.screen == "map", 10.0)
        time.sleep(2.0)
        if index + 1 < count:
            game.click_button("Play")
            game.wait_for("the next level", lambda s: s.screen == "game" and
                          s.level == final.level + 1, 10.0)


def drive_session(mode, levels):
    def drive(game):
        drive_first_player(game)
        if mode == "one":
            game.click_button("One Side Solitaire")
        else:
            game.click_button("Two Side Solitaire")
        game.wait_for("the game", lambda s: s.screen == "game", 20)
        play_levels(game, one_side_greedy if mode == "one" else two_side_greedy, levels)
        game.click_button("Main Menu")
        current = game.wait_for("the main menu or its question", lambda s: DIALOG_CONFIRMATION
                                in s.dialogs or (s.screen == "menu" and not s.dialogs), 20)
        if DIALOG_CONFIRMATION in current.dialogs:
            game.click_button("YES")
        current = game.wait_for("the main menu", lambda s: s.screen == "menu" and
                                DIALOG_CONFIRMATION not in s.dialogs, 20)
        if DIALOG_NAME_ENTRY in current.dialogs:
            # The score earned a highscore: the name is asked for, then the table shown.
            game.wait_dialog(DIALOG_HIGHSCORES)
            game.click_button("Ok")
            game.wait_no_dialog(DIALOG_NAME_ENTRY)
            game.click_button("Ok")
        game.wait_for("the main menu", lambda s: s.screen == "menu" and not s.dialogs, 20)
        game.click_button("Exit")
    return drive


def run_test(harness):
    session = DemoSession(harness)
    demo = os.path.join(harness.temp, "session.dmo")
    recHome, recState, recFinal = session.record("record", demo, drive_session("one", 1))
    before = folder_snapshot(recHome)
    recorded = (recState, recFinal, recHome)
    for index in (1, 2):
        replayed = session.replay("replay-dummy-%d" % index, demo, recHome, onDisplay=False)
        session.compare("replay-dummy-%d" % index, recorded, replayed)
    replayed = session.replay("replay-xvfb", demo, recHome, onDisplay=True)
    session.compare("replay-xvfb", recorded, replayed)
    if folder_snapshot(recHome) != before:
        raise Failure("the replays changed files of the user folder")
    shutil.copy(recFinal, os.path.join(harness.shots, "replay-last-frame.png"))
    print("the user folder is unchanged after three replays", flush=True)


def make_demo(harness, mode, outDir, levels):
    session = DemoSession(harness)
    demo = os.path.join(outDir, "%s-side.dmo" % mode)
    home, state, _ = session.record("make-" + mode, demo, drive_session(mode, levels))
    shutil.copy(state, os.path.join(outDir, "%s-side.state" % mode))
    shutil.copy(os.path.join(home, "players.dat"), os.path.join(outDir, "%s-side.players" % mode))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--make", nargs=2, metavar=("MODE", "OUT_DIR"))
    parser.add_argument("--levels", type=int, default=6,
                        help="levels played in a session made with --make")
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
        if options.make:
            make_demo(harness, options.make[0], os.path.abspath(options.make[1]),
                      options.levels)
        else:
            run_test(harness)
    except Failure as error:
        status = 1
        print("FAIL: %s" % error)
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
