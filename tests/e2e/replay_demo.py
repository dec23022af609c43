#!/usr/bin/env python3
"""Replays a committed demo with the dummy drivers, straight to its end, and compares the
final test state and the players file it would have written with those recorded beside it.

    replay_demo.py BUILD_DIR DEMO_FILE EXPECTED_STATE_FILE EXPECTED_PLAYERS_FILE

A demo that no longer replays to its recorded state means the game's behaviour changed: when
the change was meant, record the demo again (demo_replay.py --make) in the same commit.
Exit status: 0 when the states match, 1 otherwise.
"""

import os
import subprocess
import sys
import tempfile
import time

TIMEOUT = 900


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 1
    build, demo, expectedPath, playersPath = (os.path.abspath(a) for a in sys.argv[1:])
    with open(expectedPath, errors="replace") as f:
        expected = f.read()
    with open(playersPath, "rb") as f:
        expectedPlayers = f.read()
    with tempfile.TemporaryDirectory(prefix="quarrow-replay-") as temp:
        home = os.path.join(temp, "home")
        state = os.path.join(temp, "state")
        env = dict(os.environ)
        written = os.path.join(temp, "written")
        env.update({"SDL_VIDEODRIVER": "dummy", "SDL_AUDIODRIVER": "dummy",
                    "QUARROW_HOME": home, "QUARROW_TEST_STATE": state,
                    "QUARROW_REPLAY_FILES": written})
        started = time.monotonic()
        result = subprocess.run([os.path.join(build, "quarrow"), "-play", "-demofile=" + demo,
                                 "--demo-to-end"], cwd=temp, env=env, capture_output=True,
                                text=True, errors="replace", timeout=TIMEOUT)
        print("replayed %s in %.1f s, status %d" % (os.path.basename(demo),
                                                   time.monotonic() - started,
                                                   result.returncode))
        output = result.stdout + result.stderr
        if output.strip():
            print(output[-3000:])
        try:
            with open(state, errors="replace") as f:
                actual = f.read()
        except OSError:
            actual = "(no state file)"
        try:
            with open(os.path.join(written, "players.dat"), "rb") as f:
                players = f.read()
        except OSError:
            players = None
        # The lock and the cache of decoded sounds are not the player's files.
        touched = [n for n in (os.listdir(home) if os.path.isdir(home) else [])
                   if n not in (".lock", "cached")]
        if touched:
            print("FAIL: the replay wrote into the user folder: %s" % touched)
            return 1
    if result.returncode != 0:
        print("FAIL: the replay ended with status %d" % result.returncode)
        return 1
    if "out of step" in output:
        print("FAIL: the replay went out of step with the recording")
        return 1
    if actual != expected:
        print("FAIL: the final state differs from the recorded one\n--- replayed ---\n%s"
              "--- recorded ---\n%s" % (actual, expected))
        return 1
    if players != expectedPlayers:
        print("FAIL: the players file the replay wrote differs from the recorded one")
        return 1
    print("PASS: the final state and the players file match the recording")
    return 0


if __name__ == "__main__":
    sys.exit(main())
