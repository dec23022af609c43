import os
import unittest
from collections import Counter

from builder import (FIELD_BOTTOM, FIELD_LEFT, FIELD_RIGHT, FIELD_TOP, BuildError, build_level,
                     _drawn_bounds)
from coverage import covered_by, covers
from levelxml import level_text
from plan import PlanError, parse_plan
from shapes import Cell, ShapeError, grow, parse_shapes
from tune_levels import LevelTuner, closest, picture_range, rewrite_plan, scheduled_cards
from win_rates import LEVELS, check_curve, read_table

BLOCK = """
shape block
layer
|[][][]
|
|[][][]
|
|[][][]
"""


def full_plan(extra=""):
    lines = [f"one {n} block 0 3 10 - 0" for n in range(1, 61)]
    lines += [f"two {n} block 0 3 10 - 0" for n in range(1, 51)]
    return "\n".join(lines) + "\n" + extra


class ShapeTest(unittest.TestCase):
    def test_parsing_reads_stones_and_rejects_overlaps(self):
        shapes = parse_shapes("shape s\nlayer\n|[]  []\n|  []\nlayer\n| []\n")
        self.assertEqual(shapes["s"].layers[0], [Cell(0, 0), Cell(4, 0), Cell(2, 1)])
        self.assertEqual(shapes["s"].layers[1], [Cell(1, 0)])
        # A staircase of half-line steps two characters apart does not overlap.
        parse_shapes("shape stairs\nlayer\n|[]\n|  []\n|    []\n")
        for text, message in [("shape s\nlayer\n|[]\n| []\n", "overlap"),
                              ("shape s\nlayer\n|[]\n|\n|[\n", "without"),
                              ("shape s\nlayer\n|[]x\n", "unexpected"),
                              ("shape s\nlayer\n", "no stones"),
                              ("|[]\n", "outside a layer"),
                              ("shape a\nlayer\n|[]\nshape a\nlayer\n|[]\n", "twice")]:
            with self.subTest(text=text):
                with self.assertRaisesRegex(ShapeError, message):
                    parse_shapes(text)

    def test_grow_builds_pyramid_steps_and_ridges(self):
        block = parse_shapes(BLOCK)["block"]
        grown = grow(block, 5)
        self.assertEqual(len(grown.layers), 3)
        self.assertEqual(grown.layers[1], [Cell(1, 1), Cell(3, 1), Cell(1, 3), Cell(3, 3)])
        self.assertEqual(grown.layers[2], [Cell(2, 2)])
        # A single row gets a ridge of stones bridging two neighbours.
        row = parse_shapes("shape row\nlayer\n|[][][]\n")["row"]
        self.assertEqual(grow(row, 1).layers[1], [Cell(1, 0), Cell(3, 0)])
        # A brick pattern grows too: stones bridging three stones come first.
        brick = parse_shapes("shape b\nlayer\n| [][]\n|\n|[][][]\n")["b"]
        self.assertEqual(grow(brick, 1).layers[1], [Cell(1, 1), Cell(3, 1)])


class CoverageTest(unittest.TestCase):
    def test_seven_point_rule(self):
        self.assertTrue(covers((0, 0), (45, 0)))
        self.assertTrue(covers((0, 0), (79, 0)))
        self.assertFalse(covers((0, 0), (80, 0)))
        self.assertTrue(covers((0, 0), (0, 49)))
        self.assertFalse(covers((0, 0), (0, 50)))
        self.assertTrue(covers((0, 0), (-40, -25)))
        # Only higher layers cover; a stone beside another on its own layer stays open.
        stones = [(0, 100, 100), (0, 140, 100), (1, 120, 112)]
        self.assertEqual(covered_by(stones), [[2], [2], []])


