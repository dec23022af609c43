#!/usr/bin/env python3
"""Sets the deck, the pictures, the hidden stones, the jokers and the locks of each level so
that the casual automatic player's win rate follows a straight line from --first on level 2 to
--last on the last level.

    tune_levels.py --quarrow-levels BUILD/quarrow-levels [--games 200] [--seed 1]
                   [--sets one,two] [--first 0.95] [--last 0.36] [--levels 10-20]
                   [--cards-first 20] [--cards-last 8] [--lowest-cards 8]

The deck follows a fixed schedule: --cards-first stones on level 1, falling ever more gently
to --cards-last on the last level, so the deck stays a real help throughout. The difficulty
comes from the other columns: for each level the pictures are bisected towards the target,
and where even the most pictures allowed leave the level too easy, the shape grows a layer
(more hidden stones) and the pictures are bisected again. Pictures rise by at most
MAX_PICTURE_RISE from one level to the next. A level that stays well above its target with
every layer grown loses its jokers, then gains locks, and only then gets a smaller deck, never
below --lowest-cards. The first levels are left as easy as they come.

It rewrites the grow, pictures, cards, locks and jokers columns of assets/levels/levels.txt in
place; run make_levels.py and win_rates.py afterwards. Each level is played with the same seeds
as win_rates.py uses, so the table it then writes shows the rates found here. The bisection
takes the value closest to the target, which can leave a level a few points off on the wrong
side of its neighbours; move such a level's pictures by one by hand and check again. The levels
of one set are tuned in order (each level's pictures bound the next one's); the sets run side
by side.
"""

import argparse
import math
import os
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from builder import BuildError, build_level  # noqa: E402
from levelxml import level_text  # noqa: E402
from plan import SETS, parse_plan  # noqa: E402
from shapes import grow, parse_shapes  # noqa: E402
from win_rates import LEVELS, play  # noqa: E402

# A person should meet new pictures a few at a time; fewer pictures than the level before are
# allowed (a harder shape needs them) but not a sudden drop.
MAX_PICTURE_RISE = 3
MAX_PICTURE_DROP = 7
MIN_PICTURES = 3
MAX_PICTURES = 26
MAX_GROW = 5
# How far above its target a level may stay before it grows a layer or loses deck stones.
TOLERANCE = 0.08
# Levels meant to be won this often stay as easy as they come: a new player's first levels
# keep their full deck and their own shape.
EASY_TARGET = 0.865
# A level still too easy with every layer grown loses its jokers, then gains locks in steps.
LOCK_STEP = 2
EXTRA_LOCK_STEPS = 2
# The deck's stones above its last size shrink exponentially along the set, to about a
# quarter a third of the way in, so that most of the fall lies among the early levels.
CARD_DECAY = 4.3


def scheduled_cards(number, count, first, last):
    """The deck of level `number` of `count`: `first` on level 1, falling ever more gently
    towards `last` on the last."""
    progress = (number - 1) / (count - 1)
    gap = (first - last) * (math.exp(-CARD_DECAY * progress) - math.exp(-CARD_DECAY))
    return round(last + gap / (1 - math.exp(-CARD_DECAY)))


def picture_range(previous):
    """The pictures a level may have after a level with `previous` pictures."""
    return (max(MIN_PICTURES, previous - MAX_PICTURE_DROP),
            min(MAX_PICTURES, previous + MAX_PICTURE_RISE))


def closest(rate, target, low, high, rising, preferred=None):
    """(value, rate) in low..high whose rate lies closest to `target`, for a rate that rises
    (or falls) with the value, by bisection; of equally close values the one nearest
    `preferred` (by default the lowest)."""
    measured = {low: rate(low), high: rate(high)}
    if preferred is not None and low < preferred < high:
        measured[preferred] = rate(preferred)
    while high - low > 1:
        middle = (low + high) // 2
        measured[middle] = rate(middle)
        if (measured[middle] >= target) == rising:
            high = middle
        else:
            low = middle
    best = min(measured, key=lambda v: (abs(measured[v] - target),
                                        abs(v - (low if preferred is None else preferred))))
    return best, measured[best]


