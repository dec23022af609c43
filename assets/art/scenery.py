"""Building blocks of painted scenes: skies, seas, hills, trees, temples, boats, light.

Everything is deterministic: random shapes come from a seeded generator.
"""

import math
import random

from svgkit import (INK, circle, ellipse, fmt, group, linear, mix, noise_filter, path, polygon,
                    radial, rect, smooth)


def sky(p, w, h, stops):
    defs = linear(f"{p}sky", stops, 0, 0, 0, 1)
    return defs, rect(0, 0, w, h, fill=f"url(#{p}sky)")


def glow(p, cx, cy, r, colour, opacity=0.8):
    defs = radial(f"{p}glow", [(0, colour, opacity), (0.4, colour, opacity * 0.45),
                               (1, colour, 0)])
    return defs, circle(cx, cy, r, fill=f"url(#{p}glow)")


def clouds(p, w, y0, y1, count, colour, opacity, seed, blur=6):
    rng = random.Random(seed)
    defs = (f'<filter id="{p}cl" x="-30%" y="-60%" width="160%" height="220%">'
            f'<feGaussianBlur stdDeviation="{blur}"/></filter>')
    body = ""
    for _ in range(count):
        cx = rng.uniform(0, w)
        cy = rng.uniform(y0, y1)
        for k in range(4):
            body += ellipse(cx + rng.uniform(-50, 50), cy + rng.uniform(-6, 6), rng.uniform(40, 90),
                            rng.uniform(8, 16), fill=colour, opacity=fmt(opacity))
    return defs, group(body, filter=f"url(#{p}cl)")


def ridge(w, base, amplitude, seed, step=40, roughness=0.5):
    """Points of a hill line across the width."""
    rng = random.Random(seed)
    pts = []
    x = -step
    phase = rng.uniform(0, 6.28)
    while x <= w + step:
        y = (base - amplitude * (0.55 + 0.45 * math.sin(x / w * 3.1 + phase)) -
             rng.uniform(0, amplitude * roughness))
        pts.append((x, y))
        x += step
    return pts


def hills(p, w, h, base, amplitude, colours, seed, step=40, roughness=0.5):
    """A hill band from its ridge down to the bottom of the picture, shaded top to bottom."""
    top, bottom = colours
    defs = linear(f"{p}hl", [(0, top), (1, bottom)], 0, 0, 0, 1)
    pts = ridge(w, base, amplitude, seed, step, roughness)
    d = smooth(pts, closed=False, tension=0.5)
    d += f" L{fmt(w + step)},{fmt(h)} L{fmt(-step)},{fmt(h)} Z"
    return defs, path(d, fill=f"url(#{p}hl)")


def sea(p, w, y0, y1, top, bottom, seed, lines=40, line_colour="#ffffff", line_opacity=0.25):
    rng = random.Random(seed)
    defs = linear(f"{p}sea", [(0, top), (1, bottom)], 0, 0, 0, 1)
    body = rect(0, y0, w, y1 - y0, fill=f"url(#{p}sea)")
    for _ in range(lines):
        y = rng.uniform(y0 + 4, y1)
        t = (y - y0) / max(1, (y1 - y0))
        length = 20 + 90 * t
        x = rng.uniform(-20, w)
        body += path(f"M{fmt(x)},{fmt(y)} q{fmt(length / 4)},{fmt(-1.5 - 2 * t)} {fmt(length / 2)},0 "
                     f"t{fmt(length / 2)},0", fill="none", stroke=line_colour,
                     stroke_width=fmt(0.6 + 1.2 * t), opacity=fmt(line_opacity * (0.5 + t)))
    return defs, body


def sun_path(p, cx, y_horizon, w, colour, width=60, y_end=None, seed=3):
    """Glitter of the sun or moon on the water below it."""
    rng = random.Random(seed)
    body = ""
    y = y_horizon + 3
    end = y_end or y_horizon + 160
    while y < end:
        t = (y - y_horizon) / (end - y_horizon)
        span = width * (0.3 + t)
        x = cx + rng.uniform(-span, span)
        length = rng.uniform(6, 22) * (0.5 + t)
        body += rect(x - length / 2, y, length, 1.2 + t * 1.5, fill=colour,
                     opacity=fmt(0.55 * (1 - t) + 0.1))
        y += rng.uniform(2, 5)
    return "", body