class BuilderTest(unittest.TestCase):
    def setUp(self):
        self.shape = grow(parse_shapes(BLOCK)["block"], 1)

    def plan(self, **changes):
        plan = parse_plan(full_plan())[0]
        for key, value in changes.items():
            setattr(plan, key, value)
        return plan

    def test_level_is_centred_and_keys_lie_open(self):
        level = build_level(self.shape, self.plan(locked_stones=4, lock_kinds=2, jokers=2,
                                                  pictures=7))
        left, top, right, bottom = _drawn_bounds(level.stones)
        left, right = left + level.shift_x, right + level.shift_x
        top, bottom = top + level.shift_y, bottom + level.shift_y
        self.assertGreaterEqual(left, FIELD_LEFT)
        self.assertLessEqual(right, FIELD_RIGHT)
        self.assertGreaterEqual(top, FIELD_TOP)
        self.assertLessEqual(bottom, FIELD_BOTTOM)
        self.assertLessEqual(abs((left - FIELD_LEFT) - (FIELD_RIGHT - right)), 1)

        centres = [(s.layer, *s.centre(level.shift_x, level.shift_y)) for s in level.stones]
        above = covered_by(centres)
        keys = [i for i, s in enumerate(level.stones) if s.key >= 0]
        self.assertEqual(sorted(level.stones[i].key for i in keys), [0, 1])
        for i in keys:
            self.assertEqual(above[i], [], "a key must not start covered")
            self.assertEqual(level.stones[i].lock, -1)
            self.assertFalse(level.stones[i].joker)
        self.assertEqual(sorted(s.lock for s in level.stones if s.lock >= 0), [0, 0, 1, 1])
        self.assertEqual(sum(s.joker for s in level.stones), 2)
        self.assertEqual(len(level.pictures), 7)
        self.assertEqual(len(set(level.pictures)), 7)
        self.assertIn(level.music, (1, 2, 4, 5))

    def test_same_plan_gives_same_level_and_seed_changes_it(self):
        first = level_text(build_level(self.shape, self.plan(locked_stones=3, lock_kinds=1)))
        again = level_text(build_level(self.shape, self.plan(locked_stones=3, lock_kinds=1)))
        other = level_text(build_level(self.shape, self.plan(locked_stones=3, lock_kinds=1,
                                                             seed="x")))
        self.assertEqual(first, again)
        self.assertNotEqual(first, other)

    def test_impossible_plans_are_refused(self):
        row = parse_shapes("shape row\nlayer\n|[]\n")["row"]
        with self.assertRaisesRegex(BuildError, "open stones"):
            build_level(row, self.plan(locked_stones=2, lock_kinds=2))
        with self.assertRaisesRegex(BuildError, "too many"):
            build_level(self.shape, self.plan(jokers=20))
        wide = parse_shapes("shape w\nlayer\n|" + "[]" * 9 + "\n")["w"]
        with self.assertRaisesRegex(BuildError, "larger than the field"):
            build_level(wide, self.plan())
        with self.assertRaisesRegex(BuildError, "not a level song"):
            build_level(self.shape, self.plan(music=3))


class LevelTextTest(unittest.TestCase):
    def test_text_has_the_editors_grid(self):
        shape = parse_shapes("shape s\nlayer\n|  []\n|\n|    []\nlayer\n|   []\n")["s"]
        plan = parse_plan(full_plan())[0]
        plan.locked_stones, plan.lock_kinds = 1, 1
        level = build_level(shape, plan)
        text = level_text(level)
        lines = text.splitlines()
        self.assertEqual(lines[0], '<?xml version="1.0"?>')
        self.assertRegex(lines[1], r'^<Level Typs="\d+,\d+,\d+" ShiftX="-?\d+" ShiftY="-?\d+" '
                                   r'Background="[^"]+" Music="\d" CardsInDeck="10">$')
        rows = [line for line in lines if line.startswith("\t\t\t<l>")]
        self.assertEqual(len(rows), 40)
        self.assertTrue(all(len(row) == len("\t\t\t<l></l>") + 44 for row in rows))
        # Layer 0: the stones of columns 0 and 4 (characters) in rows 0 and 2; layer 1 one.
        self.assertTrue(rows[0][6:].startswith("["))
        self.assertEqual(rows[2][6 + 4], "[")
        self.assertEqual(sum(row.count("[") for row in rows), 3)
        self.assertEqual(text.count("[K0]"), 1)
        self.assertEqual(text.count("[L0]"), 1)


