"""Writes a level as text in exactly the form the game's level editor writes it, so a level
read and written back by the game comes out unchanged."""

from builder import GRID_COLUMNS, GRID_ROWS

EMPTY_ROW = ".," * (GRID_COLUMNS // 2)


def _marker(stone):
    if stone.joker:
        return "JJ"
    if stone.lock >= 0:
        return f"L{stone.lock}"
    if stone.key >= 0:
        return f"K{stone.key}"
    return "=="


def layer_rows(stones, layer):
    rows = [list(EMPTY_ROW) for _ in range(GRID_ROWS)]
    for stone in stones:
        if stone.layer != layer:
            continue
        row = rows[stone.row]
        if any(row[c] not in ".," for c in range(stone.column, stone.column + 4)):
            raise ValueError(f"two stones share columns {stone.column}..{stone.column + 3} "
                             f"of row {stone.row} in layer {layer}")
        row[stone.column:stone.column + 4] = "[" + _marker(stone) + "]"
    return ["".join(row) for row in rows]


def level_text(level):
    attributes = [
        ("Typs", ",".join(str(p) for p in level.pictures)),
        ("ShiftX", str(level.shift_x)),
        ("ShiftY", str(level.shift_y)),
        ("Background", level.background),
        ("Music", str(level.music)),
        ("CardsInDeck", str(level.cards)),
    ]
    lines = ['<?xml version="1.0"?>',
             "<Level" + "".join(f' {name}="{value}"' for name, value in attributes) + ">",
             "\t<Layers>"]
    for layer in range(level.layer_count):
        lines.append("\t\t<Layer>")
        lines.extend(f"\t\t\t<l>{row}</l>" for row in layer_rows(level.stones, layer))
        lines.append("\t\t</Layer>")
    lines += ["\t</Layers>", "</Level>"]
    return "\n".join(lines) + "\n"
