#!/usr/bin/env python3
"""Plays Quarrow end to end: the real executable in a real window on a private Xvfb display,
driven by synthetic pointer and key input through xdotool, watched through the game's
test-state file.

    play_game.py BUILD_DIR [--only PART,...] [--keep-temp] [--quiet]

The parts: menu (the loading screen, the first player, the main menu, a game saved and
continued, the highscore entry, the change-player dialog), options, set (the end of the
One-Side set), map (the chariot travelling, an earlier level chosen), one (One-Side level 1
to Level Complete by clicks), two (Two-Side level 2 by drags), gameover (careless play until
the game is over); pages (the first map page of each mode, level by level) runs only when
named with --only.

The board's positions come only from the state file; the few dialog buttons that the file
does not list are in DIALOG_BUTTONS below, sized from the images in the data folder.
Screenshots (taken with the game's own F12) go to BUILD_DIR/e2e-shots/.

Exit status: 0 when every part passed, 1 on a failure (the last state file and the move log
are printed), 77 when Xvfb or xdotool is missing.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
LEVEL_TIMEOUT = 240.0
START_TIMEOUT = 60.0
MOVE_LIMIT = 400

# Dialog ids the state file reports.
DIALOG_MESSAGE = 100
DIALOG_LEVEL_COMPLETE = 101
DIALOG_CONFIRMATION = 108
DIALOG_EXIT_CONFIRMATION = 108
DIALOG_REFUSAL = 111
DIALOG_MENU = 1005
DIALOG_CHANGE_PLAYER = 1005
DIALOG_GAME_OVER = 1006
DIALOG_NAME_ENTRY = 1006
DIALOG_HOW_TO_PLAY = 1007
DIALOG_CONTINUE = 1008
DIALOG_HIGHSCORES = 1009
DIALOG_OPTIONS = 8
DIALOG_SET_COMPLETE = 118

# Buttons the state file does not list: (x, y) of the top left corner within the dialog,
# the image whose size the button (or the dialog) has, and the dialog's own image; dialogs
# with an image are centred on the 800x600 screen. Only used where the state file is silent.
DIALOG_BUTTONS = {
    # The how-to-play page covers the screen; "Close" is a big button.
    "how_to_play_close": {"origin": (310, 550), "button": "big_button.png", "dialog": None},
    # Game over: two buttons 140 wide in the small dialog.
    "game_over_replay": {"origin": (195, 105), "button": (140, "button_normal.png"),
                         "dialog": "w_small.png"},
    "game_over_reshuffle": {"origin": (30, 105), "button": (140, "button_normal.png"),
                            "dialog": "w_small.png"},
}
# Insets of a message dialog around its footer button (the framework's default).
MESSAGE_DIALOG_INSET = 24

JOKER = 100
# Parts run only when named with --only.
OPTIONAL_PARTS = ("pages",)


def png_size(path):
    """Width and height from a PNG file's header."""
    with open(path, "rb") as f:
        header = f.read(24)
    if len(header) < 24 or header[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + " is not a PNG file")
    return struct.unpack(">II", header[16:24])


class Failure(Exception):
    pass


class State:
    """One reading of the state file."""

    def __init__(self, text):
        self.text = text
        self.screen = None
        self.dialogs = []
        self.rest = False
        self.mode = self.level = self.score = self.moves = None
        self.deck = None
        self.line = None
        self.stones = []
        self.piles = []
        self.player = None
        self.buttons = []
        self.listLines = []
        self.checkboxes = {}
        self.sliders = {}
        self.page = self.selected = None
        self.points = {}
        self.scrolls = {}
        for raw in text.splitlines():
            parts = raw.split()
            if not parts:
                continue
            key, values = parts[0], parts[1:]
            if key == "screen":
                self.screen = values[0] if values else None
            elif key == "player":
                self.player = raw[len("player "):] if values != ["-"] else None
            elif key in ("page", "selected"):
                setattr(self, key, int(values[0]))
            elif key in ("point", "scroll"):
                level, x, y, w, h = (int(v) for v in values[:5])
                (self.points if key == "point" else self.scrolls)[level] = (x, y, w, h)
            elif key in ("checkbox", "slider"):
                number, x, y, w, h, value = (int(v) for v in values[:6])
                (self.checkboxes if key == "checkbox" else self.sliders)[number] = \
                    {"rect": (x, y, w, h), "value": value}
            elif key in ("button", "listline"):
                number, x, y, w, h = (int(v) for v in values[:5])
                label = raw.split(" ", 6)[6] if len(parts) > 6 else ""
                entry = {"id": number, "rect": (x, y, w, h), "label": label}
                (self.buttons if key == "button" else self.listLines).append(entry)
            elif key == "dialogs":
                self.dialogs = [int(v) for v in values]
            elif key == "rest":
                self.rest = values == ["1"]
            elif key == "mode":
                pairs = dict(zip(parts[0::2], (int(v) for v in parts[1::2])))
                self.mode, self.level = pairs.get("mode"), pairs.get("level")
                self.score, self.moves = pairs.get("score"), pairs.get("moves")
            elif key == "deck":
                x, y, w, h, count = (int(v) for v in values)
                self.deck = {"rect": (x, y, w, h), "count": count}
            elif key == "line":
                left, right, x1, y1, x2, y2 = (int(v) for v in values)
                self.line = {"left": left, "right": right, "leftAt": (x1, y1),
                             "rightAt": (x2, y2)}
            elif key in ("stone", "pile"):
                x, y, w, h, left, right = (int(v) for v in values)
                entry = {"kind": key, "rect": (x, y, w, h), "left": left, "right": right}
                (self.stones if key == "stone" else self.piles).append(entry)

    def button(self, label):
        """The topmost control labelled `label`, or None."""
        found = [b for b in self.buttons if b["label"] == label]
        return found[-1] if found else None

    def list_line(self, text):
        found = [line for line in self.listLines if line["label"] == text]
        return found[-1] if found else None

    def signature(self):
        """What changes when a move happened."""
        return (self.dialogs, self.deck and self.deck["count"], self.line,
                sorted((s["rect"], s["left"], s["right"]) for s in self.stones + self.piles))