class PlanTest(unittest.TestCase):
    def test_reads_options_and_requires_every_level_once(self):
        plans = parse_plan(full_plan().replace("one 7 block 0 3 10 - 0",
                                               "one 7 block 1 5 8 4/2 1 music=4 seed=abc "
                                               "background=3  # comment"))
        seventh = plans[6]
        self.assertEqual((seventh.grow, seventh.pictures, seventh.cards), (1, 5, 8))
        self.assertEqual((seventh.locked_stones, seventh.lock_kinds, seventh.jokers), (4, 2, 1))
        self.assertEqual((seventh.music, seventh.seed, seventh.background), (4, "abc", 3))
        self.assertEqual(seventh.page, 1)
        for text, message in [(full_plan().replace("one 60 ", "one 61 "), "from 1 to 60"),
                              (full_plan().replace("two 50 block 0 3 10 - 0\n", ""), "lacks"),
                              (full_plan("one 1 block 0 3 10 - 0"), "twice"),
                              (full_plan().replace("one 3 block 0 3 10 -",
                                                   "one 3 block 0 3 10 2"), "STONES/KINDS"),
                              (full_plan().replace("one 3 block 0 3 10 -",
                                                   "one 3 block 0 3 10 1/2"), "more lock kinds"),
                              (full_plan().replace("one 3 block 0 3", "one 3 block 0 1"),
                               "pictures"),
                              (full_plan("three 1 block 0 3 10 - 0"), "unknown set")]:
            with self.subTest(message=message):
                with self.assertRaisesRegex(PlanError, message):
                    parse_plan(text)


class CommittedSetsTest(unittest.TestCase):
    """The committed level table and win-rate table keep the shape variety and the curve."""

    def read(self, name):
        with open(os.path.join(LEVELS, name), encoding="utf-8") as f:
            return f.read()

    def test_many_shapes_each_used_at_most_three_times(self):
        uses = Counter(plan.shape for plan in parse_plan(self.read("levels.txt")))
        self.assertGreaterEqual(len(uses), 55)
        self.assertLessEqual(max(uses.values()), 3, uses.most_common(3))

    def test_win_rates_follow_the_curve(self):
        sets = read_table(self.read("WINRATES.md"))
        self.assertEqual(sorted(sets), ["Levels1", "Levels2"])
        for folder, count in (("Levels1", 60), ("Levels2", 50)):
            with self.subTest(folder=folder):
                rates = sets[folder]
                self.assertEqual(len(rates["casual"]), count)
                self.assertEqual(len(rates["careful"]), count)
                self.assertEqual(check_curve(rates["casual"], rates["careful"]), [])


class CurveCheckTest(unittest.TestCase):
    def test_rises_ends_and_lost_levels_are_reported(self):
        smooth = [0.96 - 0.01 * n for n in range(60)]
        self.assertEqual(check_curve(smooth, [1.0] * 60), [])
        bumpy = smooth[:30] + [smooth[30] + 0.2] + smooth[31:]
        self.assertRegex(" ".join(check_curve(bumpy, [])), "rises from 67% on level 30")
        self.assertRegex(" ".join(check_curve(smooth[:-1] + [0.1], [])), "last level in 10%")
        self.assertRegex(" ".join(check_curve([0.8] + smooth[1:], [])), "level 1 in only 80%")
        careful = [1.0] * 59 + [0.0]
        self.assertRegex(" ".join(check_curve(smooth, careful)), "level 60 is lost")


