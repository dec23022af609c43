"""Which stones cover which, by the game's seven-point rule."""

# The points tested around a higher stone's centre, and the half box of a lower stone.
_TEST_POINTS = ((-20, 0), (20, 0), (0, 0), (-39, -24), (39, -24), (-39, 24), (39, 24))
_HALF_WIDTH = 40
_HALF_HEIGHT = 25


def covers(upper, lower):
    """Whether the stone centred at `upper` covers the one centred at `lower` (x, y pairs),
    the upper one lying on a higher layer."""
    ux, uy = upper
    lx, ly = lower
    return any(abs(ux + dx - lx) <= _HALF_WIDTH and abs(uy + dy - ly) <= _HALF_HEIGHT
               for dx, dy in _TEST_POINTS)


def covered_by(stones):
    """For stones given as (layer, x, y), the indices of the stones on higher layers that
    cover each one."""
    result = [[] for _ in stones]
    for i, (layer, x, y) in enumerate(stones):
        for j, (other_layer, ox, oy) in enumerate(stones):
            if other_layer > layer and covers((ox, oy), (x, y)):
                result[i].append(j)
    return result


def open_at_start(stones):
    """Indices of the stones that nothing covers before the first move."""
    return [i for i, above in enumerate(covered_by(stones)) if not above]
