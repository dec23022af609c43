"""Stone layouts drawn as text.

A shape file holds named shapes. Inside a shape, "layer" starts a new layer (the first is the
bottom one) and every following line that starts with "|" is one line of that layer. After the
"|" one character is 40 pixels across (half a stone) and one line is 25 pixels down (half a
stone); "[]" marks one lying stone whose top-left corner is where the "[" stands. "grow N"
adds N layers on top, each made of the stones that rest on four stones of the layer below, so
a block becomes a pyramid. Lines starting with "#" are comments.
"""

from dataclasses import dataclass, field


class ShapeError(ValueError):
    pass


@dataclass(frozen=True, order=True)
class Cell:
    """A stone's top-left corner in half-stone units."""

    column: int
    line: int


@dataclass
class Shape:
    name: str
    layers: list = field(default_factory=list)

    def stone_count(self):
        return sum(len(layer) for layer in self.layers)


def stones_overlap(a, b):
    """Two stones of one layer overlap when their 80 x 50 boxes share area."""
    return abs(a.column - b.column) < 2 and abs(a.line - b.line) < 2


def grown_layer(below):
    """The next layer up: stones that lie wholly on stones of `below`. Stones bridging three
    or four stones come first, so a block of stones gets one stone on every crossing of four
    (a pyramid step); then stones bridging two fill what is left, so thin rows get a ridge.
    Within each pass the stones are taken line by line from the top left while they do not
    overlap."""
    covered = set()
    for cell in below:
        covered.update((cell.column + dc, cell.line + dl) for dc in (0, 1) for dl in (0, 1))
    candidates = sorted({Cell(c - dc, l - dl) for c, l in covered for dc in (0, 1)
                         for dl in (0, 1)}, key=lambda c: (c.line, c.column))
    supported = [cell for cell in candidates
                 if all((cell.column + dc, cell.line + dl) in covered
                        for dc in (0, 1) for dl in (0, 1))]
    bridged = {cell: sum(1 for other in below if stones_overlap(cell, other))
               for cell in supported}
    grown = []
    for minimum in (3, 2):
        for cell in supported:
            if bridged[cell] >= minimum and cell not in grown and \
                    not any(stones_overlap(cell, other) for other in grown):
                grown.append(cell)
    return sorted(grown, key=lambda c: (c.line, c.column))


def grow(shape, count):
    """A copy of `shape` with `count` more layers grown on its top layer."""
    layers = [list(layer) for layer in shape.layers]
    for _ in range(count):
        if not layers or not layers[-1]:
            break
        top = grown_layer(layers[-1])
        if not top:
            break
        layers.append(top)
    return Shape(shape.name, layers)


def _parse_layer_line(text, line, shape_name):
    cells = []
    column = 0
    while column < len(text):
        char = text[column]
        if char == "[":
            if column + 1 >= len(text) or text[column + 1] != "]":
                raise ShapeError(f"shape {shape_name}: '[' without ']' in line {line}")
            cells.append(Cell(column, line))
            column += 2
        elif char in " .":
            column += 1
        else:
            raise ShapeError(f"shape {shape_name}: unexpected {char!r} in line {line}")
    return cells


def _check_layer(shape_name, index, cells):
    ordered = sorted(cells, key=lambda c: (c.line, c.column))
    for i, a in enumerate(ordered):
        for b in ordered[i + 1:]:
            if b.line - a.line >= 2:
                break
            if stones_overlap(a, b):
                raise ShapeError(
                    f"shape {shape_name}: stones at {a.column},{a.line} and "
                    f"{b.column},{b.line} overlap in layer {index}")


def parse_shapes(text):
    """Reads a shape file into a dict of name to Shape, in file order."""
    shapes = {}
    current = None
    line_in_layer = 0
    pending_grow = {}

    def finish(shape):
        if shape is None:
            return
        if not shape.layers or not any(shape.layers):
            raise ShapeError(f"shape {shape.name} has no stones")
        for index, layer in enumerate(shape.layers):
            _check_layer(shape.name, index, layer)
        grown = grow(shape, pending_grow.get(shape.name, 0))
        shapes[shape.name] = grown

    for number, raw in enumerate(text.splitlines(), 1):
        stripped = raw.strip()
        if raw.startswith("|"):
            if current is None or not current.layers:
                raise ShapeError(f"line {number}: a layer line outside a layer")
            current.layers[-1].extend(_parse_layer_line(raw[1:].rstrip(), line_in_layer,
                                                        current.name))
            line_in_layer += 1
            continue
        if not stripped or stripped.startswith("#"):
            continue
        words = stripped.split()
        if words[0] == "shape" and len(words) == 2:
            finish(current)
            if words[1] in shapes:
                raise ShapeError(f"line {number}: shape {words[1]} defined twice")
            current = Shape(words[1])
        elif words[0] == "layer" and len(words) == 1 and current is not None:
            current.layers.append([])
            line_in_layer = 0
        elif words[0] == "grow" and len(words) == 2 and current is not None:
            if not words[1].isdigit():
                raise ShapeError(f"line {number}: grow needs a count")
            pending_grow[current.name] = int(words[1])
        else:
            raise ShapeError(f"line {number}: cannot read {stripped!r}")
    finish(current)
    return shapes