def cypress(x, y, h, colour, dark):
    w = h * 0.18
    d = (f"M{fmt(x)},{fmt(y - h)} C{fmt(x + w)},{fmt(y - h * 0.7)} {fmt(x + w * 1.1)},{fmt(y - h * 0.2)} "
         f"{fmt(x + w * 0.5)},{fmt(y)} H{fmt(x - w * 0.5)} C{fmt(x - w * 1.1)},{fmt(y - h * 0.2)} "
         f"{fmt(x - w)},{fmt(y - h * 0.7)} {fmt(x)},{fmt(y - h)} Z")
    return path(d, fill=colour) + path(
        f"M{fmt(x + w * 0.1)},{fmt(y - h * 0.9)} C{fmt(x + w * 0.8)},{fmt(y - h * 0.6)} "
        f"{fmt(x + w * 0.8)},{fmt(y - h * 0.25)} {fmt(x + w * 0.4)},{fmt(y - 2)}",
        fill="none", stroke=dark, stroke_width=fmt(w * 0.5), opacity=0.5)


def olive_tree(x, y, s, leaf, leaf_dark, trunk, seed):
    rng = random.Random(seed)
    body = path(f"M{fmt(x - 3 * s)},{fmt(y)} C{fmt(x - 2 * s)},{fmt(y - 12 * s)} {fmt(x - 6 * s)},"
                f"{fmt(y - 18 * s)} {fmt(x - 4 * s)},{fmt(y - 26 * s)} L{fmt(x + 1 * s)},{fmt(y - 24 * s)} "
                f"C{fmt(x + 2 * s)},{fmt(y - 16 * s)} {fmt(x + 5 * s)},{fmt(y - 10 * s)} {fmt(x + 3 * s)},"
                f"{fmt(y)} Z", fill=trunk)
    for _ in range(9):
        cx = x + rng.uniform(-16, 16) * s
        cy = y - rng.uniform(24, 40) * s
        body += ellipse(cx, cy, rng.uniform(7, 12) * s, rng.uniform(4, 7) * s, fill=leaf_dark)
    for _ in range(9):
        cx = x + rng.uniform(-14, 14) * s
        cy = y - rng.uniform(27, 42) * s
        body += ellipse(cx, cy, rng.uniform(5, 9) * s, rng.uniform(3, 5) * s, fill=leaf,
                        opacity=0.9)
    return body


def temple(x, y, w, h, stone, shade, columns=6):
    """A temple front standing on (x, y) (bottom left), w wide and h high."""
    body = ""
    step_h = h * 0.08
    for k in range(3):
        body += rect(x - k * 4, y - step_h * (k + 1), w + k * 8, step_h, fill=mix(stone, shade,
                                                                               0.15 * k))
    col_top = y - h * 0.75
    col_bottom = y - step_h * 3
    cw = w / (columns * 1.6)
    for i in range(columns):
        cx = x + w * (i + 0.5) / columns
        body += rect(cx - cw / 2, col_top, cw, col_bottom - col_top, fill=stone)
        body += rect(cx + cw * 0.1, col_top, cw * 0.4, col_bottom - col_top, fill=shade, opacity=0.5)
        body += rect(cx - cw * 0.7, col_top - 3, cw * 1.4, 3, fill=stone)
    body += rect(x - 4, col_top - h * 0.1, w + 8, h * 0.1 - 3, fill=stone)
    body += rect(x - 4, col_top - h * 0.1, w + 8, 2, fill=shade, opacity=0.5)
    body += path(polygon([(x - 8, col_top - h * 0.1), (x + w / 2, y - h), (x + w + 8,
                                                                          col_top - h * 0.1)]),
                 fill=stone)
    body += path(polygon([(x + 4, col_top - h * 0.1 - 2), (x + w / 2, y - h + 6),
                          (x + w - 4, col_top - h * 0.1 - 2)]), fill=shade, opacity=0.35)
    return body


