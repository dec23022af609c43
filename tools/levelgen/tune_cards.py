#!/usr/bin/env python3
"""Sets the pictures and cards of each level so that the casual automatic player's win rate
follows a straight line from --first on level 2 to --last on the last level.

    tune_cards.py --quarrow-levels BUILD/quarrow-levels [--games 200] [--seed 1]
                  [--sets one,two] [--first 0.95] [--last 0.36] [--levels 10-20]

It rewrites the pictures and cards columns of assets/levels/levels.txt in place; run
make_levels.py and win_rates.py afterwards. Each level is played with the same seeds as
win_rates.py uses, so the table it then writes shows the rates found here. Some shapes stay
easier than their place on the line within the allowed ranges; where that makes the curve
rise too steeply, change the level's row by hand (more pictures, fewer cards, a grown layer)
and check again with win_rates.py.
"""

import argparse
import os
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from builder import build_level  # noqa: E402
from levelxml import level_text  # noqa: E402
from plan import SETS, parse_plan  # noqa: E402
from shapes import grow, parse_shapes  # noqa: E402
from win_rates import LEVELS, play  # noqa: E402

# How far the pictures and the cards may move from the level table's own choice: a person
# meets more pictures and fewer cards as the levels go on, so the table's trends stay.
PICTURES_BELOW = 6
PICTURES_ABOVE = 4
MIN_CARDS = 2
CARDS_ABOVE = 4


def rate_for(tool, shape, plan, games, seed, folder):
    path = os.path.join(folder, f"{plan.set_name}{plan.number}.xml")
    with open(path, "w", encoding="utf-8") as f:
        f.write(level_text(build_level(shape, plan)))
    wins, failed, stuck = play(tool, path, plan.set_name, plan.number, games, seed, "casual")
    return wins / (wins + failed + stuck)


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


def tune_level(tool, shapes, plan, target, games, seed, folder):
    """Finds the pictures that bring the level nearest its target with the cards it has, then
    the cards that bring it nearer still."""
    shape = grow(shapes[plan.shape], plan.grow)

    def rate_with_pictures(pictures):
        plan.pictures = pictures
        return rate_for(tool, shape, plan, games, seed, folder)

    def rate_with_cards(cards):
        plan.cards = cards
        return rate_for(tool, shape, plan, games, seed, folder)

    low = max(3, plan.pictures - PICTURES_BELOW)
    high = min(26, plan.pictures + PICTURES_ABOVE)
    planned_pictures, planned_cards = plan.pictures, plan.cards
    plan.pictures, _ = closest(rate_with_pictures, target, low, high, False, planned_pictures)
    plan.cards, found = closest(rate_with_cards, target, min(MIN_CARDS, planned_cards),
                                planned_cards + CARDS_ABOVE, True, planned_cards)
    return plan, found


def plan_line(words):
    """One line of the table in its column layout."""
    line = (f"{words[0]:5s}{int(words[1]):2d}  {words[2]:10s} {words[3]}  {int(words[4]):2d}  "
            f"{int(words[5]):2d}  {words[6]:5s} {words[7]}")
    return " ".join([line] + words[8:])


def rewrite_plan(text, plans):
    """The table with the grow, pictures and cards columns of the given levels replaced."""
    by_level = {(p.set_name, p.number): p for p in plans}
    lines = []
    for raw in text.splitlines():
        words = raw.split("#", 1)[0].split()
        plan = by_level.get((words[0], int(words[1]))) if len(words) >= 8 else None
        if plan:
            words[3:6] = str(plan.grow), str(plan.pictures), str(plan.cards)
            raw = plan_line(words)
        lines.append(raw)
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quarrow-levels", required=True, dest="tool")
    parser.add_argument("--games", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sets", default="one,two")
    parser.add_argument("--first", type=float, default=0.95)
    parser.add_argument("--last", type=float, default=0.36)
    parser.add_argument("--levels", default="", help="a range such as 10-20")
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args()

    plan_path = os.path.join(LEVELS, "levels.txt")
    with open(plan_path, encoding="utf-8") as f:
        plan_text = f.read()
    with open(os.path.join(LEVELS, "shapes.txt"), encoding="utf-8") as f:
        shapes = parse_shapes(f.read())
    first, _, last = args.levels.partition("-")
    # Level 1 stays as written: a new player's first game.
    plans = [p for p in parse_plan(plan_text) if p.set_name in args.sets.split(",")
             and p.number > 1 and (not args.levels or int(first) <= p.number <= int(last or first))]
    with tempfile.TemporaryDirectory() as folder, ThreadPoolExecutor(args.jobs) as pool:
        jobs = []
        for plan in plans:
            count = SETS[plan.set_name]
            target = args.first + (args.last - args.first) * (plan.number - 1) / (count - 1)
            jobs.append((target, pool.submit(tune_level, args.tool, shapes, plan, target,
                                             args.games, args.seed, folder)))
        for target, job in jobs:
            plan, found = job.result()
            print(f"{plan.set_name} {plan.number}: target {target:.0%} found {found:.0%} "
                  f"pictures {plan.pictures} cards {plan.cards}", file=sys.stderr, flush=True)
    with open(plan_path, "w", encoding="utf-8") as f:
        f.write(rewrite_plan(plan_text, plans))
    return 0


if __name__ == "__main__":
    sys.exit(main())
