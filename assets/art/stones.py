"""The stones: faces, hover faces, backs, flip strips, the joker, borders, locks and keys.

A lying stone image is 87 x 57: its top surface is the 80 x 50 rounded rectangle at (7, 0)
(the two 40 x 50 picture halves), and its 7-pixel edge shows towards the lower left, because
every layer stacks 7 pixels up and to the right.
"""

import math

from svgkit import (GOLD, GOLD_DARK, GOLD_LIGHT, GOLD_MID, INK, circle, drop_shadow, ellipse,
                    fmt, glow_filter, group, linear, mix, path, polygon, radial, rect,
                    rounded_rect, smooth, star)

FACE_X, FACE_W, FACE_H, RADIUS, EDGE = 7, 80, 50, 6.5, 7
STONE_W, STONE_H = 87, 57
FLIP_CELL_W, FLIP_CELL_H, FLIP_FRAMES = 93, 80, 13
FLIP_DX, FLIP_DY = 3, 17

# Per style: the top of a face-up stone, its edge layers, the top of a face-down stone, the
# emblem colours of the back.
STYLES = {
    "ivory": dict(face=("#fffaf0", "#f4ead2", "#e2d2aa"), vein=None,
                  rim="#b8a26e", edge_top=("#e6d6ae", "#c8b486"),
                  edge=("#3a9c78", "#17523c"), back=("#5cc49c", "#2e8f6c", "#155440"),
                  back_edge_top=("#1f6a50", "#174f3b"), back_edge=("#e9dbb4", "#bda878"),
                  emblem=("#fff3b8", "#f0c55a", "#9a6414"), inlay="#e8c060",
                  emblem_muted=("#b4ecd2", "#80cfac", "#1f6a50")),
    "marble": dict(face=("#ffffff", "#eeeef0", "#d2d4da"), vein="#9aa0b0",
                   rim="#8e96aa", edge_top=("#dcdde4", "#b4b8c6"),
                   edge=("#4a6ecc", "#17286a"), back=("#6a8ee8", "#2d4fa8", "#142566"),
                   back_edge_top=("#203a86", "#16275e"), back_edge=("#e4e6ee", "#a8acbc"),
                   emblem=("#fff3b8", "#f0c55a", "#9a6414"), inlay="#e8c060",
                   emblem_muted=("#c4d4fa", "#90aaf0", "#203a86")),
    "terracotta": dict(face=("#fffaf0", "#f8e8cc", "#e8cca0"), vein=None,
                       rim="#c49460", edge_top=("#eed6ae", "#d2aa78"),
                       edge=("#d8744a", "#7a2e12"), back=("#e88a5a", "#c05a32", "#6e2810"),
                       back_edge_top=("#9a4020", "#7a2e12"), back_edge=("#f2dcb8", "#c8a070"),
                       emblem=("#3a2010", "#1c0e06", "#000000"), inlay="#2a1608",
                       emblem_muted=("#7a3418", "#5a220c", "#3a1206")),
    "joker": dict(face=("#fffdf2", "#fbf0cc", "#efd690"), vein=None,
                  rim="#c8962e", edge_top=("#ffe7a0", "#e8bc58"),
                  edge=("#f0c55a", "#7a4c0c"), back=("#a46ad0", "#5e2c8a", "#2c0c4a"),
                  back_edge_top=("#4a1c70", "#2c0c4a"), back_edge=("#ffe7a0", "#c8902a"),
                  emblem=("#fff6c8", "#f4c850", "#a06a10"), inlay="#f0c860"),
}


def face_rect(k=0):
    return rounded_rect(FACE_X - k, k, FACE_W, FACE_H, RADIUS)


