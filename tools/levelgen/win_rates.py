#!/usr/bin/env python3
"""Plays every level of both sets with the automatic player and writes the win-rate table.

    win_rates.py --quarrow-levels BUILD/quarrow-levels [--games 20] [--seed 1]
                 [--sets one,two] [--out assets/levels/WINRATES.md]

It runs one game process at a time at the lowest priority, so it shares the machine politely;
expect it to take a while. It checks the curve the sets should have (the first levels won in
most games, difficulty rising on the whole, no level lost in every game) and exits with 1 when
one of these fails, after writing the table.
"""

import argparse
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVELS = os.path.join(ROOT, "assets", "levels")
SETS = {"one": ("Levels1", 60, "One-Side Solitaire"), "two": ("Levels2", 50, "Two-Side Solitaire")}
FIRST_LEVELS = 5
FIRST_LEVELS_MINIMUM = 0.75


def dump(tool, path):
    """Stone, layer, picture, card, lock, key and joker counts as the game reads the file."""
    out = subprocess.run([tool, "dump", path], capture_output=True, text=True, check=True).stdout
    info = {"stones": 0, "layers": 0, "pictures": 0, "cards": 0, "locks": 0, "keys": 0,
            "jokers": 0}
    for line in out.splitlines():
        words = line.split()
        if words[0] == "stones":
            info["stones"] = int(words[1])
        elif words[0] == "layers":
            info["layers"] = int(words[1])
        elif words[0] == "pictures":
            info["pictures"] = len(words[1].split(","))
        elif words[0] == "cards":
            info["cards"] = int(words[1])
        elif words[0] == "stone":
            info["jokers"] += words[5] == "1"
            info["locks"] += words[6] != "-1"
            info["keys"] += words[7] != "-1"
    return info


def play(tool, path, mode, level, games, seed):
    """(wins, failed, stuck) over `games` seeded games."""
    result = subprocess.run(["nice", "-n", "19", tool, "play", path, "--mode", mode, "--seed",
                             str(seed), "--games", str(games), "--level", str(level)],
                            capture_output=True, text=True)
    outcomes = re.findall(r": (won|failed|stuck) ", result.stdout)
    if result.returncode not in (0, 3) or not outcomes:
        raise RuntimeError(f"{path}: quarrow-levels play failed: {result.stderr.strip()}")
    return outcomes.count("won"), outcomes.count("failed"), outcomes.count("stuck")


def rank_correlation(values):
    """Spearman's rank correlation of `values` against their position (1 rises throughout,
    -1 falls throughout)."""
    n = len(values)
    if n < 2:
        return 0.0
    order = sorted(range(n), key=lambda i: values[i])
    ranks = [0.0] * n
    i = 0
    while i < n:
        j = i
        while j + 1 < n and values[order[j + 1]] == values[order[i]]:
            j += 1
        for k in range(i, j + 1):
            ranks[order[k]] = (i + j) / 2 + 1
        i = j + 1
    mean = (n + 1) / 2
    cov = sum((r - mean) * (p + 1 - mean) for p, r in enumerate(ranks))
    var_r = sum((r - mean) ** 2 for r in ranks)
    var_p = sum((p + 1 - mean) ** 2 for p in range(n))
    return cov / (var_r * var_p) ** 0.5 if var_r and var_p else 0.0


def check_curve(rates):
    """Problems with one set's win rates (a list of fractions, level 1 first)."""
    problems = []
    for number, rate in enumerate(rates[:FIRST_LEVELS], 1):
        if rate < FIRST_LEVELS_MINIMUM:
            problems.append(f"level {number} is won in only {rate:.0%} of the games")
    for number, rate in enumerate(rates, 1):
        if rate == 0:
            problems.append(f"level {number} is lost in every game")
    if len(rates) >= 10 and rank_correlation([-r for r in rates]) <= 0:
        problems.append("the levels do not get harder on the whole")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quarrow-levels", required=True, dest="tool")
    parser.add_argument("--games", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sets", default="one,two")
    parser.add_argument("--levels", default=os.path.join(LEVELS))
    parser.add_argument("--out", default=os.path.join(LEVELS, "WINRATES.md"))
    args = parser.parse_args()

    sections, problems = [], []
    started = time.time()
    for set_name in args.sets.split(","):
        folder, count, title = SETS[set_name]
        lines = [f"## {title} ({folder})", "",
                 "| level | stones | layers | pictures | cards | locks | keys | jokers | won | "
                 "win rate | seconds |",
                 "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
        rates = []
        for number in range(1, count + 1):
            path = os.path.join(args.levels, folder, f"Level{number}.xml")
            info = dump(args.tool, path)
            level_start = time.time()
            wins, failed, stuck = play(args.tool, path, set_name, number, args.games, args.seed)
            games = wins + failed + stuck
            rates.append(wins / games)
            lines.append(f"| {number} | {info['stones']} | {info['layers']} | "
                         f"{info['pictures']} | {info['cards']} | {info['locks']} | "
                         f"{info['keys']} | {info['jokers']} | {wins}/{games} | "
                         f"{wins / games:.0%} | {time.time() - level_start:.1f} |")
            print(f"{set_name} {number}: {wins}/{games}", file=sys.stderr, flush=True)
        pages = [rates[p:p + 5] for p in range(0, count, 5)]
        lines += ["", "Average win rate by page of five levels: " +
                  ", ".join(f"{p + 1}: {sum(page) / len(page):.0%}"
                            for p, page in enumerate(pages)) + ".", ""]
        problems += [f"{title}: {problem}" for problem in check_curve(rates)]
        sections.append("\n".join(lines))

    header = ["# Win rates of the automatic player", "",
              "Made by `tools/levelgen/win_rates.py --quarrow-levels BUILD/quarrow-levels "
              f"--games {args.games} --seed {args.seed}`: every level played {args.games} times "
              f"by `quarrow-levels play` (seeds {args.seed} to {args.seed + args.games - 1}; "
              "the level number given, so level 1 starts its play line as the game does). "
              "The automatic player looks ahead over the open stones, so it wins more often "
              "than a person; the table shows how the levels compare, not how a person fares.",
              "", f"Run time: {time.time() - started:.0f} s.", ""]
    if problems:
        header += ["Problems:", ""] + [f"- {p}" for p in problems] + [""]
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(header + sections))
    for problem in problems:
        print(f"win_rates: {problem}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
