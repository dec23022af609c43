"""Building blocks of painted scenes: skies, seas, hills, trees, temples, boats, light.

Everything is deterministic: random shapes come from a seeded generator.
"""

import math
import random

from svgkit import (INK, circle, ellipse, fmt, group, linear, mix, noise_filter, path, polygon,
                    polyline, radial, rect, rounded_rect, smooth)


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


# ---------------------------------------------------------------------------------------
# Painterly layers: texture filters, foliage, rocks, water detail and the soft frame that
# keeps the middle of a level calm behind the stones.


def rough_filter(fid, scale=4.0, freq="0.04", octaves=2, seed=1):
    """Frays the edges of its element a little, as a brush would."""
    return (f'<filter id="{fid}" x="-5%" y="-5%" width="110%" height="110%">'
            f'<feTurbulence type="fractalNoise" baseFrequency="{freq}" numOctaves="{octaves}" '
            f'seed="{seed}" result="n"/>'
            f'<feDisplacementMap in="SourceGraphic" in2="n" scale="{fmt(scale)}" '
            f'xChannelSelector="R" yChannelSelector="G"/></filter>')


def texture_filter(fid, freq="0.05", octaves=3, seed=1, strength=0.35, rough=0.0):
    """Mottles its element's colours with noise (stone, earth, foliage); `rough` also frays
    the outline."""
    s = strength
    grey = f"{fmt(2 * s)} 0 0 0 {fmt(1 - s)} "
    source = "SourceGraphic"
    fray = ""
    if rough:
        fray = (f'<feDisplacementMap in="SourceGraphic" in2="n" scale="{fmt(rough)}" '
                f'xChannelSelector="R" yChannelSelector="G" result="d"/>')
        source = "d"
    return (f'<filter id="{fid}" x="-5%" y="-5%" width="110%" height="110%" '
            f'color-interpolation-filters="sRGB">'
            f'<feTurbulence type="fractalNoise" baseFrequency="{freq}" numOctaves="{octaves}" '
            f'seed="{seed}" result="n"/>{fray}'
            f'<feColorMatrix in="n" type="matrix" values="{grey}{grey}{grey}0 0 0 0 1" result="g"/>'
            f'<feBlend in="{source}" in2="g" mode="multiply" result="m"/>'
            f'<feComposite in="m" in2="{source}" operator="in"/></filter>')


def textured(p, name, body, **options):
    """(defs, body): the body in a group under texture_filter."""
    fid = f"{p}{name}"
    return texture_filter(fid, **options), group(body, filter=f"url(#{fid})")


def blurred(p, name, body, amount):
    """(defs, body): the body softened, for far layers and haze."""
    fid = f"{p}{name}"
    return (f'<filter id="{fid}" x="-10%" y="-10%" width="120%" height="120%">'
            f'<feGaussianBlur stdDeviation="{fmt(amount)}"/></filter>',
            group(body, filter=f"url(#{fid})"))