def body_layers(p, style, down):
    """The 7 edge layers and the outline under them, in the stone's rest coordinates.

    In a deep heap every layer shows only this edge and a strip of its top, so the edge ends
    in a dark foot line and the stone casts a small contact shadow into the free corner at its
    lower right: that is what keeps one layer apart from the next."""
    s = STYLES[style]
    top, bottom = (s["back_edge_top"], s["back_edge"]) if down else (s["edge_top"], s["edge"])
    out = group(path(face_rect(EDGE)), fill="#000000", opacity=0.45,
                transform="translate(2.5,1.5)", filter=f"url(#{p}cs)")
    for k in range(EDGE, 0, -1):
        out += path(face_rect(k), fill="none", stroke=INK, stroke_width=2.4)
    for k in range(EDGE, 0, -1):
        if k <= 2:
            colour = mix(top[0], top[1], (k - 1) / 1.0)
        else:
            colour = mix(bottom[0], bottom[1], (k - 3) / 4.0)
        if k == EDGE:
            colour = mix(colour, INK, 0.5)
        elif k >= EDGE - 2:
            colour = mix(colour, INK, 0.12)
        out += path(face_rect(k), fill=colour)
    # A glint along the lit left side of the edge.
    out += path(f"M{fmt(FACE_X - 3.5)},{fmt(RADIUS + 3)} V{fmt(FACE_H - 2)}", stroke="#ffffff",
                stroke_width=1.0, opacity=0.3, fill="none")
    return out


def contact_shadow_filter(p):
    return (f'<filter id="{p}cs" x="-10%" y="-10%" width="120%" height="120%">'
            f'<feGaussianBlur stdDeviation="0.9"/></filter>')


def fish_emblem(p, colours, cx=47.0, cy=25.0, scale=1.0):
    """The house emblem: a fish over two waves, in gold (or black figure on terracotta)."""
    light, mid, dark = colours
    defs = linear(f"{p}eg", [(0, light), (0.5, mid), (1, dark)], 0.2, 0, 0.8, 1)
    fill = f"url(#{p}eg)"
    body = path("M-17,0 C-12,-9 2,-11 9,-3 L17,-10 C15.5,-4 15.5,4 17,10 L9,3 C2,11 -12,9 -17,0 Z",
                fill=fill, stroke=dark, stroke_width=1.0, stroke_linejoin="round")
    body += path("M-6,-7 C-3,-12 3,-12 5,-6", fill=fill, stroke=dark, stroke_width=0.8)
    body += path("M-7,-4 Q-4.5,0 -7,4", fill="none", stroke=dark, stroke_width=0.9)
    body += circle(-12, -1.5, 1.4, fill=dark)
    body += path("M-17,14 q4.25,-3 8.5,0 t8.5,0 t8.5,0 t8.5,0", fill="none", stroke=mid,
                 stroke_width=1.6, stroke_linecap="round")
    body += path("M-17,-14 q4.25,3 8.5,0 t8.5,0 t8.5,0 t8.5,0", fill="none", stroke=mid,
                 stroke_width=1.6, stroke_linecap="round")
    return defs, (f'<g transform="translate({fmt(cx)},{fmt(cy)}) scale({fmt(scale)})">'
                  f"{body}</g>")


def veins(p):
    """Faint grey veins of a marble face."""
    return (path("M9,12 C20,9 26,18 38,15 C50,12 55,22 70,19 C78,18 83,12 87,13", fill="none",
                 stroke="#9aa0b0", stroke_width=0.7, opacity=0.45) +
            path("M12,40 C22,33 30,42 44,36 C54,32 62,40 86,33", fill="none", stroke="#aab0c0",
                 stroke_width=0.6, opacity=0.4) +
            path("M52,2 C50,12 58,20 55,30", fill="none", stroke="#b0b4c4", stroke_width=0.5,
                 opacity=0.35))


