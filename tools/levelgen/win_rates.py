#!/usr/bin/env python3
"""Plays every level of both sets with the automatic players and writes the win-rate table.

    win_rates.py --quarrow-levels BUILD/quarrow-levels [--player both|casual|careful]
                 [--casual-games 200] [--games 20] [--seed 1] [--jobs 1]
                 [--sets one,two] [--out assets/levels/WINRATES.md]

The casual player (as a person plays) sets the curve; the careful one, which looks far ahead,
shows that every level can be won. The game processes run at the lowest priority, so they
share the machine politely; the careful player takes a while. After writing the table it
checks the curve (see check_curve) and exits with 1 when it fails.
"""

import argparse
import os
import re
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEVELS = os.path.join(ROOT, "assets", "levels")
SETS = {"one": ("Levels1", 60, "One-Side Solitaire"), "two": ("Levels2", 50, "Two-Side Solitaire")}
FIRST_LEVELS = 5
FIRST_LEVELS_MINIMUM = 0.75
# The casual player's curve: level 1 about 95 %, the last level about 30 to 40 %, never a rise
# of more than 15 points from one level to the next.
CASUAL_FIRST_MINIMUM = 0.9
CASUAL_LAST_RANGE = (0.25, 0.45)
CASUAL_LARGEST_RISE = 0.15
PLAYERS = ("casual", "careful")


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


def play(tool, path, mode, level, games, seed, player="careful"):
    """(wins, failed, stuck) over `games` seeded games."""
    result = subprocess.run(["nice", "-n", "19", tool, "play", path, "--mode", mode, "--seed",
                             str(seed), "--games", str(games), "--level", str(level),
                             "--player", player], capture_output=True, text=True)
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


def check_curve(casual, careful):
    """Problems with one set's win rates (lists of fractions, level 1 first; either list may
    be empty when that player was not run)."""
    problems = []
    rates = casual or careful
    for number, rate in enumerate(rates[:FIRST_LEVELS], 1):
        if rate < FIRST_LEVELS_MINIMUM:
            problems.append(f"level {number} is won in only {rate:.0%} of the games")
    for number, rate in enumerate(careful or casual, 1):
        if rate == 0:
            problems.append(f"level {number} is lost in every game")
    if len(rates) >= 10 and rank_correlation([-r for r in rates]) <= 0:
        problems.append("the levels do not get harder on the whole")
    if casual:
        if casual[0] < CASUAL_FIRST_MINIMUM:
            problems.append(f"the casual player wins level 1 in only {casual[0]:.0%}")
        low, high = CASUAL_LAST_RANGE
        if not low <= casual[-1] <= high:
            problems.append(f"the casual player wins the last level in {casual[-1]:.0%}, "
                            f"not {low:.0%} to {high:.0%}")
        for number in range(1, len(casual)):
            if casual[number] - casual[number - 1] > CASUAL_LARGEST_RISE + 1e-9:
                problems.append(f"the casual player's rate rises from {casual[number - 1]:.0%} "
                                f"on level {number} to {casual[number]:.0%} on the next")
    return problems


def read_table(text):
    """{set folder: {player: [rates]}} from a table this script wrote."""
    sets = {}
    current = None
    for line in text.splitlines():
        heading = re.match(r"## .*\((Levels\d)\)", line)
        if heading:
            current = sets.setdefault(heading.group(1), {player: [] for player in PLAYERS})
            columns = []
        elif current is not None and line.startswith("| level"):
            columns = [c.strip() for c in line.strip("|").split("|")]
        elif current is not None and re.match(r"\| \d+ \|", line):
            cells = dict(zip(columns, (c.strip() for c in line.strip("|").split("|"))))
            for player in PLAYERS:
                won = cells.get(f"{player} won")
                if won:
                    wins, games = won.split("/")
                    current[player].append(int(wins) / int(games))
    return sets


def play_set(tool, levels, set_name, players, seed, jobs):
    """{player: [(wins, games)]} for every level of one set."""
    folder, count, _ = SETS[set_name]
    results = {}
    with ThreadPoolExecutor(jobs) as pool:
        for player, player_games in players:
            futures = [pool.submit(play, tool, os.path.join(levels, folder, f"Level{n}.xml"),
                                   set_name, n, player_games, seed, player)
                       for n in range(1, count + 1)]
            results[player] = []
            for number, future in enumerate(futures, 1):
                wins, failed, stuck = future.result()
                results[player].append((wins, wins + failed + stuck))
                print(f"{set_name} {number} {player}: {wins}/{wins + failed + stuck}",
                      file=sys.stderr, flush=True)
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--quarrow-levels", required=True, dest="tool")
    parser.add_argument("--player", choices=("both",) + PLAYERS, default="both")
    parser.add_argument("--casual-games", type=int, default=200)
    parser.add_argument("--games", type=int, default=20, help="games of the careful player")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--sets", default="one,two")
    parser.add_argument("--levels", default=os.path.join(LEVELS))
    parser.add_argument("--out", default=os.path.join(LEVELS, "WINRATES.md"))
    args = parser.parse_args()

    players = [(p, args.casual_games if p == "casual" else args.games) for p in PLAYERS
               if args.player in ("both", p)]
    sections, problems = [], []
    started = time.time()
    for set_name in args.sets.split(","):
        folder, count, title = SETS[set_name]
        results = play_set(args.tool, args.levels, set_name, players, args.seed,
                           args.jobs)
        names = [p for p, _ in players]
        lines = [f"## {title} ({folder})", "",
                 "| level | stones | layers | pictures | cards | locks | keys | jokers | " +
                 " | ".join(f"{p} won | {p} rate" for p in names) + " |",
                 "|---:" * (8 + 2 * len(names)) + "|"]
        rates = {p: [w / g for w, g in results[p]] for p in names}
        for number in range(1, count + 1):
            info = dump(args.tool, os.path.join(args.levels, folder, f"Level{number}.xml"))
            cells = [str(number)] + [str(info[k]) for k in ("stones", "layers", "pictures",
                                                            "cards", "locks", "keys", "jokers")]
            for p in names:
                wins, games = results[p][number - 1]
                cells += [f"{wins}/{games}", f"{wins / games:.0%}"]
            lines.append("| " + " | ".join(cells) + " |")
        for p in names:
            pages = [rates[p][i:i + 5] for i in range(0, count, 5)]
            lines += ["", f"Average {p} win rate by page of five levels: " +
                      ", ".join(f"{i + 1}: {sum(page) / len(page):.0%}"
                                for i, page in enumerate(pages)) + "."]
        lines.append("")
        problems += [f"{title}: {problem}" for problem in
                     check_curve(rates.get("casual", []), rates.get("careful", []))]
        sections.append("\n".join(lines))

    command = (f"tools/levelgen/win_rates.py --quarrow-levels BUILD/quarrow-levels --player "
               f"{args.player} --casual-games {args.casual_games} --games {args.games} "
               f"--seed {args.seed} --jobs {args.jobs}")
    header = ["# Win rates of the automatic players", "",
              f"Made by `{command}`: every level played by `quarrow-levels play` with seeds "
              f"from {args.seed} on (the level number given, so level 1 starts its play line "
              "as the game does). The casual player sees only the open stones and looks one "
              f"step ahead, as a person tends to ({args.casual_games} games a level); its rate "
              "should fall smoothly from about 95 % to 30-40 %. The careful player looks far "
              f"ahead ({args.games} games a level) and must win every level at least once.",
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