class FakeTuner(LevelTuner):
    """A tuner whose level gets harder with every picture and grown layer and easier with
    every deck stone, without playing."""

    def __init__(self, picture_cost, grow_cost):
        super().__init__(None, parse_shapes(BLOCK), 0, 1, None)
        self.picture_cost, self.grow_cost = picture_cost, grow_cost

    def rate(self, plan):
        return min(1.0, max(0.0, 1.2 + 0.02 * plan.cards - self.picture_cost * plan.pictures -
                            self.grow_cost * plan.grow))


class TuneLevelsTest(unittest.TestCase):
    def plan(self):
        return parse_plan(full_plan())[9]

    def test_deck_falls_from_first_to_last_and_pictures_rise_a_few_at_a_time(self):
        decks = [scheduled_cards(n, 60, 20, 8) for n in range(1, 61)]
        self.assertEqual((decks[0], decks[-1]), (20, 8))
        self.assertEqual(decks, sorted(decks, reverse=True))
        self.assertEqual(picture_range(3), (3, 6))
        self.assertEqual(picture_range(25), (18, 26))

    def test_pictures_first_then_hidden_layers_then_a_smaller_deck(self):
        plan = self.plan()
        # Pictures alone reach the target: the shape stays as it is.
        self.assertAlmostEqual(FakeTuner(0.05, 0.1).tune(plan, 0.8, 10, 12, 5), 0.79)
        self.assertEqual((plan.grow, plan.pictures, plan.cards), (0, 13, 12))
        # Too easy with every picture allowed: the block grows its two layers.
        self.assertAlmostEqual(FakeTuner(0.03, 0.1).tune(plan, 0.82, 10, 12, 5), 0.85)
        self.assertEqual((plan.grow, plan.pictures, plan.cards), (2, 13, 12))
        # Still too easy with every layer grown: only then does the deck shrink.
        plan = self.plan()
        self.assertAlmostEqual(FakeTuner(0.03, 0.0).tune(plan, 0.8, 10, 12, 5), 0.91)
        self.assertEqual((plan.grow, plan.pictures, plan.cards), (2, 13, 5))
        # A level meant to be nearly always won keeps its shape and deck however easy it is.
        plan = self.plan()
        FakeTuner(0.0, 0.0).tune(plan, 0.95, 10, 12, 5)
        self.assertEqual((plan.grow, plan.pictures, plan.cards), (0, 13, 12))


class TuneCardsTest(unittest.TestCase):
    def test_bisection_finds_the_closest_value(self):
        tried = []

        def rate(cards):
            tried.append(cards)
            return min(1.0, cards / 20)

        self.assertEqual(closest(rate, 0.5, 0, 30, True), (10, 0.5))
        self.assertLessEqual(len(tried), 7)
        self.assertEqual(closest(lambda p: 1 - p / 10, 0.65, 3, 10, False)[0], 3)
        # Where the rate does not change, the preferred value wins.
        self.assertEqual(closest(lambda p: 1.0, 0.9, 3, 20, False, preferred=9)[0], 9)

    def test_rewrite_changes_only_the_tuned_columns(self):
        plans = parse_plan(full_plan().replace("one 7 block 0 3 10 - 0",
                                               "one 7 block 1 5 8 4/2 1 music=4"))
        plans[6].grow, plans[6].pictures, plans[6].cards = 2, 12, 3
        text = rewrite_plan(full_plan().replace("one 7 block 0 3 10 - 0",
                                                "one 7 block 1 5 8 4/2 1 music=4"), [plans[6]])
        seventh = parse_plan(text)[6]
        self.assertEqual((seventh.pictures, seventh.cards, seventh.grow), (12, 3, 2))
        self.assertEqual((seventh.locked_stones, seventh.lock_kinds, seventh.music), (4, 2, 4))
        self.assertEqual(parse_plan(text)[5].cards, 10)
        plans[6].locked_stones, plans[6].jokers = 6, 0
        seventh = parse_plan(rewrite_plan(text, [plans[6]]))[6]
        self.assertEqual((seventh.locked_stones, seventh.lock_kinds, seventh.jokers), (6, 2, 0))


if __name__ == "__main__":
    unittest.main()