def top_surface(p, style, kind):
    """The top of the stone: kind "face", "over" or "back"."""
    s = STYLES[style]
    defs = ""
    if kind == "back":
        a, b, c = s["back"]
        defs += linear(f"{p}t", [(0, a), (0.45, b), (1, c)], 0.1, 0, 0.9, 1)
    else:
        a, b, c = s["face"]
        if kind == "over":
            a, b, c = mix(a, "#fff6d0", 0.5), mix(b, "#fff0b8", 0.45), mix(c, "#f4d890", 0.4)
        defs += linear(f"{p}t", [(0, a), (0.5, b), (1, c)], 0.1, 0, 0.9, 1)
    defs += linear(f"{p}gl", [(0, "#ffffff", 0.75), (0.4, "#ffffff", 0.12), (1, "#ffffff", 0)],
                   0, 0, 0.6, 1)
    rim = s["rim"] if kind != "back" else mix(s["back_edge_top"][1], INK, 0.6)
    body = path(face_rect(0), fill=f"url(#{p}t)", stroke=rim, stroke_width=1.3)
    if s["vein"] and kind != "back":
        body += veins(p)
    if kind == "back":
        # A bevel, lit on the upper left and shaded on the lower right, gives every back a
        # shape of its own; the inlay and the emblem stay quiet so that the outlines, not the
        # motif, carry a heap of backs.
        body += path(f"M{FACE_X + 2},{FACE_H - RADIUS} V{RADIUS + 1} "
                     f"Q{FACE_X + 2},2 {FACE_X + RADIUS + 1},2 H{FACE_X + FACE_W - RADIUS}",
                     fill="none", stroke="#ffffff", stroke_width=1.6, opacity=0.45,
                     stroke_linecap="round")
        body += path(f"M{FACE_X + FACE_W - 2},{RADIUS + 1} V{FACE_H - RADIUS - 1} "
                     f"Q{FACE_X + FACE_W - 2},{FACE_H - 2} {FACE_X + FACE_W - RADIUS - 1},"
                     f"{FACE_H - 2} H{FACE_X + RADIUS}", fill="none", stroke="#000000",
                     stroke_width=1.8, opacity=0.3, stroke_linecap="round")
        inlay = s["inlay"]
        body += path(rounded_rect(FACE_X + 4.5, 4.5, FACE_W - 9, FACE_H - 9, RADIUS - 3),
                     fill="none", stroke=inlay, stroke_width=0.9, opacity=0.5)
        if style == "joker":
            defs += linear(f"{p}js", [(0, "#fff8d0"), (0.5, "#f4c850"), (1, "#a06a10")], 0, 0, 1, 1)
            body += path(star(47, 25, 15, 6, 8, -90), fill=f"url(#{p}js)", stroke="#7a4c0c",
                         stroke_width=0.9, stroke_linejoin="round")
            body += circle(47, 25, 4.5, fill="#fff6d0", stroke="#7a4c0c", stroke_width=0.8)
            for x in (17, 77):
                body += path(star(x, 25, 5, 2, 4, -90), fill="#f4c850", stroke="#7a4c0c",
                             stroke_width=0.6)
        else:
            d, e = fish_emblem(f"{p}em", s["emblem_muted"], scale=0.9)
            defs += d
            body += group(e, opacity=0.85)
    else:
        # The seam between the two picture halves, engraved.
        body += path(f"M{FACE_X + 40},5 V{FACE_H - 5}", stroke=s["rim"], stroke_width=0.9,
                     opacity=0.55)
        body += path(f"M{FACE_X + 41},5 V{FACE_H - 5}", stroke="#ffffff", stroke_width=0.7,
                     opacity=0.6)
        if kind == "over":
            body += path(rounded_rect(FACE_X + 1.6, 1.6, FACE_W - 3.2, FACE_H - 3.2, RADIUS - 1),
                         fill="none", stroke="#ffc83a", stroke_width=2.6, opacity=0.95)
            body += path(rounded_rect(FACE_X + 3.4, 3.4, FACE_W - 6.8, FACE_H - 6.8, RADIUS - 2),
                         fill="none", stroke="#fff2b0", stroke_width=1.0, opacity=0.9)
    if style == "joker" and kind != "back":
        d, marks = joker_marks(p)
        defs += d
        body += marks
    # Gloss on the upper left.
    body += path(f"M{FACE_X + 3},{RADIUS} C{FACE_X + 3},2.5 {FACE_X + 6},2 {FACE_X + 12},2 "
                 f"H{FACE_X + 52} C{FACE_X + 36},6 {FACE_X + 14},10 {FACE_X + 3},22 Z",
                 fill=f"url(#{p}gl)")
    return defs, body