def board_layout(state):
    """What a saved game must give back: the free stones and the line's ends."""
    return (sorted((s["rect"], s["left"], s["right"]) for s in state.stones),
            state.line and (state.line["left"], state.line["right"]),
            state.deck and state.deck["count"], state.score)


def write_highscores(path, score):
    """A highscores file of ten rows with `score` in both tables."""
    def text(value):
        data = value.encode()
        return struct.pack("<H", len(data)) + data
    with open(path, "wb") as f:
        for row in range(10):
            f.write(text("Low%d" % row) + text("Low%d" % row) + struct.pack("<ii", score, score))


# Where the board draws the preview window: (width, height, left, top).
PREVIEW_FRAME = (110, 70, 0, 25)


def region_mean(path, region):
    """The mean brightness of a part of a screenshot; None without ImageMagick."""
    if not shutil.which("convert"):
        return None
    result = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % region, "+repage",
                             "-format", "%[fx:mean]", "info:"], capture_output=True, text=True,
                            timeout=30)
    return float(result.stdout.strip())


def one_side_level(path):
    """The first player's One-Side level in a players file."""
    with open(path, "rb") as f:
        data = f.read()
    length = struct.unpack_from("<H", data, 8)[0]
    return struct.unpack_from("<i", data, 8 + 2 + length + 16)[0]


def centre(rect):
    x, y, w, h = rect
    return x + w // 2, y + h // 2


def matches(value, end):
    return value == end or value == JOKER or end == JOKER


