"""Turns a shape and a level plan into the stones and attributes of one level file."""

import random
from dataclasses import dataclass, field

from coverage import open_at_start

# The level scenes under images/, made by assets/art.
BACKGROUNDS = ["bg_harbour.png", "bg_olive_grove.png", "bg_temple.png", "bg_reef.png",
               "bg_agora.png", "bg_lighthouse.png", "bg_vineyard.png", "bg_cliffs.png"]

# The songs a level may play; the others belong to the menus and the map.
LEVEL_SONGS = (1, 2, 4, 5)

# Where stones may be drawn: clear of the top bar, the bottom panel with the play line, the
# piles along the left edge and the combo meter on the right.
FIELD_LEFT, FIELD_TOP, FIELD_RIGHT, FIELD_BOTTOM = 120, 40, 735, 515
LAYER_STEP = 7

GRID_COLUMNS = 44
GRID_ROWS = 20
PICTURE_COUNT = 26


class BuildError(ValueError):
    pass


@dataclass
class PlacedStone:
    layer: int
    column: int  # writer grid column of the '['
    row: int
    joker: bool = False
    lock: int = -1
    key: int = -1

    def centre(self, shift_x, shift_y):
        return 20 * self.column + 40 + shift_x, 25 * self.row + 25 + shift_y


@dataclass
class Level:
    pictures: list
    shift_x: int
    shift_y: int
    background: str
    music: int
    cards: int
    layer_count: int
    stones: list = field(default_factory=list)


def _drawn_bounds(stones):
    """Bounding box of the stones as drawn, with each layer's offset, before any shift."""
    lefts, tops, rights, bottoms = [], [], [], []
    for stone in stones:
        x, y = stone.centre(0, 0)
        offset = LAYER_STEP * stone.layer
        lefts.append(x - 40 + offset)
        rights.append(x + 40 + offset)
        tops.append(y - 25 - offset)
        bottoms.append(y + 25 - offset)
    return min(lefts), min(tops), max(rights), max(bottoms)


def place_shape(shape):
    """The shape's stones on the writer grid, its top-left stone in column 0 and row 0."""
    cells = [(layer, cell) for layer, cells in enumerate(shape.layers) for cell in cells]
    min_column = min(cell.column for _, cell in cells)
    min_line = min(cell.line for _, cell in cells)
    stones = [PlacedStone(layer, 2 * (cell.column - min_column), cell.line - min_line)
              for layer, cell in cells]
    for stone in stones:
        if stone.column + 4 > GRID_COLUMNS or stone.row >= GRID_ROWS:
            raise BuildError(f"shape {shape.name} does not fit the grid of "
                             f"{GRID_ROWS} rows and {GRID_COLUMNS} columns")
    return stones


def centring_shift(stones, name):
    """ShiftX and ShiftY that centre the drawn stones in the field."""
    left, top, right, bottom = _drawn_bounds(stones)
    width, height = right - left, bottom - top
    if width > FIELD_RIGHT - FIELD_LEFT or height > FIELD_BOTTOM - FIELD_TOP:
        raise BuildError(f"shape {name} is {width} x {height} pixels, larger than the field")
    shift_x = (FIELD_LEFT + FIELD_RIGHT - width) // 2 - left
    shift_y = (FIELD_TOP + FIELD_BOTTOM - height) // 2 - top
    return shift_x, shift_y


def _assign_marks(stones, plan, rng, shift_x, shift_y):
    """Keys on stones that lie open from the start, so no lock can ever bar its own key;
    locks and jokers on other stones."""
    centres = [(s.layer, *s.centre(shift_x, shift_y)) for s in stones]
    open_stones = open_at_start(centres)
    if plan.lock_kinds > len(open_stones):
        raise BuildError(f"level {plan.set_name} {plan.number}: {plan.lock_kinds} keys need "
                         f"as many open stones, the shape has {len(open_stones)}")
    key_stones = rng.sample(open_stones, plan.lock_kinds)
    for kind, index in enumerate(key_stones):
        stones[index].key = kind
    others = [i for i in range(len(stones)) if i not in key_stones]
    if plan.locked_stones + plan.jokers > len(others):
        raise BuildError(f"level {plan.set_name} {plan.number}: too many locks and jokers "
                         f"for {len(stones)} stones")
    chosen = rng.sample(others, plan.locked_stones + plan.jokers)
    for n, index in enumerate(chosen[:plan.locked_stones]):
        stones[index].lock = n % plan.lock_kinds
    for index in chosen[plan.locked_stones:]:
        stones[index].joker = True


def build_level(shape, plan):
    rng = random.Random(f"{plan.set_name}-{plan.number}-{plan.seed}")
    stones = place_shape(shape)
    shift_x, shift_y = centring_shift(stones, shape.name)
    pictures = sorted(rng.sample(range(PICTURE_COUNT), plan.pictures))
    _assign_marks(stones, plan, rng, shift_x, shift_y)

    offset = 0 if plan.set_name == "one" else len(BACKGROUNDS) // 2
    background_index = (plan.background - 1 if plan.background
                        else (plan.number - 1 + offset) % len(BACKGROUNDS))
    if background_index >= len(BACKGROUNDS):
        raise BuildError(f"level {plan.set_name} {plan.number}: no scene {plan.background}")
    music = plan.music or LEVEL_SONGS[(plan.number - 1) % len(LEVEL_SONGS)]
    if music not in LEVEL_SONGS:
        raise BuildError(f"level {plan.set_name} {plan.number}: song {music} is not a level song")
    return Level(pictures, shift_x, shift_y, BACKGROUNDS[background_index], music, plan.cards,
                 len(shape.layers), stones)