def joker_marks(p):
    """The joker's face: one gold sunburst over both halves on the joker's violet, a wild card
    rather than a picture of its own."""
    cx, cy = FACE_X + FACE_W / 2, FACE_H / 2
    x, y, w, h = FACE_X + 4.5, 4.5, FACE_W - 9, FACE_H - 9
    defs = radial(f"{p}jv", [(0, "#c890f0"), (0.45, "#7a3cae"), (1, "#2c0c4a")], 0.5, 0.5, 0.6)
    defs += radial(f"{p}jd", [(0, "#ffffff"), (0.35, "#fff0a0"), (1, "#d08a18")], 0.4, 0.35, 0.7)
    defs += (f'<clipPath id="{p}jc"><path d="{rounded_rect(x, y, w, h, RADIUS - 2.5)}"/>'
             f"</clipPath>")
    rays = ""
    for i in range(24):
        a = math.radians(i * 15 - 90)
        length, half = (46, 3.4) if i % 2 == 0 else (22, 2.2)
        side = math.radians(90)
        tip = (cx + length * math.cos(a), cy + length * math.sin(a))
        left = (cx + half * math.cos(a - side), cy + half * math.sin(a - side))
        right = (cx + half * math.cos(a + side), cy + half * math.sin(a + side))
        rays += path(polygon([left, tip, right]), fill="#f4c850" if i % 2 == 0 else "#ffe690",
                     opacity=0.9 if i % 2 == 0 else 0.75)
    out = path(rounded_rect(x, y, w, h, RADIUS - 2.5), fill=f"url(#{p}jv)")
    out += group(rays, clip_path=f"url(#{p}jc)")
    out += path(rounded_rect(x, y, w, h, RADIUS - 2.5), fill="none", stroke="#c8962e",
                stroke_width=1.4)
    out += path(rounded_rect(x - 0.9, y - 0.9, w + 1.8, h + 1.8, RADIUS - 1.6), fill="none",
                stroke=INK, stroke_width=0.6, opacity=0.6)
    out += circle(cx, cy, 7.5, fill=f"url(#{p}jd)", stroke="#7a4c0c", stroke_width=1.0)
    out += path(star(cx, cy, 5.5, 1.2, 4, -90), fill="#ffffff", opacity=0.95)
    return defs, out


def stone(p, style, kind):
    """A whole resting stone (87 x 57) in rest coordinates."""
    defs, top = top_surface(p, style, kind)
    return defs + contact_shadow_filter(p), body_layers(p, style, kind == "back") + top


def flip_frame(p, style, frame):
    """One frame of the turning stone, in rest coordinates (the cell adds the offset).

    Frames 7..12 show the face opening out from the middle, tilted (its left side lower),
    where the board draws the growing pictures; frames 0..5 mirror them with the back.
    """
    if frame == 6:
        # Edge on: only the stone's thickness shows, a slim upright slab.
        defs = linear(f"{p}sl", [(0, STYLES[style]["edge"][0]), (1, STYLES[style]["edge"][1])],
                      0, 0, 1, 0)
        body = path(rounded_rect(47, -2, 20, 58, 4), fill=f"url(#{p}sl)", stroke=INK,
                    stroke_width=1.2)
        body += path("M52,2 V52", stroke="#ffffff", stroke_width=1.2, opacity=0.35)
        return defs, body
    mirrored = 12 - frame if frame < 6 else frame
    scale = (mirrored - 6) / 6.0
    x_offset = int((6 - mirrored) * 20 / 6) + 20
    y_offset = 12 - mirrored
    left = 27 + x_offset - 20 * scale
    right = 67 + 20 * scale
    a = (right - left) / FACE_W
    b = -2.0 * y_offset / FACE_W
    e = left - FACE_X * a
    f = y_offset - FACE_X * b
    defs, body = stone(p, style, "back" if frame < 6 else "face")
    return defs, (f'<g transform="matrix({fmt(a)},{fmt(b)},0,1,{fmt(e)},{fmt(f)})">{body}</g>')


def flip_strip(p, style):
    defs = ""
    body = ""
    for frame in range(FLIP_FRAMES):
        d, b = flip_frame(f"{p}f{frame}", style, frame)
        defs += d
        body += (f'<g transform="translate({frame * FLIP_CELL_W + FLIP_DX},{FLIP_DY})">{b}</g>')
    return defs, body