class LevelTuner:
    """Plays variants of one level with the casual player."""

    def __init__(self, tool, shapes, games, seed, folder):
        self.tool, self.shapes, self.games, self.seed, self.folder = (tool, shapes, games,
                                                                      seed, folder)

    def rate(self, plan):
        """The casual player's win rate on `plan` as it stands."""
        shape = grow(self.shapes[plan.shape], plan.grow)
        path = os.path.join(self.folder, f"{plan.set_name}{plan.number}.xml")
        with open(path, "w", encoding="utf-8") as f:
            f.write(level_text(build_level(shape, plan)))
        wins, failed, stuck = play(self.tool, path, plan.set_name, plan.number, self.games,
                                   self.seed, "casual")
        return wins / (wins + failed + stuck)

    def rate_with(self, plan, field, value):
        setattr(plan, field, value)
        return self.rate(plan)

    def grows(self, plan):
        """The grow values from the level's own up to the most its shape and field allow."""
        counts = set()
        for value in range(plan.grow, MAX_GROW + 1):
            shape = grow(self.shapes[plan.shape], value)
            if shape.stone_count() in counts:
                return
            counts.add(shape.stone_count())
            try:
                build_level(shape, plan)
            except BuildError:
                return
            yield value

    def tune(self, plan, target, previous_pictures, cards, lowest_cards):
        """Sets the level's cards, grow and pictures (and, for a level that stays too easy,
        its jokers and locks); returns the rate found."""
        low, high = picture_range(previous_pictures)
        plan.cards = cards
        may_harden = target < EASY_TARGET
        for value in list(self.grows(plan)) if may_harden else [plan.grow]:
            plan.grow = value
            if self.rate_with(plan, "pictures", high) <= target + TOLERANCE:
                break

        def settle_pictures():
            plan.pictures, rate = closest(lambda p: self.rate_with(plan, "pictures", p),
                                          target, low, high, False, high)
            return rate

        found = settle_pictures()
        if not may_harden:
            return found
        if found > target + TOLERANCE and plan.jokers:
            plan.jokers = 0
            found = settle_pictures()
        for _ in range(EXTRA_LOCK_STEPS):
            if found <= target + TOLERANCE or not self.add_locks(plan):
                break
            found = settle_pictures()
        if found > target + TOLERANCE and lowest_cards < cards:
            plan.cards, found = closest(lambda c: self.rate_with(plan, "cards", c), target,
                                        lowest_cards, cards, True, cards)
        return found

    def add_locks(self, plan):
        """Locks LOCK_STEP more stones (of one kind on a level without locks); False when
        the level has no room for them."""
        before = plan.locked_stones, plan.lock_kinds
        plan.locked_stones += LOCK_STEP
        plan.lock_kinds = max(1, plan.lock_kinds)
        try:
            build_level(grow(self.shapes[plan.shape], plan.grow), plan)
        except BuildError:
            plan.locked_stones, plan.lock_kinds = before
            return False
        return True


def plan_line(words):
    """One line of the table in its column layout."""
    line = (f"{words[0]:5s}{int(words[1]):2d}  {words[2]:10s} {words[3]}  {int(words[4]):2d}  "
            f"{int(words[5]):2d}  {words[6]:5s} {words[7]}")
    return " ".join([line] + words[8:])


def rewrite_plan(text, plans):
    """The table with the grow, pictures, cards, locks and jokers columns of the given levels
    replaced."""
    by_level = {(p.set_name, p.number): p for p in plans}
    lines = []
    for raw in text.splitlines():
        words = raw.split("#", 1)[0].split()
        plan = by_level.get((words[0], int(words[1]))) if len(words) >= 8 else None
        if plan:
            locks = f"{plan.locked_stones}/{plan.lock_kinds}" if plan.locked_stones else "-"
            words[3:8] = (str(plan.grow), str(plan.pictures), str(plan.cards), locks,
                          str(plan.jokers))
            raw = plan_line(words)
        lines.append(raw)
    return "\n".join(lines) + "\n"


def tune_set(tuner, plans, args):
    """Tunes the chosen levels of one set in order."""
    count = SETS[plans[0].set_name]
    first, _, last = args.levels.partition("-")
    chosen = [p for p in plans if p.number > 1 and
              (not args.levels or int(first) <= p.number <= int(last or first))]
    for plan in chosen:
        target = args.first + (args.last - args.first) * (plan.number - 1) / (count - 1)
        cards = scheduled_cards(plan.number, count, args.cards_first, args.cards_last)
        found = tuner.tune(plan, target, plans[plan.number - 2].pictures, cards,
                           args.lowest_cards)
        print(f"{plan.set_name} {plan.number}: target {target:.0%} found {found:.0%} "
              f"grow {plan.grow} pictures {plan.pictures} cards {plan.cards} "
              f"locks {plan.locked_stones}/{plan.lock_kinds} jokers {plan.jokers}",
              file=sys.stderr, flush=True)
    return chosen


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quarrow-levels", required=True, dest="tool")
    parser.add_argument("--games", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sets", default="one,two")
    parser.add_argument("--first", type=float, default=0.95)
    parser.add_argument("--last", type=float, default=0.36)
    parser.add_argument("--levels", default="", help="a range such as 10-20")
    parser.add_argument("--cards-first", type=int, default=20)
    parser.add_argument("--cards-last", type=int, default=8)
    parser.add_argument("--lowest-cards", type=int, default=8,
                        help="the smallest deck a level too easy for its place may get")
    parser.add_argument("--jobs", type=int, default=2, help="sets tuned side by side")
    args = parser.parse_args()

    plan_path = os.path.join(LEVELS, "levels.txt")
    with open(plan_path, encoding="utf-8") as f:
        plan_text = f.read()
    with open(os.path.join(LEVELS, "shapes.txt"), encoding="utf-8") as f:
        shapes = parse_shapes(f.read())
    plans = parse_plan(plan_text)
    # Level 1 stays as written: a new player's first game.
    with tempfile.TemporaryDirectory() as folder, ThreadPoolExecutor(args.jobs) as pool:
        tuner = LevelTuner(args.tool, shapes, args.games, args.seed, folder)
        jobs = [pool.submit(tune_set, tuner, [p for p in plans if p.set_name == set_name], args)
                for set_name in args.sets.split(",")]
        tuned = [plan for job in jobs for plan in job.result()]
    with open(plan_path, "w", encoding="utf-8") as f:
        f.write(rewrite_plan(plan_text, tuned))
    return 0


if __name__ == "__main__":
    sys.exit(main())