def white_houses(x, y, count, seed, wall="#f4efe4", shade="#c8c0b0", roof="#3a6ab0",
                 scale=1.0):
    rng = random.Random(seed)
    body = ""
    for i in range(count):
        w = rng.uniform(14, 26) * scale
        h = rng.uniform(10, 20) * scale
        hx = x + rng.uniform(-60, 60) * scale
        hy = y + rng.uniform(-14, 10) * scale
        body += rect(hx, hy - h, w, h, fill=wall)
        body += rect(hx + w * 0.65, hy - h, w * 0.35, h, fill=shade, opacity=0.6)
        if rng.random() < 0.3:
            body += ellipse(hx + w / 2, hy - h, w * 0.35, w * 0.3, fill=roof)
        body += rect(hx + w * 0.3, hy - h * 0.55, w * 0.18, h * 0.3, fill="#2a3a50", opacity=0.6)
    return body


def boat(x, y, s, hull, sail, mast="#3a2410"):
    body = path(f"M{fmt(x - 16 * s)},{fmt(y - 4 * s)} C{fmt(x - 10 * s)},{fmt(y + 2 * s)} "
                f"{fmt(x + 10 * s)},{fmt(y + 2 * s)} {fmt(x + 18 * s)},{fmt(y - 6 * s)} Z", fill=hull)
    body += rect(x - 0.6 * s, y - 30 * s, 1.2 * s, 27 * s, fill=mast)
    body += path(f"M{fmt(x)},{fmt(y - 29 * s)} C{fmt(x + 12 * s)},{fmt(y - 22 * s)} "
                 f"{fmt(x + 12 * s)},{fmt(y - 12 * s)} {fmt(x + 1 * s)},{fmt(y - 7 * s)} Z",
                 fill=sail)
    body += path(f"M{fmt(x - 1 * s)},{fmt(y - 26 * s)} C{fmt(x - 9 * s)},{fmt(y - 19 * s)} "
                 f"{fmt(x - 9 * s)},{fmt(y - 12 * s)} {fmt(x - 1 * s)},{fmt(y - 8 * s)} Z",
                 fill=sail, opacity=0.85)
    return body


def light_rays(p, w, h, x0, count, colour, opacity, seed, spread=1.0):
    rng = random.Random(seed)
    defs = (f'<filter id="{p}ray" x="-20%" y="-20%" width="140%" height="140%">'
            f'<feGaussianBlur stdDeviation="10"/></filter>')
    body = ""
    for _ in range(count):
        x = x0 + rng.uniform(-w * 0.5, w * 0.5) * spread
        width = rng.uniform(20, 60)
        slant = rng.uniform(80, 220)
        body += path(polygon([(x, -10), (x + width, -10), (x + width + slant, h), (x + slant, h)]),
                     fill=colour, opacity=fmt(rng.uniform(0.4, 1.0) * opacity))
    return defs, group(body, filter=f"url(#{p}ray)")


def grain(p, w, h, opacity=0.06, seed=2):
    """A fine painterly grain over the whole picture."""
    defs = noise_filter(f"{p}gr", "0.9", 2, seed, 1.0, -0.5, w=str(w), h=str(h))
    return defs, rect(0, 0, w, h, fill="#000", opacity=fmt(opacity), filter=f"url(#{p}gr)")


def vignette(p, w, h, strength=0.55, colour="#000"):
    defs = radial(f"{p}vg", [(0, colour, 0), (0.6, colour, 0), (1, colour, strength)], 0.5, 0.5,
                  0.75)
    return defs, rect(0, 0, w, h, fill=f"url(#{p}vg)")


def calm_veil(p, w, top, bottom, colour, opacity):
    """A soft veil over the play area so that the stones read clearly."""
    defs = linear(f"{p}veil", [(0, colour, opacity * 0.6), (0.5, colour, opacity),
                               (1, colour, opacity * 0.8)], 0, 0, 0, 1)
    return defs, rect(0, top, w, bottom - top, fill=f"url(#{p}veil)")