def border(p):
    """Drawn under every resting stone: a soft cast shadow and a dark contour on the ground."""
    defs = (f'<filter id="{p}b" x="-20%" y="-20%" width="140%" height="140%">'
            f'<feGaussianBlur stdDeviation="2"/></filter>'
            f'<filter id="{p}c" x="-20%" y="-20%" width="140%" height="140%">'
            f'<feGaussianBlur stdDeviation="0.9"/></filter>')
    silhouette = "".join(path(face_rect(k)) for k in range(0, EDGE + 1))
    # A wide soft shadow, a dark contact shadow right at the foot, then the contour.
    shadow = group(silhouette, fill="#000000", opacity=0.4, filter=f"url(#{p}b)",
                   transform="translate(7,6.5)")
    shadow += group(silhouette, fill="#000000", opacity=0.7, filter=f"url(#{p}c)",
                    transform="translate(5.5,5)")
    contour = group(silhouette, fill="none", stroke="#1a0e04", stroke_width=2.6, opacity=0.85,
                    transform="translate(4,4)")
    return defs, shadow + contour


# Locks: drawn over face-down stones, at the offsets (-3, -6), (9, -38) and (15, -3).

def lock_chains(p):
    """Lock 0: bronze chains across the stone and a padlock with a keyhole (96 x 66)."""
    defs = linear(f"{p}g", [(0, "#ffe6a8"), (0.5, "#c8913e"), (1, "#5c3414")], 0, 0, 1, 1)
    defs += drop_shadow(f"{p}s", 1, 1.5, 1, 0.5)
    body = ""
    for (x0, y0, x1, y1) in ((6, 10, 90, 60), (6, 60, 90, 10)):
        n = 9
        for i in range(n):
            t = (i + 0.5) / n
            cx, cy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            ang = math.degrees(math.atan2(y1 - y0, x1 - x0))
            rx, ry = (5.4, 2.6) if i % 2 == 0 else (5.4, 1.4)
            body += (f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{rx}" ry="{ry}" fill="none" '
                     f'stroke="{INK}" stroke-width="3.2" '
                     f'transform="rotate({fmt(ang)} {fmt(cx)} {fmt(cy)})"/>')
            body += (f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{rx}" ry="{ry}" fill="none" '
                     f'stroke="url(#{p}g)" stroke-width="1.7" '
                     f'transform="rotate({fmt(ang)} {fmt(cx)} {fmt(cy)})"/>')
    lock = path("M40,30 V25 C40,17 56,17 56,25 V30", fill="none", stroke=INK, stroke_width=5)
    lock += path("M40,30 V25 C40,17 56,17 56,25 V30", fill="none", stroke="#b8c4d0",
                 stroke_width=2.6)
    lock += path(rounded_rect(35, 29, 26, 21, 4), fill=f"url(#{p}g)", stroke=INK, stroke_width=1.3)
    lock += path("M48,35 m-2.6,0 a2.6,2.6 0 1 1 5.2,0 c0,1.3 -0.8,1.9 -1.2,2.4 L50.2,45 H45.8 "
                 "L47,37.4 C46.4,36.9 45.4,36.3 45.4,35 Z", fill=INK)
    lock += path("M37.5,32 H58.5", stroke="#fff0c0", stroke_width=0.9, opacity=0.7)
    return defs, group(body + lock, filter=f"url(#{p}s)")


