#!/usr/bin/env python3
"""Writes both level sets from the shape file and the level table.

    make_levels.py [--shapes FILE] [--plan FILE] [--out DIR] [--check] [--summary]

--out is the folder that receives Levels1/ (One-Side) and Levels2/ (Two-Side); by default the
committed sets in assets/levels. --check writes nothing and fails when a committed file differs
from what the generator makes (a file edited by hand shows up here). --summary prints one line
per level.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from builder import BuildError, build_level  # noqa: E402
from levelxml import level_text  # noqa: E402
from plan import PlanError, parse_plan  # noqa: E402
from shapes import ShapeError, grow, parse_shapes  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVELS = os.path.join(ROOT, "assets", "levels")
FOLDERS = {"one": "Levels1", "two": "Levels2"}


def generate(shapes_text, plan_text):
    """(folder, file name, text, summary) for every level of the table."""
    shapes = parse_shapes(shapes_text)
    results = []
    for plan in parse_plan(plan_text):
        if plan.shape not in shapes:
            raise BuildError(f"level {plan.set_name} {plan.number}: unknown shape {plan.shape}")
        shape = grow(shapes[plan.shape], plan.grow)
        level = build_level(shape, plan)
        summary = (f"{plan.set_name} {plan.number:2d} {plan.shape:10s} stones "
                   f"{len(level.stones):3d} layers {level.layer_count} pictures "
                   f"{len(level.pictures):2d} cards {level.cards:2d} locks "
                   f"{plan.locked_stones}/{plan.lock_kinds} jokers {plan.jokers} "
                   f"music {level.music} {level.background}")
        results.append((FOLDERS[plan.set_name], f"Level{plan.number}.xml", level_text(level),
                        summary))
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--shapes", default=os.path.join(LEVELS, "shapes.txt"))
    parser.add_argument("--plan", default=os.path.join(LEVELS, "levels.txt"))
    parser.add_argument("--out", default=LEVELS)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--summary", action="store_true")
    args = parser.parse_args()
    try:
        with open(args.shapes, encoding="utf-8") as f:
            shapes_text = f.read()
        with open(args.plan, encoding="utf-8") as f:
            plan_text = f.read()
        results = generate(shapes_text, plan_text)
    except (OSError, ShapeError, PlanError, BuildError) as error:
        print(f"make_levels: {error}", file=sys.stderr)
        return 1
    differing = []
    for folder, name, text, summary in results:
        path = os.path.join(args.out, folder, name)
        if args.summary:
            print(summary)
        if args.check:
            try:
                with open(path, encoding="utf-8") as f:
                    if f.read() != text:
                        differing.append(path)
            except OSError:
                differing.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    if differing:
        print("make_levels: these files differ from the generator's output:\n  " +
              "\n  ".join(differing), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