class Game:
    """One run of the executable on the display."""

    def __init__(self, harness, name, args, home=None, stateFile=True):
        self.harness = harness
        self.name = name
        self.folder = os.path.join(harness.temp, name)
        os.makedirs(self.folder)
        self.home = home or os.path.join(self.folder, "home")
        self.statePath = os.path.join(self.folder, "state")
        self.shotFolder = os.path.join(self.folder, "shots")
        self.log = []
        env = dict(os.environ)
        env.update({
            "DISPLAY": harness.display,
            "QUARROW_HOME": self.home,
            "QUARROW_TEST_STATE": self.statePath,
            "QUARROW_SCREENSHOT_DIR": self.shotFolder,
            "SDL_AUDIODRIVER": "dummy",
        })
        if not stateFile:
            # As a player runs it: the game then keeps no state file at all.
            del env["QUARROW_TEST_STATE"]
        env.pop("SDL_VIDEODRIVER", None)
        self.output = open(os.path.join(self.folder, "game.log"), "wb")
        self.process = subprocess.Popen([harness.executable, "--windowed"] + args,
                                        cwd=self.folder, env=env, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        self.window = None
        self.origin = (0, 0)
        self.size = (800, 600)
        self.say("started: quarrow --windowed " + " ".join(args))

    # -- bookkeeping -------------------------------------------------------------------------

    def say(self, text):
        line = "[%6.1f %s] %s" % (time.monotonic() - self.harness.started, self.name, text)
        self.log.append(line)
        if self.harness.verbose:
            print(line, flush=True)

    def fail(self, text):
        raise Failure("%s: %s" % (self.name, text))

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.output.close()

    def state(self):
        if self.process.poll() is not None:
            self.fail("the game exited with status %d" % self.process.returncode)
        try:
            with open(self.statePath) as f:
                return State(f.read())
        except FileNotFoundError:
            return State("")

    def wait_for(self, what, predicate, timeout):
        deadline = time.monotonic() + timeout
        while True:
            current = self.state()
            if predicate(current):
                return current
            if time.monotonic() > deadline:
                self.fail("timed out after %.0f s waiting for %s" % (timeout, what))
            time.sleep(0.05)

    def wait_rest(self, timeout=20.0):
        """The state once nothing moves, or once a dialog is open (which stops the board)."""
        return self.wait_for("rest", lambda s: s.rest or s.dialogs, timeout)

    # -- the window and input ----------------------------------------------------------------

    def xdo(self, *args):
        return self.harness.xdo(*args)

    def find_window(self, timeout=START_TIMEOUT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            result = self.xdo("search", "--onlyvisible", "--name", "Quarrow")
            ids = result.stdout.split()
            if ids:
                self.window = ids[0]
                geometry = self.xdo("getwindowgeometry", "--shell", self.window).stdout
                values = dict(l.split("=", 1) for l in geometry.split() if "=" in l)
                self.origin = (int(values["X"]), int(values["Y"]))
                self.size = (int(values["WIDTH"]), int(values["HEIGHT"]))
                self.say("window %s at %s, %sx%s" % ((self.window, self.origin) + self.size))
                self.focus()
                return
            self.state()
            time.sleep(0.1)
        self.fail("no window named Quarrow appeared")

    def focus(self):
        # Without a window manager activation is not available; focusing is enough.
        self.xdo("windowfocus", "--sync", self.window)

    def move(self, x, y):
        # Full screen stretches the 800x600 screen over the display.
        x, y = x * self.size[0] // 800, y * self.size[1] // 600
        self.xdo("mousemove", str(self.origin[0] + x), str(self.origin[1] + y))

    def click(self, x, y, why):
        self.say("click (%d, %d): %s" % (x, y, why))
        self.move(x, y)
        time.sleep(0.03)
        self.xdo("mousedown", "1")
        time.sleep(0.05)
        self.xdo("mouseup", "1")

    def drag(self, start, end, why, steps=8):
        self.say("drag %s -> %s: %s" % (start, end, why))
        self.move(*start)
        time.sleep(0.05)
        self.xdo("mousedown", "1")
        time.sleep(0.08)
        for step in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * step // steps,
                      start[1] + (end[1] - start[1]) * step // steps)
            time.sleep(0.03)
        time.sleep(0.08)
        self.xdo("mouseup", "1")

    def key(self, name):
        self.say("key " + name)
        self.focus()
        self.xdo("key", name)

    def screenshot(self, name):
        """Presses F12 and moves the game's new file to BUILD_DIR/e2e-shots/NAME.png."""
        before = set(os.listdir(self.shotFolder)) if os.path.isdir(self.shotFolder) else set()
        self.key("F12")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if os.path.isdir(self.shotFolder):
                new = sorted(n for n in set(os.listdir(self.shotFolder)) - before
                             if n.startswith("quarrow-") and n.endswith(".png"))
                if new:
                    source = os.path.join(self.shotFolder, new[-1])
                    target = os.path.join(self.harness.shots, name + ".png")
                    shutil.move(source, target)
                    if png_size(target) != (800, 600):
                        self.fail("the screenshot %s is %dx%d, not the 800x600 screen" %
                                  ((target,) + png_size(target)))
                    self.harness.shotsTaken.append(target)
                    self.say("screenshot " + target)
                    return target
            time.sleep(0.05)
        self.fail("F12 wrote no screenshot")

    # -- controls the state file lists --------------------------------------------------------

    def wait_button(self, label, timeout=20.0):
        current = self.wait_for("a control labelled %r" % label,
                                lambda s: s.button(label) is not None, timeout)
        return current.button(label)

    def click_button(self, label, timeout=20.0):
        button = self.wait_button(label, timeout)
        self.click(*centre(button["rect"]), why=label)

    def click_list_line(self, text, double=False):
        line = self.wait_for("the list line %r" % text,
                             lambda s: s.list_line(text) is not None, 10.0).list_line(text)
        x, y = centre(line["rect"])
        self.click(x, y, "list line " + text)
        if double:
            time.sleep(0.05)
            self.click(x, y, "list line " + text + " again")

    def wait_dialog(self, dialogId, timeout=20.0):
        return self.wait_for("dialog %d" % dialogId, lambda s: dialogId in s.dialogs, timeout)

    def wait_no_dialog(self, dialogId, timeout=20.0):
        return self.wait_for("dialog %d to close" % dialogId,
                             lambda s: dialogId not in s.dialogs, timeout)

    def type_name(self, name):
        """Replaces the focused name field's text with `name`."""
        self.focus()
        for _ in range(14):
            self.xdo("key", "BackSpace")
        self.say("type " + name)
        self.xdo("type", "--delay", "40", name)

    def wait_exit(self, timeout=20.0):
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.fail("the game did not end within %.0f s" % timeout)
        self.say("ended with status %d" % self.process.returncode)

    # -- dialogs -----------------------------------------------------------------------------

    def dialog_button(self, name):
        entry = DIALOG_BUTTONS[name]
        images = os.path.join(self.harness.data, "images")
        button = entry["button"]
        if isinstance(button, tuple):
            width, image = button
            height = png_size(os.path.join(images, image))[1]
        else:
            width, height = png_size(os.path.join(images, button))
        left, top = 0, 0
        if entry["dialog"]:
            dialogWidth, dialogHeight = png_size(os.path.join(images, entry["dialog"]))
            left, top = 400 - dialogWidth // 2, 300 - dialogHeight // 2
        return left + entry["origin"][0] + width // 2, top + entry["origin"][1] + height // 2

    def level_complete_button(self):
        """The footer button of the message dialog: full inner width, at the bottom."""
        images = os.path.join(self.harness.data, "images")
        dialogHeight = png_size(os.path.join(images, "w_small.png"))[1]
        buttonHeight = png_size(os.path.join(images, "button_normal.png"))[1]
        bottom = 300 - dialogHeight // 2 + dialogHeight - MESSAGE_DIALOG_INSET
        return 400, bottom - buttonHeight // 2

    def close_dialog(self, dialogId, attempts):
        """Tries each (description, action) until the dialog is gone; False when none did."""
        for description, action in attempts:
            action()
            try:
                self.wait_for("dialog %d to close (%s)" % (dialogId, description),
                              lambda s: dialogId not in s.dialogs, 3.0)
                self.say("dialog %d closed by %s" % (dialogId, description))
                return True
            except Failure:
                self.say("dialog %d stayed open after %s" % (dialogId, description))
        return False

    def close_how_to_play(self):
        x, y = self.dialog_button("how_to_play_close")
        closed = self.close_dialog(DIALOG_HOW_TO_PLAY, [
            ("its Close button", lambda: self.click(x, y, "how-to-play Close")),
            ("Escape", lambda: self.key("Escape")),
            ("Enter", lambda: self.key("Return")),
        ])
        if not closed:
            self.harness.note("the how-to-play dialog (%d) could not be closed by its Close "
                              "button, Escape or Enter" % DIALOG_HOW_TO_PLAY)
        return closed

    # -- playing -----------------------------------------------------------------------------

    def start(self, timeout=START_TIMEOUT):
        self.wait_for("the game screen", lambda s: s.screen == "game", timeout)
        self.find_window()
        return self.wait_rest()

    def act_and_wait(self, before, action):
        """Runs an input action and waits for the state to change and settle; False when the
        game did not react."""
        action()
        try:
            self.wait_for("a reaction", lambda s: s.signature() != before.signature(), 3.0)
        except Failure:
            return False
        # A refused drop flies back: something changed for a while, but nothing in the end.
        return self.wait_rest().signature() != before.signature()

    def play_level(self, strategy, gameOverTries=3):
        """Plays until the level-complete dialog; returns the final state."""
        deadline = time.monotonic() + LEVEL_TIMEOUT
        refused = set()
        moves = 0
        gameOvers = 0
        while True:
            if time.monotonic() > deadline:
                self.fail("the level was not complete after %.0f s" % LEVEL_TIMEOUT)
            current = self.wait_rest()
            if DIALOG_LEVEL_COMPLETE in current.dialogs:
                self.say("level %s complete after %d moves, score %s" %
                         (current.level, moves, current.score))
                return current
            if DIALOG_GAME_OVER in current.dialogs:
                gameOvers += 1
                self.say("game over (%d)" % gameOvers)
                if gameOvers == 1 and not self.harness.hasGameOverShot:
                    self.screenshot("17-game-over")
                    self.harness.hasGameOverShot = True
                if gameOvers > gameOverTries:
                    self.fail("game over %d times" % gameOvers)
                if not self.leave_game_over(current):
                    self.fail("the game-over dialog could not be closed")
                refused.clear()
                continue
            if DIALOG_HOW_TO_PLAY in current.dialogs:
                if not self.close_how_to_play():
                    self.fail("the how-to-play dialog blocks the board")
                continue
            if current.dialogs:
                self.fail("an unexpected dialog is open: %s" % current.dialogs)
            if current.button("Close"):
                # A tip of the game lies over the board and takes the clicks meant for stones.
                self.click(*centre(current.button("Close")["rect"]), why="close the tip")
                self.wait_for("the tip to close", lambda s: not s.button("Close"), 5.0)
                continue
            if moves >= MOVE_LIMIT:
                self.fail("no level complete after %d moves" % MOVE_LIMIT)
            self.focus()
            choice = strategy(self, current, refused)
            if choice is None:
                # Nothing to do; the game should decide (game over) on its own.
                self.wait_for("game over or a change", lambda s: s.dialogs or
                              s.signature() != current.signature(), 10.0)
                continue
            key, description, action = choice
            moves += 1
            if not self.act_and_wait(current, action):
                self.say("no reaction to " + description)
                refused.add(key)
                if len(refused) > 12:
                    self.fail("the game ignored %d moves in a row" % len(refused))
            else:
                refused.clear()

    def leave_game_over(self, current):
        names = ["game_over_reshuffle", "game_over_replay"]
        attempts = []
        for name in names:
            x, y = self.dialog_button(name)
            attempts.append((name, lambda x=x, y=y, name=name: self.click(x, y, name)))
        attempts.append(("Escape", lambda: self.key("Escape")))
        if self.close_dialog(DIALOG_GAME_OVER, attempts):
            return True
        self.harness.note("the game-over dialog (%d) could not be closed by Use Reshuffle, "
                          "Replay or Escape" % DIALOG_GAME_OVER)
        return False

    def next_level(self, current):
        """Presses the level-complete dialog's button and checks that the next level starts."""
        x, y = self.level_complete_button()
        level = current.level
        if not self.close_dialog(DIALOG_LEVEL_COMPLETE,
                                 [("Play Next", lambda: self.click(x, y, "Play Next"))]):
            self.fail("the level-complete dialog did not close on its button")
        self.wait_for("the level map", lambda s: s.screen == "map", 10.0)
        # The vehicle travels and the new scroll unrolls before the level is chosen.
        time.sleep(1.5 if (level % 5) else 4.5)
        self.screenshot("%s-map-%d" % (self.name, level))
        self.click_button("Play")
        after = self.wait_for("the next level", lambda s: s.screen == "game" and
                              s.level == level + 1, 10.0)
        self.say("level %d started" % after.level)
        return after


# -- strategies: each returns (key, description, action) or None ------------------------------

def one_side_options(game, s, refused):
    """Stones that can join the right end, with where the end would be afterwards."""
    end = s.line["right"]
    options = []
    for stone in s.stones:
        key = (stone["rect"], stone["left"], stone["right"])
        if key in refused:
            continue
        if matches(stone["left"], end):
            options.append((stone, stone["right"]))
        elif matches(stone["right"], end):
            options.append((stone, stone["left"]))
    return options


def follow_ups(s, stone, newEnd):
    return sum(1 for other in s.stones if other is not stone and
               (matches(other["left"], newEnd) or matches(other["right"], newEnd)))


def one_side_greedy(game, s, refused):
    options = one_side_options(game, s, refused)
    if options:
        def rank(option):
            stone, newEnd = option
            jokers = (stone["left"] == JOKER) + (stone["right"] == JOKER)
            return (follow_ups(s, stone, newEnd), -jokers)
        stone, newEnd = max(options, key=rank)
        pos = centre(stone["rect"])
        return ((stone["rect"], stone["left"], stone["right"]),
                "stone %s" % (pos,),
                lambda: game.click(pos[0], pos[1], "stone %d|%d onto end %d" %
                                   (stone["left"], stone["right"], s.line["right"])))
    return deck_click(game, s, refused)


def one_side_careless(game, s, refused):
    """Empties the deck first, then picks the moves that leave the fewest follow-ups: the
    way to a game over."""
    choice = deck_click(game, s, refused)
    if choice:
        return choice
    options = one_side_options(game, s, refused)
    if not options:
        return None
    stone, newEnd = min(options, key=lambda o: follow_ups(s, o[0], o[1]))
    pos = centre(stone["rect"])
    return ((stone["rect"], stone["left"], stone["right"]), "stone %s" % (pos,),
            lambda: game.click(pos[0], pos[1], "stone %d|%d onto end %d (careless)" %
                               (stone["left"], stone["right"], s.line["right"])))


def deck_click(game, s, refused):
    if not s.deck or s.deck["count"] <= 0 or "deck" in refused:
        return None
    pos = centre(s.deck["rect"])
    return ("deck", "deck", lambda: game.click(pos[0], pos[1],
                                               "deck (%d left)" % s.deck["count"]))


def two_side_greedy(game, s, refused):
    left, right = s.line["left"], s.line["right"]
    options = []
    for stone in s.stones + s.piles:
        for end, target in ((left, "leftAt"), (right, "rightAt")):
            key = (stone["rect"], stone["left"], stone["right"], target)
            if key in refused:
                continue
            if matches(stone["left"], end) or matches(stone["right"], end):
                newEnd = stone["right"] if matches(stone["left"], end) else stone["left"]
                if target == "leftAt":
                    newEnd = stone["left"] if matches(stone["right"], end) else stone["right"]
                options.append((stone, target, newEnd, key))
    if options:
        def rank(option):
            stone, target, newEnd, _ = option
            others = [o for o in s.stones + s.piles if o is not stone]
            keep = left if target == "rightAt" else right
            follow = sum(1 for o in others for v in (newEnd, keep)
                         if matches(o["left"], v) or matches(o["right"], v))
            jokers = (stone["left"] == JOKER) + (stone["right"] == JOKER)
            return (stone["kind"] == "stone", follow, -jokers)
        stone, target, newEnd, key = max(options, key=rank)
        start = centre(stone["rect"])
        # A stone is dropped on the free place beyond the end stone, one stone further out.
        pitch = stone["rect"][2] + 1
        endX, endY = s.line[target]
        end = (endX - pitch if target == "leftAt" else endX + pitch, endY)
        return (key, "drag %s" % (start,),
                lambda: game.drag(start, end, "%s %d|%d onto the %s end %d" %
                                  (stone["kind"], stone["left"], stone["right"],
                                   "left" if target == "leftAt" else "right",
                                   left if target == "leftAt" else right)))
    return deck_click(game, s, refused)


# -- the harness --------------------------------------------------------------------------------

class Harness:
    def __init__(self, build, verbose, keepTemp):
        self.build = os.path.abspath(build)
        self.executable = os.path.join(self.build, "quarrow")
        self.data = os.path.join(self.build, "data")
        self.shots = os.path.join(self.build, "e2e-shots")
        self.verbose = verbose
        self.keepTemp = keepTemp
        self.started = time.monotonic()
        self.temp = tempfile.mkdtemp(prefix="quarrow-e2e-")
        self.xvfb = None
        self.display = None
        self.notes = []
        self.shotsTaken = []
        self.hasGameOverShot = False
        self.games = []

    def note(self, text):
        if text not in self.notes:
            self.notes.append(text)
            print("NOTE: " + text, flush=True)

    def xdo(self, *args):
        return subprocess.run(["xdotool"] + list(args), env={**os.environ,
                              "DISPLAY": self.display}, capture_output=True, text=True,
                              timeout=20)

    def start_display(self):
        for number in range(70, 100):
            if os.path.exists("/tmp/.X%d-lock" % number) or \
                    os.path.exists("/tmp/.X11-unix/X%d" % number):
                continue
            log = open(os.path.join(self.temp, "xvfb-%d.log" % number), "wb")
            process = subprocess.Popen(["Xvfb", ":%d" % number, "-nolisten", "tcp", "-screen",
                                        "0", "1024x768x24"], stdout=log, stderr=log)
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and process.poll() is None:
                if os.path.exists("/tmp/.X11-unix/X%d" % number):
                    self.xvfb, self.display = process, ":%d" % number
                    time.sleep(0.2)
                    return
                time.sleep(0.05)
            if process.poll() is None:
                process.kill()
                process.wait()
        raise Failure("no Xvfb display could be started on :70 to :99")

    def capture_display(self):
        """The whole X screen, for failures where the game's own F12 cannot help (a message
        box, no window, a window in the wrong place)."""
        if not self.display or not shutil.which("import"):
            return
        target = os.path.join(self.shots, "failure-display.png")
        result = subprocess.run(["import", "-window", "root", target],
                                env={**os.environ, "DISPLAY": self.display},
                                capture_output=True, text=True, timeout=30)
        if result.returncode == 0:
            print("the whole display at the failure: " + target)

    def stop(self):
        for game in self.games:
            game.close()
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        if not self.keepTemp:
            shutil.rmtree(self.temp, ignore_errors=True)

    def game(self, name, args, home=None, stateFile=True):
        game = Game(self, name, args, home, stateFile)
        self.games.append(game)
        return game

    def end(self, game):
        game.close()
        self.games.remove(game)

    # -- the parts ---------------------------------------------------------------------------

    def part_menu(self):
        """Without --play, in an empty user folder: the loading screen, the first player, the
        main menu, a game left with saving and continued in a second run, the highscore entry
        after a finished level, and the change-player dialog."""
        home = os.path.join(self.temp, "menu-home")
        game = self.game("menu", [], home=home)
        game.wait_for("the loading screen", lambda s: s.screen == "loading", START_TIMEOUT)
        game.find_window()
        game.screenshot("01-loading")
        game.wait_button("Click To Continue", START_TIMEOUT)
        game.screenshot("02-loading-done")
        game.click_button("Click To Continue")
        game.wait_dialog(DIALOG_NAME_ENTRY)
        game.wait_button("Ok")
        game.screenshot("03-first-player")
        game.type_name("Ann")
        game.click_button("Ok")
        current = game.wait_for("the main menu for Ann",
                                lambda s: s.screen == "menu" and s.player == "Ann" and
                                not s.dialogs, 20)
        game.screenshot("04-main-menu")

        before = self.play_and_leave(game)
        saved = os.path.join(home, "saves", "Ann1.sav")
        if not os.path.isfile(saved):
            game.fail("leaving with saving wrote no %s" % saved)
        game.click_button("Exit")
        game.wait_exit()
        self.end(game)

        # Every score earns a row, so the entry is asked for after the level.
        write_highscores(os.path.join(home, "highscores.dat"), 1)
        game = self.game("menu-again", [], home=home)
        game.wait_for("the loading screen", lambda s: s.screen == "loading", START_TIMEOUT)
        game.find_window()
        game.click_button("Click To Continue", START_TIMEOUT)
        game.wait_for("the main menu", lambda s: s.screen == "menu" and s.player == "Ann", 20)
        game.click_button("One Side Solitaire")
        game.wait_dialog(DIALOG_CONTINUE)
        game.wait_button("Continue")
        game.screenshot("07-continue")
        game.click_button("Continue")
        after = game.wait_for("the saved game", lambda s: s.screen == "game" and s.rest, 20)
        if board_layout(after) != board_layout(before):
            game.fail("the continued game differs from the one left:\n%s\n---\n%s" %
                      (before.text, after.text))
        game.say("the continued game has the same %d stones and line ends %s|%s" %
                 (len(after.stones), after.line["left"], after.line["right"]))
        final = game.play_level(one_side_greedy)
        game.next_level(final)
        self.leave_to_menu(game)
        game.wait_dialog(DIALOG_NAME_ENTRY)
        game.wait_dialog(DIALOG_HIGHSCORES)
        game.screenshot("08-highscore-entry")
        game.click_button("Ok")
        game.wait_no_dialog(DIALOG_NAME_ENTRY)
        game.screenshot("09-highscores")
        game.click_button("Ok")
        game.wait_no_dialog(DIALOG_HIGHSCORES)
        with open(os.path.join(home, "highscores.dat"), "rb") as scores:
            if b"Ann" not in scores.read():
                game.fail("highscores.dat holds no entry for Ann")
        self.change_players(game, home)
        self.end(game)

    def play_and_leave(self, game):
        """Starts One-Side level 1 from the main menu, plays three moves and leaves for the
        main menu with saving; the state just before leaving."""
        game.click_button("One Side Solitaire")
        current = game.wait_for("the game", lambda s: s.screen == "game", 20)
        current = game.wait_rest()
        if DIALOG_HOW_TO_PLAY in current.dialogs:
            game.click_button("Close")
            game.wait_no_dialog(DIALOG_HOW_TO_PLAY)
        for move in range(3):
            current = game.wait_rest()
            key, description, action = one_side_greedy(game, current, set())
            if not game.act_and_wait(current, action):
                game.fail("move %d (%s) had no effect" % (move + 1, description))
        before = game.wait_rest()
        game.screenshot("05-three-moves")
        self.leave_to_menu(game, shots=True)
        return before

    def leave_to_menu(self, game, shots=False):
        game.key("Escape")
        game.wait_dialog(DIALOG_MENU)
        game.click_button("Main Menu")
        game.wait_dialog(DIALOG_EXIT_CONFIRMATION)
        game.wait_button("YES")
        if shots:
            game.screenshot("06-exit-confirmation")
        game.click_button("YES")
        game.wait_for("the main menu", lambda s: s.screen == "menu", 20)

    def change_players(self, game, home):
        """Adds, renames (the saved game follows), deletes and selects players."""
        game.click_button("IM_B_CHANGE_PLAYER")
        game.wait_dialog(DIALOG_CHANGE_PLAYER)
        game.wait_button("Select")
        game.screenshot("10-change-player")
        game.click_list_line("[ New Player ]")
        game.wait_dialog(DIALOG_NAME_ENTRY)
        game.type_name("Bob")
        game.click_button("Ok")
        game.wait_no_dialog(DIALOG_NAME_ENTRY)
        game.click_list_line("Ann")
        game.click_button("Rename")
        game.wait_dialog(DIALOG_NAME_ENTRY)
        game.type_name("Cat")
        game.click_button("Ok")
        game.wait_for("the renamed line", lambda s: s.list_line("Cat") is not None, 10)
        if not os.path.isfile(os.path.join(home, "saves", "Cat1.sav")) or \
                os.path.exists(os.path.join(home, "saves", "Ann1.sav")):
            game.fail("the saved game did not follow the renamed player")
        game.click_list_line("Bob")
        game.click_button("Delete")
        game.wait_dialog(DIALOG_CONFIRMATION)
        game.click_button("YES")
        game.wait_for("Bob gone", lambda s: s.list_line("Bob") is None and
                      DIALOG_CONFIRMATION not in s.dialogs, 10)
        game.click_list_line("Cat")
        game.click_button("Delete")
        game.wait_dialog(DIALOG_REFUSAL)
        game.click_button("Ok")
        game.wait_no_dialog(DIALOG_REFUSAL)
        game.click_list_line("Cat")
        game.click_button("Select")
        game.wait_for("the main menu for Cat", lambda s: s.player == "Cat" and not s.dialogs, 10)
        game.screenshot("11-main-menu-cat")

    def part_one_side(self):
        game = self.game("one-side", ["--play=one:1"])
        current = game.start()
        if current.mode != 2 or current.level != 1:
            game.fail("expected One-Side level 1, state says mode %s level %s" %
                      (current.mode, current.level))
        if DIALOG_HOW_TO_PLAY in current.dialogs and not game.close_how_to_play():
            # The page cannot be left; play the next level instead so the board is tested.
            self.end(game)
            game = self.game("one-side-2", ["--play=one:2"])
            current = game.start()
        current = game.wait_rest()
        game.screenshot("12-one-side")
        self.hover_shot(game, current)
        final = game.play_level(one_side_greedy)
        game.screenshot("14-one-side-complete")
        game.next_level(final)
        self.end(game)

    def hover_shot(self, game, current):
        if not current.stones:
            return
        x, y = centre(current.stones[0]["rect"])
        game.say("hover over (%d, %d)" % (x, y))
        game.move(x, y)
        time.sleep(1.5)
        game.screenshot("13-hover")

    def part_two_side(self):
        game = self.game("two-side", ["--play=two:2"])
        current = game.start()
        if current.mode != 0 or current.level != 2:
            game.fail("expected Two-Side level 2, state says mode %s level %s" %
                      (current.mode, current.level))
        game.screenshot("15-two-side")
        final = game.play_level(two_side_greedy)
        game.screenshot("16-two-side-complete")
        x, y = game.level_complete_button()
        game.click(x, y, "Play Next")
        game.wait_for("the Two-Side map", lambda s: s.screen == "map", 10.0)
        time.sleep(2.0)
        game.screenshot("21-map-two-side")
        game.click_button("Play")
        game.wait_for("level 3", lambda s: s.screen == "game" and s.level == 3, 10.0)
        self.end(game)

    def part_map(self):
        """Wins One-Side level 5: the chariot travels to the second page and the scroll of level
        6 unrolls; an earlier level is chosen on the first page and played."""
        game = self.game("map", ["--play=one:5"])
        game.start()
        # Level 5 is won with the developer keys, which start level 6; F4 shows the map.
        game.key("ctrl+alt+d")
        time.sleep(0.3)
        game.key("F5")
        game.wait_for("level 6", lambda s: s.level == 6 and s.rest, 20.0)
        game.key("F4")
        current = game.wait_for("the map", lambda s: s.screen == "map", 10.0)
        game.screenshot("18-map-0s")
        if current.page != 1 or current.selected != 6:
            game.fail("the map should show page 1 with level 6 selected:\n" + current.text)
        time.sleep(1.5)
        game.screenshot("19-map-1.5s")
        time.sleep(2.0)
        game.screenshot("20-map-3.5s")
        game.click(*centre(current.points[1]), why="the first page's point")
        current = game.wait_for("the first page", lambda s: s.page == 0, 10.0)
        if current.selected != 1:
            game.fail("choosing the first page selected level %s" % current.selected)
        game.wait_for("the scroll of level 3", lambda s: 3 in s.scrolls, 10.0)
        game.click(*centre(game.state().scrolls[3]), why="the scroll of level 3")
        game.wait_for("level 3 selected", lambda s: s.selected == 3, 10.0)
        game.click_button("Play")
        game.wait_for("level 3", lambda s: s.screen == "game" and s.level == 3, 10.0)
        self.end(game)

    def part_pages(self):
        """Plays the first map page of each mode level by level through the map (long; only
        run when asked for)."""
        for mode, strategy in (("one", one_side_greedy), ("two", two_side_greedy)):
            game = self.game("pages-" + mode, ["--play=%s:1" % mode])
            current = game.start()
            for level in range(1, 6):
                final = game.play_level(strategy)
                current = game.next_level(final)
                game.say("on level %d" % current.level)
            self.end(game)

    def part_set_complete(self):
        """The last One-Side level skipped with the developer keys: the all-levels-complete
        window, the highscore entry, the mode back at level 1 without a saved game."""
        home = os.path.join(self.temp, "set-home")
        os.makedirs(os.path.join(home, "saves"))
        write_highscores(os.path.join(home, "highscores.dat"), 0)
        game = self.game("set", ["--play=one:60"], home=home)
        current = game.start()
        if current.level != 60:
            game.fail("expected One-Side level 60, state says %s" % current.level)
        with open(os.path.join(home, "saves", "Player1.sav"), "wb") as stale:
            stale.write(b"an old game")
        game.key("ctrl+alt+d")
        time.sleep(0.3)
        game.key("F5")
        game.wait_dialog(DIALOG_SET_COMPLETE)
        game.wait_button("Ok")
        game.screenshot("22-set-complete")
        game.click_button("Ok")
        game.wait_dialog(DIALOG_NAME_ENTRY)
        game.click_button("Ok")
        game.wait_no_dialog(DIALOG_NAME_ENTRY)
        game.click_button("Ok")
        game.wait_for("the main menu", lambda s: s.screen == "menu" and not s.dialogs, 10.0)
        if one_side_level(os.path.join(home, "players.dat")) != 1:
            game.fail("the One-Side level is not back at 1")
        if os.path.exists(os.path.join(home, "saves", "Player1.sav")):
            game.fail("the One-Side saved game survived the end of the set")
        self.end(game)

    def part_options(self):
        """The options dialog over the main menu and over the in-game menu: volumes change at
        once and are stored at exit; CLOSE gives the focus back to the in-game menu."""
        game = self.game("options", ["--play=one:2"])
        game.start()
        game.key("Escape")
        game.wait_dialog(DIALOG_MENU)
        game.click_button("Options")
        current = game.wait_dialog(DIALOG_OPTIONS)
        game.wait_button("CLOSE")
        game.screenshot("23-options-in-game")
        thumb = png_size(os.path.join(self.data, "images", "slider_thumb.png"))[0]
        for slider, target in ((0, 20), (1, 60)):
            x, y, w, h = game.state().sliders[slider]["rect"]
            before = game.state().sliders[slider]["value"]
            travel = w - thumb
            start = (x + travel * before // 100 + thumb // 2, y + h // 2)
            end = (x + travel * target // 100 + thumb // 2, y + h // 2)
            # Apart in time, so the second press is not taken for a double click.
            time.sleep(0.6)
            game.drag(start, end, "slider %d to %d %%" % (slider, target))
            game.wait_for("slider %d to move" % slider,
                          lambda s: abs(s.sliders[slider]["value"] - target) <= 5, 5.0)
        # The preview frame at the top left goes at once when its box is turned off.
        framed = region_mean(game.screenshot("23b-preview-on"), PREVIEW_FRAME)
        game.click(*centre(game.state().checkboxes[6]["rect"]), why="Show Preview Window off")
        game.wait_for("the preview box off", lambda s: s.checkboxes[6]["value"] == 0, 5.0)
        time.sleep(0.3)
        plain = region_mean(game.screenshot("23c-preview-off"), PREVIEW_FRAME)
        if framed is not None and abs(framed - plain) < 0.01:
            game.fail("the preview frame did not change (%.3f, %.3f)" % (framed, plain))
        # Alt+Enter turns the box over; the box off and CLOSE give the 800x600 window back.
        game.key("alt+Return")
        game.wait_for("the full-screen box on", lambda s: s.checkboxes[4]["value"] == 1, 10.0)
        time.sleep(1.0)
        game.find_window()
        if game.size == (800, 600):
            game.fail("Alt+Enter left the window at 800x600")
        game.click(*centre(game.state().checkboxes[4]["rect"]), why="Full Screen off")
        game.wait_for("the full-screen box off", lambda s: s.checkboxes[4]["value"] == 0, 5.0)
        game.click_button("CLOSE")
        game.wait_no_dialog(DIALOG_OPTIONS)
        time.sleep(1.0)
        game.find_window()
        if game.size != (800, 600):
            game.fail("CLOSE without full screen gave a %dx%d window" % game.size)
        game.wait_for("the focus back on the menu", lambda s: DIALOG_MENU in s.dialogs, 5.0)
        game.click_button("Main Menu")
        game.wait_dialog(DIALOG_EXIT_CONFIRMATION)
        game.click_button("YES")
        game.wait_for("the main menu", lambda s: s.screen == "menu", 10.0)
        game.click_button("Options")
        current = game.wait_dialog(DIALOG_OPTIONS)
        game.wait_button("CLOSE")
        game.screenshot("24-options-menu")
        values = {n: s["value"] for n, s in game.state().sliders.items()}
        game.click_button("CLOSE")
        game.wait_no_dialog(DIALOG_OPTIONS)
        game.click_button("Exit")
        game.wait_exit()
        with open(os.path.join(game.home, "settings.conf"), errors="replace") as f:
            settings = f.read()
        for key in ("MusicVolume", "SfxVolume"):
            if key not in settings:
                game.fail("%s is not in settings.conf:\n%s" % (key, settings))
        game.say("volumes stored: %s" % values)
        self.end(game)

    def part_game_over(self):
        """Plays carelessly until the game is over; a level that cannot be lost is noted."""
        game = self.game("game-over", ["--play=one:3"])
        game.start()
        try:
            final = game.play_level(one_side_careless, gameOverTries=2)
            self.note("careless play won level %s: no game over to see" % final.level)
        except Failure as error:
            if not self.hasGameOverShot:
                raise
            game.say("stopped: %s" % error)
        self.end(game)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--only", help="comma-separated parts: menu,one,two,gameover,map,"
                        "set,options")
    parser.add_argument("--keep-temp", action="store_true")
    parser.add_argument("--quiet", action="store_true")
    options = parser.parse_args()

    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("SKIP: %s is not installed" % tool)
            return SKIP
    harness = Harness(options.build, not options.quiet, options.keep_temp)
    if not os.access(harness.executable, os.X_OK):
        print("FAIL: no executable at " + harness.executable)
        return 1
    shutil.rmtree(harness.shots, ignore_errors=True)
    os.makedirs(harness.shots)
    parts = [("menu", harness.part_menu), ("options", harness.part_options),
             ("set", harness.part_set_complete), ("map", harness.part_map),
             ("one", harness.part_one_side),
             ("two", harness.part_two_side), ("gameover", harness.part_game_over),
             ("pages", harness.part_pages)]
    status = 0
    try:
        harness.start_display()
        print("display " + harness.display, flush=True)
        for name, part in parts:
            if options.only and name not in options.only.split(","):
                continue
            if not options.only and name in OPTIONAL_PARTS:
                continue
            part()
    except Failure as error:
        status = 1
        print("FAIL: %s" % error)
        harness.capture_display()
        for game in harness.games:
            print("--- last state of %s ---\n%s" % (game.name, read_text(game.statePath)))
            print("--- move log of %s ---\n%s" % (game.name, "\n".join(game.log[-60:])))
            print("--- output of %s ---\n%s" % (game.name,
                                                read_text(os.path.join(game.folder,
                                                                       "game.log"))[-3000:]))
    finally:
        harness.stop()
    for note in harness.notes:
        print("NOTE: " + note)
    print("screenshots in %s: %d" % (harness.shots, len(harness.shotsTaken)))
    describe_shots(harness.shotsTaken)
    print("%s after %.1f s" % ("PASS" if status == 0 else "FAIL",
                               time.monotonic() - harness.started))
    return status


def describe_shots(paths):
    """Prints each shot's mean brightness (0 black .. 1 white) when ImageMagick is there: a
    quick sign of a screen that drew nothing."""
    if not shutil.which("convert"):
        return
    for path in paths:
        result = subprocess.run(["convert", path, "-format", "%wx%h mean %[fx:mean]", "info:"],
                                capture_output=True, text=True, timeout=30)
        print("  %s: %s" % (os.path.basename(path), result.stdout.strip() or result.stderr))


def read_text(path):
    try:
        with open(path, errors="replace") as f:
            return f.read()
    except OSError as error:
        return "(%s)" % error


if __name__ == "__main__":
    sys.exit(main())