def lock_pyramid(p):
    """Lock 1: an empty pyramid seat of lapis and gold on top of the stone (76 x 50)."""
    defs = linear(f"{p}g", [(0, "#ffe6a8"), (0.5, "#d49a2e"), (1, "#6a420c")], 0, 0, 1, 1)
    defs += linear(f"{p}b", [(0, "#4a6ecc"), (1, "#16275e")], 0, 0, 0, 1)
    defs += drop_shadow(f"{p}s", 1, 1.5, 1, 0.5)
    body = path(rounded_rect(8, 30, 60, 17, 4), fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
    body += path(polygon([(38, 3), (62, 36), (14, 36)]), fill="none", stroke=INK, stroke_width=5.5,
                 stroke_linejoin="round")
    body += path(polygon([(38, 3), (62, 36), (14, 36)]), fill="none", stroke="#f0c55a",
                 stroke_width=3, stroke_linejoin="round")
    body += path(polygon([(38, 12), (53, 33), (23, 33)]), fill=f"url(#{p}b)", opacity=0.55)
    body += path(polygon([(38, 12), (53, 33), (23, 33)]), fill="none", stroke="#9ab8ff",
                 stroke_width=1.0, stroke_dasharray="3 2")
    for x in (14, 24, 52, 62):
        body += circle(x, 41, 1.6, fill="#6a420c")
    body += path("M11,33 H65", stroke="#fff4c8", stroke_width=0.9, opacity=0.7)
    return defs, group(body, filter=f"url(#{p}s)")


def lock_orb(p):
    """Lock 2: a bronze ring seal with an empty crimson socket for the orb (64 x 60)."""
    defs = linear(f"{p}g", [(0, "#ffe6a8"), (0.5, "#c08a3a"), (1, "#5c3414")], 0, 0, 1, 1)
    defs += radial(f"{p}h", [(0, "#2a0608"), (0.8, "#6a1018"), (1, "#a02a30")], 0.5, 0.5, 0.5)
    defs += drop_shadow(f"{p}s", 1, 1.5, 1, 0.5)
    body = circle(32, 30, 24, fill="none", stroke=INK, stroke_width=8)
    body += circle(32, 30, 24, fill="none", stroke=f"url(#{p}g)", stroke_width=5.4)
    for i in range(12):
        a = math.radians(i * 30)
        body += circle(32 + 24 * math.cos(a), 30 + 24 * math.sin(a), 1.2, fill="#fff0c0")
    for ang in (0, 90, 180, 270):
        a = math.radians(ang)
        x0, y0 = 32 + 7 * math.cos(a), 30 + 7 * math.sin(a)
        x1, y1 = 32 + 21 * math.cos(a), 30 + 21 * math.sin(a)
        body += path(f"M{fmt(x0)},{fmt(y0)} L{fmt(x1)},{fmt(y1)}", stroke=INK, stroke_width=4.2,
                     stroke_linecap="round")
        body += path(f"M{fmt(x0)},{fmt(y0)} L{fmt(x1)},{fmt(y1)}", stroke="#d8a050",
                     stroke_width=2.2, stroke_linecap="round")
    body += circle(32, 30, 8.5, fill=f"url(#{p}h)", stroke=INK, stroke_width=1.6)
    body += circle(32, 30, 8.5, fill="none", stroke="#f0c55a", stroke_width=1.0,
                   stroke_dasharray="2.5 2")
    return defs, group(body, filter=f"url(#{p}s)")


# Keys: carried by face-up stones, at the offsets (6, 9), (0, -55) and (18, -35).

KEY_FRAMES = 8


def key_frame(p, i):
    """Key 0, one frame of 8 (56 x 44 cell): a gold key upright on the seam, a glint running
    down it. The seam lies at x 41 of the cell."""
    defs = linear(f"{p}g", [(0, "#fff4c0"), (0.5, "#f0c048"), (1, "#8a5a0c")], 0, 0, 1, 0)
    defs += drop_shadow(f"{p}s", 1, 1.5, 0.9, 0.5)
    defs += radial(f"{p}sp", [(0, "#ffffff", 1), (0.3, "#fff8d0", 0.8), (1, "#ffe080", 0)])
    gold = f"url(#{p}g)"
    body = circle(41, 8.5, 6.5, fill="none", stroke=INK, stroke_width=4.6)
    body += circle(41, 8.5, 6.5, fill="none", stroke=gold, stroke_width=2.8)
    body += circle(41, 8.5, 2.2, fill="#3a80d0", stroke=INK, stroke_width=0.8)
    body += path(rounded_rect(38.8, 14, 4.4, 26, 1.6), fill=gold, stroke=INK, stroke_width=1.1)
    body += path("M43,29 H48.5 V32.5 H45.5 V34.5 H48.5 V38 H43 Z", fill=gold, stroke=INK,
                 stroke_width=1.0, stroke_linejoin="round")
    body += path("M37,17 H45", stroke=INK, stroke_width=1.0)
    gy = 4 + (i / (KEY_FRAMES - 1)) * 34
    glint = circle(40, gy, 6.5, fill=f"url(#{p}sp)")
    glint += path(star(40, gy, 5.5, 0.9, 4, 45 * (i % 2)), fill="#ffffff", opacity=0.9)
    return defs, group(body, filter=f"url(#{p}s)") + glint


def pyramid_frame(p, i):
    """Key 1, one frame of 8 (94 x 50 cell): a turning lapis pyramid with golden edges,
    centred over the stone."""
    defs = drop_shadow(f"{p}s", 1, 2, 1.2, 0.45)
    defs += radial(f"{p}h", [(0, "#fff6c0", 0.9), (1, "#ffd060", 0)], 0.5, 0.5, 0.5)
    cx, base_y, apex_y = 47.0, 42.0, 9.0
    half = 17.0
    turn = i / KEY_FRAMES * math.pi / 2
    corners = []
    for k in range(4):
        a = turn + k * math.pi / 2
        corners.append((cx + half * math.cos(a), base_y + 5.5 * math.sin(a), math.sin(a)))
    faces = []
    for k in range(4):
        c0, c1 = corners[k], corners[(k + 1) % 4]
        depth = (c0[2] + c1[2]) / 2
        faces.append((depth, c0, c1, k))
    faces.sort(key=lambda face: face[0])
    body = ellipse(cx, 45, 16, 3.5, fill="#000", opacity=0.25)
    body += circle(cx, 26, 20, fill=f"url(#{p}h)")
    shades = ["#5a82e0", "#2d4fa8", "#1a307a", "#3c64c4"]
    for depth, c0, c1, k in faces:
        if depth < -0.05:
            continue
        light = 0.5 + 0.5 * math.cos(math.atan2(c0[1] + c1[1] - 2 * base_y, c0[0] + c1[0]
                                                - 2 * cx) + 2.2)
        colour = mix("#142566", "#7aa0ff", light)
        body += path(polygon([(cx, apex_y), (c0[0], c0[1]), (c1[0], c1[1])]), fill=colour,
                     stroke="#f0c55a", stroke_width=1.3, stroke_linejoin="round")
    body += path(star(cx, apex_y, 4.5, 1, 4, 45 * (i % 2)), fill="#ffffff", opacity=0.9)
    return defs, group(body, filter=f"url(#{p}s)")


def sphere_frame(p, i):
    """Key 2, one frame of 8 (58 x 40 cell): a crimson orb with a golden band that turns."""
    defs = radial(f"{p}g", [(0, "#ffd0c8"), (0.35, "#e83a3a"), (0.8, "#8a0c18"), (1, "#4a0208")],
                  0.38, 0.32, 0.7)
    defs += drop_shadow(f"{p}s", 1, 2, 1.2, 0.45)
    defs += radial(f"{p}h", [(0, "#ffe0c0", 0.8), (1, "#ff9060", 0)], 0.5, 0.5, 0.5)
    cx, cy, r = 29.0, 19.0, 12.0
    body = ellipse(cx, 37, 10, 2.5, fill="#000", opacity=0.25)
    body += circle(cx, cy, 18, fill=f"url(#{p}h)")
    body += circle(cx, cy, r, fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
    phase = i / KEY_FRAMES
    band_rx = r * abs(math.cos(phase * math.pi))
    body += ellipse(cx, cy, max(band_rx, 1.0), r, fill="none", stroke="#f0c55a", stroke_width=1.6,
                    opacity=0.95)
    body += ellipse(cx, cy, r, 3.0, fill="none", stroke="#f0c55a", stroke_width=1.4, opacity=0.9)
    body += ellipse(cx - 4, cy - 5, 4, 2.4, fill="#ffffff", opacity=0.7,
                    transform=f"rotate(-30 {fmt(cx - 4)} {fmt(cy - 5)})")
    return defs, group(body, filter=f"url(#{p}s)")


def bonus_star_frame(p, i, frames=8):
    """A sparkle, one frame of 8 (24 x 24): grows, flashes and fades."""
    t = i / (frames - 1)
    size = math.sin(t * math.pi) * 10 + 1.5
    opacity = 0.35 + 0.65 * math.sin(t * math.pi)
    defs = radial(f"{p}g", [(0, "#ffffff", 1), (0.35, "#fff2a0", 0.9), (1, "#ffb020", 0)])
    body = circle(12, 12, size * 0.9, fill=f"url(#{p}g)", opacity=fmt(opacity))
    body += path(star(12, 12, size, size * 0.18, 4, 45 * t), fill="#fffbe0", opacity=fmt(opacity))
    body += path(star(12, 12, size * 0.55, size * 0.12, 4, 45 + 45 * t), fill="#ffffff",
                 opacity=fmt(opacity))
    return defs, body
