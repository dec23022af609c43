"""The level table: one line per level naming its shape and how hard it is.

Columns: set (one or two), level number, shape, extra grown layers, number of pictures, cards
in the deck, locks ("-" for none, or STONES/KINDS such as 4/2), jokers on the field; then
optional key=value words: music=N, background=N (1-based index into the scene list), seed=TEXT
(changes the random choices of this level only).
"""

from dataclasses import dataclass

SETS = {"one": 60, "two": 50}


class PlanError(ValueError):
    pass


@dataclass
class LevelPlan:
    set_name: str
    number: int
    shape: str
    grow: int
    pictures: int
    cards: int
    locked_stones: int = 0
    lock_kinds: int = 0
    jokers: int = 0
    music: int = 0
    background: int = 0
    seed: str = ""

    @property
    def page(self):
        return (self.number - 1) // 5


def _number(text, what, line, minimum, maximum):
    if not text.isdigit() or not minimum <= int(text) <= maximum:
        raise PlanError(f"line {line}: {what} must be a number from {minimum} to {maximum}, "
                        f"not {text!r}")
    return int(text)


def _locks(text, line):
    if text == "-":
        return 0, 0
    stones, sep, kinds = text.partition("/")
    if not sep:
        raise PlanError(f"line {line}: locks are written STONES/KINDS, not {text!r}")
    stones = _number(stones, "locked stones", line, 1, 60)
    kinds = _number(kinds, "lock kinds", line, 1, 3)
    if kinds > stones:
        raise PlanError(f"line {line}: more lock kinds than locked stones")
    return stones, kinds


def parse_plan(text):
    """Reads the table into a list of LevelPlan; every level of both sets must appear once."""
    plans = []
    seen = set()
    for line, raw in enumerate(text.splitlines(), 1):
        content = raw.split("#", 1)[0].split()
        if not content:
            continue
        if len(content) < 8:
            raise PlanError(f"line {line}: expected at least 8 columns")
        set_name = content[0]
        if set_name not in SETS:
            raise PlanError(f"line {line}: unknown set {set_name!r}")
        number = _number(content[1], "level", line, 1, SETS[set_name])
        if (set_name, number) in seen:
            raise PlanError(f"line {line}: level {set_name} {number} appears twice")
        seen.add((set_name, number))
        locked, kinds = _locks(content[6], line)
        plan = LevelPlan(set_name, number, content[2],
                         grow=_number(content[3], "grow", line, 0, 5),
                         pictures=_number(content[4], "pictures", line, 2, 26),
                         cards=_number(content[5], "cards", line, 0, 99),
                         locked_stones=locked, lock_kinds=kinds,
                         jokers=_number(content[7], "jokers", line, 0, 20))
        for word in content[8:]:
            key, sep, value = word.partition("=")
            if not sep:
                raise PlanError(f"line {line}: expected key=value, not {word!r}")
            if key == "music":
                plan.music = _number(value, "music", line, 0, 5)
            elif key == "background":
                plan.background = _number(value, "background", line, 1, 99)
            elif key == "seed":
                plan.seed = value
            else:
                raise PlanError(f"line {line}: unknown option {key!r}")
        plans.append(plan)
    for set_name, count in SETS.items():
        missing = [n for n in range(1, count + 1) if (set_name, n) not in seen]
        if missing:
            raise PlanError(f"set {set_name} lacks levels {missing}")
    return plans