def foliage(cx, cy, rx, ry, colours, seed, count=12, leaf=1.0, light=(0.6, -0.8)):
    """A crown of leaves in three tones: dark masses below, lit clumps towards the light.
    colours are (dark, middle, light); draw it under rough_filter for leafy edges."""
    rng = random.Random(seed)
    dark, middle, lit = colours
    body = ""
    for layer, colour in enumerate((dark, middle, lit)):
        n = count if layer < 2 else max(2, count // 2)
        shift = 0.22 * layer
        for _ in range(n):
            a = rng.uniform(0, 6.283)
            r = math.sqrt(rng.uniform(0, 1)) * (0.75 - 0.18 * layer)
            x = cx + math.cos(a) * rx * r + light[0] * rx * shift
            y = cy + math.sin(a) * ry * r + light[1] * ry * shift
            size = rng.uniform(0.22, 0.36) * (1 - 0.2 * layer)
            body += ellipse(x, y, rx * size * leaf, ry * size * leaf, fill=colour)
    return body


def boulder(x, y, w, h, colours, seed):
    """A rock resting on (x, y), lit from the top right. colours are (dark, middle, light)."""
    rng = random.Random(seed)
    dark, middle, lit = colours
    pts = []
    for i in range(9):
        a = math.pi + i * math.pi / 8
        r = rng.uniform(0.8, 1.05)
        pts.append((x + math.cos(a) * w / 2 * r, y + math.sin(a) * h * r))
    body = path(smooth(pts + [(x + w / 2, y + 2), (x - w / 2, y + 2)], tension=0.4), fill=middle)
    body += path(smooth([(x - w * 0.05, y - h * 0.95), (x + w * 0.35, y - h * 0.7),
                         (x + w * 0.45, y - h * 0.2), (x + w * 0.15, y - h * 0.4)], tension=0.5),
                 fill=lit, opacity=0.7)
    body += path(smooth([(x - w * 0.5, y), (x - w * 0.3, y - h * 0.5), (x, y - h * 0.1),
                         (x + w * 0.45, y)], tension=0.5), fill=dark, opacity=0.55)
    return body


def grass(x0, x1, y0, y1, count, colours, seed, height=(6, 16)):
    """Tufts of grass blades between two heights."""
    rng = random.Random(seed)
    body = ""
    for _ in range(count):
        x = rng.uniform(x0, x1)
        y = rng.uniform(y0, y1)
        colour = rng.choice(colours)
        for _ in range(rng.randint(3, 6)):
            h = rng.uniform(*height)
            lean = rng.uniform(-0.6, 0.6) * h
            body += path(f"M{fmt(x - 1.2)},{fmt(y)} Q{fmt(x + lean * 0.3)},{fmt(y - h * 0.6)} "
                         f"{fmt(x + lean)},{fmt(y - h)} "
                         f"Q{fmt(x + lean * 0.3 + 1)},{fmt(y - h * 0.5)} "
                         f"{fmt(x + 1.2)},{fmt(y)} Z", fill=colour)
    return body


def flowers(x0, x1, y0, y1, count, colours, seed, size=2.0):
    rng = random.Random(seed)
    body = ""
    for _ in range(count):
        body += circle(rng.uniform(x0, x1), rng.uniform(y0, y1), rng.uniform(0.6, 1.0) * size,
                       fill=rng.choice(colours), opacity=fmt(rng.uniform(0.7, 1.0)))
    return body


def stars(w, y1, count, seed, colour="#ffffff"):
    rng = random.Random(seed)
    body = ""
    for _ in range(count):
        y = rng.uniform(0, y1)
        fade = 1 - y / y1 * 0.7
        r = rng.uniform(0.3, 1.4)
        body += circle(rng.uniform(0, w), y, r, fill=colour,
                       opacity=fmt(rng.uniform(0.3, 0.95) * fade))
        if r > 1.25:
            body += circle(rng.uniform(0, w), y, r * 3, fill=colour, opacity=0.08)
    return body


def birds(points, colour, scale=1.0):
    body = ""
    for x, y, s in points:
        s *= scale
        body += path(f"M{fmt(x - 7 * s)},{fmt(y - 2 * s)} Q{fmt(x - 3 * s)},{fmt(y - 5 * s)} "
                     f"{fmt(x)},{fmt(y)} Q{fmt(x + 3 * s)},{fmt(y - 5 * s)} {fmt(x + 7 * s)},"
                     f"{fmt(y - 2 * s)}", fill="none", stroke=colour,
                     stroke_width=fmt(1.3 * s), stroke_linecap="round")
    return body


def lit_clouds(p, w, y0, y1, count, body_colour, rim_colour, seed, opacity=0.7, blur=5):
    """Heaped clouds whose undersides catch a low sun: a soft body with a brighter rim."""
    rng = random.Random(seed)
    defs = (f'<filter id="{p}lc" x="-20%" y="-50%" width="140%" height="200%">'
            f'<feTurbulence type="fractalNoise" baseFrequency="0.02 0.06" numOctaves="3" '
            f'seed="{seed}" result="n"/>'
            f'<feDisplacementMap in="SourceGraphic" in2="n" scale="26" xChannelSelector="R" '
            f'yChannelSelector="G" result="d"/>'
            f'<feGaussianBlur in="d" stdDeviation="{fmt(blur)}"/></filter>')
    body = ""
    for _ in range(count):
        cx = rng.uniform(-40, w + 40)
        cy = rng.uniform(y0, y1)
        size = rng.uniform(0.6, 1.3)
        for _ in range(5):
            ox = rng.uniform(-70, 70) * size
            body += ellipse(cx + ox, cy + rng.uniform(-8, 4), rng.uniform(40, 80) * size,
                            rng.uniform(7, 15) * size, fill=body_colour, opacity=fmt(opacity))
        body += ellipse(cx, cy + 8 * size, 90 * size, 4 * size, fill=rim_colour,
                        opacity=fmt(opacity))
    return defs, group(body, filter=f"url(#{p}lc)")


def water_texture(p, x, y, w, h, colour, opacity, seed, freq="0.006 0.09"):
    """Stretched ripples across a water surface."""
    fid = f"{p}wt"
    defs = noise_filter(fid, freq, 3, seed, 2.2, -1.0, x=fmt(x), y=fmt(y), w=fmt(w), h=fmt(h),
                        kind="turbulence")
    return defs, rect(x, y, w, h, fill=colour, opacity=fmt(opacity), filter=f"url(#{fid})")


def foam(x0, x1, y, count, seed, colour="#ffffff", spread=8.0):
    """Broken white lines where waves meet a shore."""
    rng = random.Random(seed)
    body = ""
    for _ in range(count):
        x = rng.uniform(x0, x1)
        yy = y + rng.uniform(-spread, spread)
        length = rng.uniform(6, 26)
        body += path(f"M{fmt(x)},{fmt(yy)} q{fmt(length / 2)},{fmt(-2)} {fmt(length)},0",
                     fill="none", stroke=colour, stroke_width=fmt(rng.uniform(0.8, 2.2)),
                     stroke_linecap="round", opacity=fmt(rng.uniform(0.35, 0.85)))
    return body


def soft_frame(p, w, h, calm_colour, calm_opacity, edge_colour="#000", top=0.6, bottom=0.65,
               sides=0.35):
    """The finish of a level background: a quiet, slightly hazed middle where the stones lie
    and soft shading towards the panels and the sides instead of hard bands."""
    defs = radial(f"{p}calm", [(0, calm_colour, calm_opacity), (0.55, calm_colour,
                                                                calm_opacity * 0.75),
                               (1, calm_colour, 0)], 0.5, 0.47, 0.5)
    body = ellipse(w / 2, h * 0.47, w * 0.52, h * 0.46, fill=f"url(#{p}calm)")
    defs += linear(f"{p}tv", [(0, edge_colour, top), (0.5, edge_colour, top * 0.35),
                              (1, edge_colour, 0)], 0, 0, 0, 1)
    body += rect(0, 0, w, 120, fill=f"url(#{p}tv)")
    defs += linear(f"{p}bv", [(0, edge_colour, 0), (0.55, edge_colour, bottom * 0.45),
                              (1, edge_colour, bottom)], 0, 0, 0, 1)
    body += rect(0, h - 170, w, 170, fill=f"url(#{p}bv)")
    defs += radial(f"{p}sv", [(0, edge_colour, 0), (0.7, edge_colour, 0),
                              (1, edge_colour, sides)], 0.5, 0.5, 0.72)
    body += rect(0, 0, w, h, fill=f"url(#{p}sv)")
    return defs, body


def paint_texture(p, w, h, seed, mottle=0.08, grain_opacity=0.05, warm="#5a3010"):
    """Large soft blotches and a fine grain, so flat fills read as paint on a canvas."""
    defs = noise_filter(f"{p}mt", "0.008 0.012", 3, seed, 2.5, -1.0, w=str(w), h=str(h))
    body = rect(0, 0, w, h, fill=warm, opacity=fmt(mottle), filter=f"url(#{p}mt)")
    d, b = grain(p, w, h, grain_opacity, seed + 1)
    return defs + d, body + b


def olive_crown(x, y, s, colours, seed, count=14):
    """A small olive tree in a grove row: a short trunk, a silvery crown and its shadow."""
    dark, middle, lit, trunk = colours
    body = ellipse(x + 4 * s, y + 1 * s, 13 * s, 3 * s, fill="#2a2410", opacity=0.25)
    body += path(f"M{fmt(x - 1.5 * s)},{fmt(y)} L{fmt(x - 0.5 * s)},{fmt(y - 9 * s)} "
                 f"L{fmt(x + 1.5 * s)},{fmt(y - 9 * s)} L{fmt(x + 2 * s)},{fmt(y)} Z", fill=trunk)
    body += foliage(x, y - 14 * s, 12 * s, 8 * s, (dark, middle, lit), seed, count, 1.6)
    return body


def limb(points, width_start, width_end, colour, **attrs):
    """A tapering branch along the points, drawn as round-capped strokes."""
    body = ""
    n = len(points) - 1
    for i in range(n):
        t = i / max(1, n - 1)
        (ax, ay), (bx, by) = points[i], points[i + 1]
        width = width_start + (width_end - width_start) * t
        body += path(f"M{fmt(ax)},{fmt(ay)} L{fmt(bx)},{fmt(by)}", fill="none", stroke=colour,
                     stroke_width=fmt(width), stroke_linecap="round", **attrs)
    return body


def old_olive(x, y, s, colours, seed, mirror=False):
    """A great old olive tree rooted at (x, y) whose limbs spread sideways high above it.
    Returns (trunk, crown). colours are (bark dark, bark, bark light, leaf dark, leaf, leaf
    light); mirror makes it lean to the left."""
    rng = random.Random(seed)
    bark_dark, bark, bark_lit, leaf_dark, leaf, leaf_lit = colours
    k = -1 if mirror else 1

    def at(dx, dy):
        return (x + k * dx * s, y - dy * s)

    trunk = path(smooth([at(-70, 0), at(-40, 60), at(-50, 150), at(-20, 250), at(10, 320),
                         at(40, 330), at(30, 250), at(60, 170), at(50, 80), at(85, 0)],
                        closed=False, tension=0.5) + " Z", fill=bark)
    trunk += path(smooth([at(10, 10), at(25, 90), at(5, 170), at(20, 260), at(35, 325),
                          at(40, 330), at(30, 250), at(60, 170), at(50, 80), at(85, 0)],
                         closed=False, tension=0.5) + " Z", fill=bark_dark, opacity=0.55)
    limbs = [
        [at(0, 300), at(-20, 380), at(-5, 450), at(-30, 520)],
        [at(25, 310), at(90, 380), at(170, 410), at(260, 430), at(350, 470)],
        [at(30, 300), at(110, 330), at(190, 330), at(250, 360)],
        [at(-10, 320), at(-60, 380), at(-90, 430)],
    ]
    widths = [(30, 10), (30, 7), (20, 6), (18, 6)]
    ends = []
    for points, (w0, w1) in zip(limbs, widths):
        trunk += limb(points, w0 * s, w1 * s, bark)
        trunk += limb([(px + 3 * s, py + 2 * s) for px, py in points], w0 * s * 0.35,
                      w1 * s * 0.3, bark_dark, opacity=0.5)
        ends += points[1:]
    for _ in range(28):
        px, py = at(rng.uniform(-50, 60), rng.uniform(5, 300))
        length = rng.uniform(20, 60) * s
        trunk += path(f"M{fmt(px)},{fmt(py)} q{fmt(rng.uniform(-8, 8) * s)},{fmt(-length / 2)} "
                      f"{fmt(rng.uniform(-6, 6) * s)},{fmt(-length)}", fill="none",
                      stroke=rng.choice((bark_dark, bark_lit)),
                      stroke_width=fmt(rng.uniform(1.2, 3) * s), opacity=0.55,
                      stroke_linecap="round")
    crown = ""
    for i, (cx, cy) in enumerate(ends):
        crown += foliage(cx, cy - 20 * s, rng.uniform(60, 95) * s, rng.uniform(30, 48) * s,
                         (leaf_dark, leaf, leaf_lit), seed * 31 + i, 9)
    return trunk, crown


def dry_stone_wall(x0, x1, y, h, colours, seed):
    """A terrace wall of fitted field stones, its top at y."""
    rng = random.Random(seed)
    dark, middle, lit = colours
    body = rect(x0, y, x1 - x0, h, fill=dark)
    row_y = y
    while row_y < y + h:
        sh = rng.uniform(10, 18)
        x = x0 - rng.uniform(0, 20)
        while x < x1:
            sw = rng.uniform(18, 42)
            colour = mix(middle, lit, rng.uniform(0, 0.6))
            body += path(rounded_rect(x + 1.5, row_y + 1.5, sw - 3, sh - 3, 4), fill=colour)
            body += rect(x + 3, row_y + 2, sw - 8, 2, fill=lit, opacity=0.5)
            x += sw
        row_y += sh
    return body


def ridge_y(points, x):
    """The height of a ridge line (from ridge()) at x, by straight interpolation."""
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        if ax <= x <= bx:
            return ay + (by - ay) * (x - ax) / (bx - ax)
    return points[-1][1]


def vine_leaf(x, y, size, angle, colour, vein):
    """A five-lobed vine leaf hanging from (x, y)."""
    pts = []
    for i in range(11):
        a = math.radians(-90 + i * 36)
        r = size * (1.0 if i % 2 == 0 else 0.72)
        pts.append((r * math.cos(a), r * 0.9 * math.sin(a) + size * 0.9))
    pts[0] = (0, size * 0.55)
    body = path(smooth(pts[:-1], tension=0.6), fill=colour)
    for i in (0, 2, 4, 6, 8):
        a = math.radians(-90 + i * 36)
        body += path(f"M0,{fmt(size * 0.9)} L{fmt(size * 0.85 * math.cos(a))},"
                     f"{fmt(size * 0.8 * math.sin(a) + size * 0.9)}", stroke=vein,
                     stroke_width=fmt(size * 0.05), opacity=0.6)
    return f'<g transform="translate({fmt(x)},{fmt(y)}) rotate({fmt(angle)})">{body}</g>'


def grape_bunch(x, y, size, colours, seed):
    """A hanging bunch of grapes whose stalk is at (x, y). colours are (dark, middle, light)."""
    rng = random.Random(seed)
    dark, middle, lit = colours
    body = path(f"M{fmt(x)},{fmt(y)} q{fmt(size * 0.2)},{fmt(size * 0.3)} 0,{fmt(size * 0.6)}",
                fill="none", stroke="#4a3a1a", stroke_width=fmt(size * 0.08))
    rows = 7
    for r in range(rows):
        count = max(1, round((rows - r) * 0.75))
        for c in range(count):
            gx = x + (c - (count - 1) / 2) * size * 0.28 + rng.uniform(-1, 1) * size * 0.04
            gy = y + size * 0.6 + r * size * 0.24
            body += circle(gx, gy, size * 0.16, fill=dark)
            body += circle(gx - size * 0.03, gy - size * 0.03, size * 0.12, fill=middle)
            body += circle(gx + size * 0.04, gy - size * 0.06, size * 0.04, fill=lit, opacity=0.8)
    return body


def vine_rows(w, base, rows, spacing, bend, colours, seed, scale=1.0):
    """Rows of vines running along a hillside, nearer rows lower and larger. colours are
    (soil shadow, leaf dark, leaf, leaf light, grape)."""
    rng = random.Random(seed)
    shadow, dark, middle, lit, grape = colours
    body = ""
    phase = rng.uniform(0, 6.28)
    y0 = base
    for r in range(rows):
        t = r / max(1, rows - 1)
        s = scale * (0.5 + 0.7 * t)
        y0 += spacing * (0.6 + 0.8 * t)

        def yy(x):
            return y0 + bend * math.sin(x / w * 3.0 + phase) * (0.7 + 0.6 * t)

        body += path(polyline([(x, yy(x) + 3 * s) for x in range(-20, w + 40, 40)]), fill="none",
                     stroke=shadow, stroke_width=fmt(5 * s), opacity=0.45)
        x = rng.uniform(-10, 0)
        while x < w + 10:
            y = yy(x)
            body += ellipse(x, y - 3 * s, 6 * s, 5 * s, fill=dark)
            body += ellipse(x - 1 * s, y - 5 * s, 4.5 * s, 3.5 * s, fill=middle)
            body += ellipse(x + 1.5 * s, y - 7 * s, 2.5 * s, 1.8 * s, fill=lit)
            if rng.random() < 0.22:
                body += circle(x + rng.uniform(-3, 3) * s, y - 1 * s, 1.8 * s, fill=grape)
            x += rng.uniform(7, 10) * s
    return body


def villa(x, y, s, wall, shade, roof, roof_dark, window="#5a3a20"):
    """A farm villa standing on (x, y) (bottom centre): a house, a lower wing and a portico."""
    body = ""
    # Lower wing on the left.
    body += rect(x - 70 * s, y - 28 * s, 50 * s, 28 * s, fill=shade)
    body += path(polygon([(x - 74 * s, y - 27 * s), (x - 45 * s, y - 40 * s),
                          (x - 18 * s, y - 27 * s)]), fill=roof_dark)
    # Main house.
    body += rect(x - 25 * s, y - 50 * s, 70 * s, 50 * s, fill=wall)
    body += rect(x + 25 * s, y - 50 * s, 20 * s, 50 * s, fill=shade, opacity=0.6)
    body += path(polygon([(x - 30 * s, y - 49 * s), (x + 10 * s, y - 68 * s),
                          (x + 50 * s, y - 49 * s)]), fill=roof)
    body += path(polygon([(x + 10 * s, y - 68 * s), (x + 50 * s, y - 49 * s),
                          (x + 30 * s, y - 49 * s)]), fill=roof_dark, opacity=0.5)
    for i in range(4):
        body += rect(x - 18 * s + i * 15 * s, y - 42 * s, 6 * s, 9 * s, fill=window)
    # A portico of small columns.
    body += rect(x - 24 * s, y - 22 * s, 62 * s, 3 * s, fill=shade)
    for i in range(6):
        body += rect(x - 22 * s + i * 11.5 * s, y - 19 * s, 3 * s, 19 * s, fill=wall)
    body += rect(x - 20 * s, y - 19 * s, 56 * s, 19 * s, fill=window, opacity=0.35)
    return body


def fluted_column(x, top, bottom, width, colours, flutes=6):
    """A column shaft with a capital and base, lit from the left. colours are (shade, stone,
    light)."""
    shade, stone, lit = colours
    body = rect(x - width / 2, top, width, bottom - top, fill=stone)
    body += rect(x + width * 0.12, top, width * 0.38, bottom - top, fill=shade, opacity=0.75)
    body += rect(x - width * 0.42, top, width * 0.18, bottom - top, fill=lit, opacity=0.7)
    for i in range(1, flutes):
        fx = x - width / 2 + width * i / flutes
        body += rect(fx - width * 0.015, top, width * 0.03, bottom - top, fill=shade, opacity=0.45)
    cap = max(3.0, width * 0.22)
    body += rect(x - width * 0.72, top - cap, width * 1.44, cap, fill=stone)
    body += rect(x - width * 0.6, top - cap * 0.25, width * 1.2, cap * 0.4, fill=shade,
                 opacity=0.6)
    body += rect(x - width * 0.64, bottom - cap * 0.6, width * 1.28, cap * 0.6, fill=stone)
    body += rect(x, bottom - cap * 0.6, width * 0.64, cap * 0.6, fill=shade, opacity=0.5)
    return body


def amphora(x, y, s, colour, dark, band="#1a0c04"):
    """A two-handled jar standing on (x, y)."""
    body = ellipse(x + 6 * s, y, 18 * s, 4 * s, fill="#000", opacity=0.25)
    body += path(f"M{fmt(x - 5 * s)},{fmt(y - 60 * s)} C{fmt(x - 5 * s)},{fmt(y - 50 * s)} "
                 f"{fmt(x - 20 * s)},{fmt(y - 45 * s)} {fmt(x - 19 * s)},{fmt(y - 28 * s)} "
                 f"C{fmt(x - 18 * s)},{fmt(y - 12 * s)} {fmt(x - 6 * s)},{fmt(y - 4 * s)} "
                 f"{fmt(x - 4 * s)},{fmt(y)} H{fmt(x + 4 * s)} C{fmt(x + 6 * s)},{fmt(y - 4 * s)} "
                 f"{fmt(x + 18 * s)},{fmt(y - 12 * s)} {fmt(x + 19 * s)},{fmt(y - 28 * s)} "
                 f"C{fmt(x + 20 * s)},{fmt(y - 45 * s)} {fmt(x + 5 * s)},{fmt(y - 50 * s)} "
                 f"{fmt(x + 5 * s)},{fmt(y - 60 * s)} Z", fill=colour)
    body += path(f"M{fmt(x + 4 * s)},{fmt(y - 50 * s)} C{fmt(x + 20 * s)},{fmt(y - 42 * s)} "
                 f"{fmt(x + 20 * s)},{fmt(y - 14 * s)} {fmt(x + 4 * s)},{fmt(y - 2 * s)} "
                 f"C{fmt(x + 12 * s)},{fmt(y - 14 * s)} {fmt(x + 12 * s)},{fmt(y - 40 * s)} Z",
                 fill=dark, opacity=0.6)
    for side in (-1, 1):
        body += path(f"M{fmt(x + side * 5 * s)},{fmt(y - 56 * s)} q{fmt(side * 12 * s)},0 "
                     f"{fmt(side * 12 * s)},{fmt(10 * s)}", fill="none", stroke=colour,
                     stroke_width=fmt(2.5 * s))
    body += rect(x - 18 * s, y - 33 * s, 36 * s, 4 * s, fill=band, opacity=0.75)
    body += rect(x - 17 * s, y - 26 * s, 34 * s, 1.5 * s, fill=band, opacity=0.6)
    body += rect(x - 6 * s, y - 62 * s, 12 * s, 3 * s, fill=colour)
    return body


def hillside_town(x0, x1, ridge_points, depth, count, seed, wall, shade, roof, window, domes=0.1):
    """White houses stepping up a hillside below its ridge, some windows lit."""
    rng = random.Random(seed)
    body = ""
    houses = []
    for _ in range(count):
        x = rng.uniform(x0, x1)
        top = ridge_y(ridge_points, x)
        y = top + rng.uniform(6, depth)
        houses.append((y, x))
    for y, x in sorted(houses):
        w = rng.uniform(10, 20)
        h = rng.uniform(8, 14)
        body += rect(x, y - h, w, h, fill=wall)
        body += rect(x + w * 0.62, y - h, w * 0.38, h, fill=shade)
        if rng.random() < domes:
            body += ellipse(x + w / 2, y - h, w * 0.32, w * 0.3, fill=roof)
        else:
            body += rect(x - 1, y - h - 1.5, w + 2, 1.5, fill=shade)
        if rng.random() < 0.55:
            body += rect(x + w * 0.25, y - h * 0.6, 2.2, 3, fill=window)
    return body


def reflections(points, colour, seed, length=40):
    """Broken vertical streaks of lights on water below each (x, y)."""
    rng = random.Random(seed)
    body = ""
    for x, y in points:
        yy = y
        while yy < y + length:
            w = rng.uniform(1, 4)
            body += rect(x - w / 2 + rng.uniform(-1.5, 1.5), yy, w, 1.4, fill=colour,
                         opacity=fmt(0.7 * (1 - (yy - y) / length)))
            yy += rng.uniform(2.5, 5)
    return body


def round_tower(x, y, w, h, colours, lamp="#ffd890"):
    """A round harbour tower standing on (x, y) with a lit lantern room."""
    shade, stone, lit = colours
    body = rect(x - w / 2, y - h, w, h, fill=stone)
    body += rect(x + w * 0.1, y - h, w * 0.4, h, fill=shade, opacity=0.7)
    body += rect(x - w * 0.42, y - h, w * 0.15, h, fill=lit, opacity=0.5)
    for k in range(1, int(h // 12)):
        body += path(f"M{fmt(x - w / 2)},{fmt(y - k * 12)} Q{fmt(x)},{fmt(y - k * 12 + 3)} "
                     f"{fmt(x + w / 2)},{fmt(y - k * 12)}", fill="none", stroke=shade,
                     stroke_width=0.8, opacity=0.5)
    top = y - h
    body += rect(x - w * 0.6, top - 6, w * 1.2, 6, fill=stone)
    for i in range(5):
        body += rect(x - w * 0.6 + i * w * 0.28, top - 12, w * 0.14, 6, fill=stone)
    body += rect(x - w * 0.25, top - 30, w * 0.5, 18, fill=lamp)
    body += path(polygon([(x - w * 0.35, top - 30), (x, top - 44), (x + w * 0.35, top - 30)]),
                 fill=shade)
    body += rect(x - w * 0.1, y - h * 0.5, w * 0.14, h * 0.12, fill=lamp, opacity=0.85)
    return body


def moored_boat(x, y, s, hull, trim, eye="#f4e8d0"):
    """A broad fishing boat seen from the side, bow to the right, with a painted eye."""
    body = path(f"M{fmt(x - 60 * s)},{fmt(y - 22 * s)} C{fmt(x - 50 * s)},{fmt(y + 4 * s)} "
                f"{fmt(x + 40 * s)},{fmt(y + 6 * s)} {fmt(x + 66 * s)},{fmt(y - 30 * s)} "
                f"L{fmt(x + 60 * s)},{fmt(y - 26 * s)} C{fmt(x + 20 * s)},{fmt(y - 18 * s)} "
                f"{fmt(x - 30 * s)},{fmt(y - 18 * s)} Z", fill=hull)
    body += path(f"M{fmt(x - 60 * s)},{fmt(y - 22 * s)} C{fmt(x - 30 * s)},{fmt(y - 18 * s)} "
                 f"{fmt(x + 20 * s)},{fmt(y - 18 * s)} {fmt(x + 63 * s)},{fmt(y - 28 * s)}",
                 fill="none", stroke=trim, stroke_width=fmt(4 * s))
    body += ellipse(x + 44 * s, y - 14 * s, 5 * s, 3 * s, fill=eye)
    body += circle(x + 45 * s, y - 14 * s, 2 * s, fill="#1a0c04")
    body += rect(x - 4 * s, y - 80 * s, 2.5 * s, 62 * s, fill="#3a2410")
    body += path(f"M{fmt(x - 2 * s)},{fmt(y - 78 * s)} L{fmt(x - 40 * s)},{fmt(y - 24 * s)}",
                 stroke="#3a2410", stroke_width=fmt(1 * s))
    return body


def branching_coral(x, y, s, colour, tip, seed, depth=4):
    """A branching coral growing up from (x, y)."""
    rng = random.Random(seed)
    body = ""
    tips = []

    def grow(bx, by, angle, length, width, level):
        nonlocal body
        ex = bx + math.cos(math.radians(angle)) * length
        ey = by + math.sin(math.radians(angle)) * length
        body += path(f"M{fmt(bx)},{fmt(by)} Q{fmt((bx + ex) / 2 + rng.uniform(-4, 4) * s)},"
                     f"{fmt((by + ey) / 2)} {fmt(ex)},{fmt(ey)}", fill="none", stroke=colour,
                     stroke_width=fmt(width), stroke_linecap="round")
        if level == 0:
            tips.append((ex, ey, width))
            return
        for turn in (-1, 1):
            grow(ex, ey, angle + turn * rng.uniform(14, 34), length * rng.uniform(0.65, 0.85),
                 width * 0.72, level - 1)

    grow(x, y, -90 + rng.uniform(-10, 10), 30 * s, 7 * s, depth)
    for tx, ty, width in tips:
        body += circle(tx, ty, width * 0.7, fill=tip)
    return body


def sea_fan(x, y, s, colour, seed):
    """A flat fan coral: many thin branches spreading from one stem."""
    rng = random.Random(seed)
    body = ""
    for i in range(26):
        a = math.radians(-160 + i * 140 / 25 + rng.uniform(-3, 3))
        length = rng.uniform(50, 80) * s
        mx = x + math.cos(a) * length * 0.5 + rng.uniform(-5, 5) * s
        my = y + math.sin(a) * length * 0.5
        body += path(f"M{fmt(x)},{fmt(y)} Q{fmt(mx)},{fmt(my)} {fmt(x + math.cos(a) * length)},"
                     f"{fmt(y + math.sin(a) * length)}", fill="none", stroke=colour,
                     stroke_width=fmt(1.4 * s), opacity=0.85)
    return body


def fish_school(points, colour, scale=1.0):
    body = ""
    for x, y, s in points:
        s *= scale
        body += path(f"M{fmt(x)},{fmt(y)} c{fmt(4 * s)},{fmt(-3 * s)} {fmt(10 * s)},{fmt(-3 * s)} "
                     f"{fmt(13 * s)},0 l{fmt(4 * s)},{fmt(-3 * s)} v{fmt(6 * s)} l{fmt(-4 * s)},"
                     f"{fmt(-3 * s)} c{fmt(-3 * s)},{fmt(3 * s)} {fmt(-9 * s)},{fmt(3 * s)} "
                     f"{fmt(-13 * s)},0 Z", fill=colour)
    return body


def caustics(p, x, y, w, h, colour, opacity, seed, freq="0.03 0.05"):
    """The dancing net of light that the waves throw on the sea floor."""
    fid = f"{p}cs"
    defs = (f'<filter id="{fid}" x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}" '
            f'filterUnits="userSpaceOnUse" color-interpolation-filters="sRGB">'
            f'<feTurbulence type="turbulence" baseFrequency="{freq}" numOctaves="2" '
            f'seed="{seed}" result="n"/>'
            f'<feColorMatrix in="n" type="matrix" values="0 0 0 0 0  0 0 0 0 0  0 0 0 0 0  '
            f'-4 0 0 0 1.1" result="a"/>'
            f'<feComposite in="SourceGraphic" in2="a" operator="in"/></filter>')
    # Fades in and out at the top and bottom so that the net has no hard edge.
    defs += linear(f"{fid}g", [(0, "#fff", 0), (0.25, "#fff", 1), (0.7, "#fff", 1),
                               (1, "#fff", 0)], 0, 0, 0, 1)
    defs += (f'<mask id="{fid}m" maskUnits="userSpaceOnUse" x="{fmt(x)}" y="{fmt(y)}" '
             f'width="{fmt(w)}" height="{fmt(h)}">'
             f'{rect(x, y, w, h, fill=f"url(#{fid}g)")}</mask>')
    return defs, group(rect(x, y, w, h, fill=colour, opacity=fmt(opacity),
                            filter=f"url(#{fid})"), mask=f"url(#{fid}m)")


def chapel(x, y, s, wall="#f6f2ea", shade="#c8c0b8", dome="#2a5aa8", dome_dark="#183a78"):
    """A whitewashed chapel with a blue dome and a little bell gable, standing on (x, y)."""
    body = rect(x - 18 * s, y - 22 * s, 36 * s, 22 * s, fill=wall)
    body += rect(x + 6 * s, y - 22 * s, 12 * s, 22 * s, fill=shade)
    body += rect(x - 10 * s, y - 30 * s, 20 * s, 8 * s, fill=wall)
    body += path(f"M{fmt(x - 11 * s)},{fmt(y - 30 * s)} A{fmt(11 * s)},{fmt(11 * s)} 0 0 1 "
                 f"{fmt(x + 11 * s)},{fmt(y - 30 * s)} Z", fill=dome)
    body += path(f"M{fmt(x + 2 * s)},{fmt(y - 40 * s)} A{fmt(11 * s)},{fmt(11 * s)} 0 0 1 "
                 f"{fmt(x + 11 * s)},{fmt(y - 30 * s)} H{fmt(x + 4 * s)} Z", fill=dome_dark)
    body += rect(x - 0.6 * s, y - 48 * s, 1.2 * s, 8 * s, fill="#8a6a3a")
    body += rect(x - 3 * s, y - 46 * s, 6 * s, 1.2 * s, fill="#8a6a3a")
    body += path(f"M{fmt(x - 26 * s)},{fmt(y)} V{fmt(y - 26 * s)} H{fmt(x - 16 * s)} V{fmt(y)} Z",
                 fill=wall)
    body += path(f"M{fmt(x - 24 * s)},{fmt(y - 26 * s)} A{fmt(3 * s)},{fmt(3 * s)} 0 0 1 "
                 f"{fmt(x - 18 * s)},{fmt(y - 26 * s)} V{fmt(y - 20 * s)} H{fmt(x - 24 * s)} Z",
                 fill="#3a4a60")
    body += rect(x - 4 * s, y - 12 * s, 8 * s, 12 * s, fill="#2a5aa8")
    return body


def strata(x0, x1, y0, y1, count, colour, seed):
    """Thin slanting lines of rock layers across a cliff face."""
    rng = random.Random(seed)
    body = ""
    for _ in range(count):
        y = rng.uniform(y0, y1)
        x = rng.uniform(x0, x1)
        length = rng.uniform(20, 70)
        body += path(f"M{fmt(x)},{fmt(y)} q{fmt(length / 2)},{fmt(rng.uniform(-4, 4))} "
                     f"{fmt(length)},{fmt(rng.uniform(2, 8))}", fill="none", stroke=colour,
                     stroke_width=fmt(rng.uniform(0.8, 2.2)), opacity=fmt(rng.uniform(0.25, 0.6)))
    return body
