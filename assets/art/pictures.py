"""The 26 stone pictures (IMAGE_TYP0 .. IMAGE_TYP25), each drawn in a 40 x 50 box.

Each picture is told apart from the others by its outline first and its colour second, so
that players who see colours poorly can still match them. Every function takes a prefix for
its definition ids and returns (defs, body).
"""

import math

from svgkit import (INK, circle, ellipse, fmt, group, linear, path, polygon, radial, rect,
                    smooth, star, drop_shadow)

LINE = dict(stroke=INK, stroke_width=1.2, stroke_linejoin="round", stroke_linecap="round")
THIN = dict(stroke=INK, stroke_width=0.8, stroke_linejoin="round", stroke_linecap="round")


def shade(gid, light, base, dark, x1=0.15, y1=0.0, x2=0.85, y2=1.0):
    """The house gradient: lit from the top left."""
    return linear(gid, [(0, light), (0.5, base), (1, dark)], x1, y1, x2, y2)


def shine(cx, cy, rx, ry, angle=-30, opacity=0.45):
    return (f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(rx)}" ry="{fmt(ry)}" fill="#fff" '
            f'opacity="{fmt(opacity)}" transform="rotate({angle} {fmt(cx)} {fmt(cy)})"/>')


def tube(d, width, fill, outline=INK, cap="round"):
    """A stroke drawn as an outlined tube: a dark wide stroke with a coloured narrow one."""
    return (path(d, fill="none", stroke=outline, stroke_width=width + 1.8, stroke_linecap=cap,
                 stroke_linejoin="round") +
            path(d, fill="none", stroke=fill, stroke_width=width, stroke_linecap=cap,
                 stroke_linejoin="round"))


def fish(p):
    defs = shade(f"{p}g", "#a8dcff", "#2f7fd0", "#123f73")
    body = path("M3,26 C7,16 20,13 28,21 L37,13 C35.5,20 35.5,31 37,38 L28,30 "
                "C20,38 7,36 3,26 Z", fill=f"url(#{p}g)", **LINE)
    body += path("M14,17 C17,10 24,10 26,18", fill="#1d5c9e", **THIN)
    body += path("M5,28 C10,33 20,34 27,29 C20,31 10,31 5,28 Z", fill="#d8f0ff", opacity=0.7)
    body += path("M14,19 Q17.5,26 14,33", fill="none", **THIN)
    body += path("M18,30 L22,36 L24,30 Z", fill="#1d5c9e", **THIN)
    body += circle(9.5, 24, 2.4, fill="#fff", **THIN) + circle(9.1, 24, 1.2, fill=INK)
    body += shine(17, 19, 6, 2, -15, 0.42)
    body += circle(31, 8, 2.2, fill="#dff4ff", **THIN) + circle(34.5, 3.5, 1.4, fill="#dff4ff",
                                                                 **THIN)
    return defs, body


def shell(p):
    defs = shade(f"{p}g", "#ffe3cc", "#f38a68", "#a9412f")
    cx, cy, rx, ry = 20.0, 28.0, 16.5, 21.0
    hinge = (20.0, 42.0)
    pts = []
    for i in range(9):
        a = math.radians(200 + i * 17.5)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    d = f"M{fmt(hinge[0])},{fmt(hinge[1])} L{fmt(pts[0][0])},{fmt(pts[0][1])}"
    for a, b in zip(pts, pts[1:]):
        d += f" A3.2,3.2 0 0 1 {fmt(b[0])},{fmt(b[1])}"
    d += " Z"
    body = path(d, fill=f"url(#{p}g)", **LINE)
    for a, b in zip(pts, pts[1:]):
        mx, my = (a[0] + b[0]) / 2, (a[1] + b[1]) / 2
        body += path(f"M{fmt(hinge[0])},{fmt(hinge[1] - 1)} L{fmt(mx)},{fmt(my)}", fill="none",
                     stroke="#9c3a2a", stroke_width=0.9, opacity=0.75)
    body += path("M12,40 L28,40 L26,46 L14,46 Z", fill="#e67a5c", **LINE)
    body += shine(14, 17, 5, 2.5, -40, 0.45)
    return defs, body


def starfish(p):
    defs = radial(f"{p}g", [(0, "#ffe08a"), (0.55, "#f58220"), (1, "#a33a0a")], 0.42, 0.4, 0.62)
    outline = star(20, 26, 18.5, 7.8, 5, -84)
    body = path(outline, fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2,
                stroke_linejoin="round")
    body += path(star(20, 26, 13.5, 4.5, 5, -84), fill="#ffd27a", opacity=0.35)
    for i in range(5):
        a = math.radians(-84 + i * 72)
        for r in (5.0, 9.0, 12.5):
            body += circle(20 + r * math.cos(a), 26 + r * math.sin(a), 1.05, fill="#fff3c8",
                           opacity=0.9)
    body += circle(20, 26, 2.0, fill="#ffe9b0", **THIN)
    return defs, body


def amphora(p):
    defs = shade(f"{p}g", "#f7b58a", "#cf6a3c", "#7a2e12")
    handles = tube("M15.5,12 C8,10 6,15 10,21", 1.8, "#c8643a") + \
        tube("M24.5,12 C32,10 34,15 30,21", 1.8, "#b0522c")
    body = handles
    body += path("M14,5 H26 L25,8 C24,10 24,12 24.5,14 C31.5,17 34,24 33,30 C32,37 25,42 "
                 "22,44.5 L23,47.5 H17 L18,44.5 C15,42 8,37 7,30 C6,24 8.5,17 15.5,14 "
                 "C16,12 16,10 15,8 Z", fill=f"url(#{p}g)", **LINE)
    body += path("M7.6,24 H32.4 C32.9,25.6 33.1,27.3 33.05,29 H6.95 C6.9,27.3 7.1,25.6 7.6,24 Z",
                 fill=INK)
    for i in range(7):
        body += rect(9.5 + i * 3.3, 25.3, 1.6, 2.0, fill="#f2a06e")
    body += path("M9,34.5 H31", fill="none", stroke=INK, stroke_width=1.2)
    body += shine(12.5, 19, 2.5, 5, 20, 0.4)
    return defs, body


def anchor(p):
    defs = linear(f"{p}g", [(0, "#dde8f4"), (0.5, "#7c93ab"), (1, "#34465a")], 0, 0, 1, 1)
    steel = f"url(#{p}g)"
    body = circle(20, 7.5, 3.6, fill="none", stroke=INK, stroke_width=3.6)
    body += circle(20, 7.5, 3.6, fill="none", stroke="#9ab0c8", stroke_width=1.8)
    body += tube("M20,11.5 V42", 3.2, "#8aa0b8", cap="butt")
    body += tube("M11,16 H29", 3.0, "#9ab0c8")
    body += tube("M7,31 C8,40 14,43.5 20,43.5 C26,43.5 32,40 33,31", 3.2, "#7c93ab")
    body += path(polygon([(7, 25.5), (3.5, 33.5), (11.5, 32)]), fill=steel, **LINE)
    body += path(polygon([(33, 25.5), (36.5, 33.5), (28.5, 32)]), fill=steel, **LINE)
    body += circle(20, 16, 1.9, fill="#c9d6e4", **THIN)
    return defs, body


def trident(p):
    defs = ""
    gold = "#f0c55a"
    body = tube("M20,13 V47", 2.6, gold, cap="butt")
    body += tube("M9,9 V19 C9,25 13,26.5 20,26.5 C27,26.5 31,25 31,19 V9", 2.4, gold)
    body += tube("M20,7 V27", 2.6, gold, cap="butt")
    for x, top in ((9, 2.5), (20, 1.0), (31, 2.5)):
        body += path(polygon([(x, top), (x - 3.6, top + 7.5), (x, top + 5.8), (x + 3.6, top + 7.5)]),
                     fill="#ffe08a", **LINE)
    body += rect(17.6, 35, 4.8, 6, rx=1, fill="#7a4a1a", **THIN)
    body += path("M17.6,37 H22.4 M17.6,39 H22.4", stroke="#c89050", stroke_width=0.7)
    body += path("M19.2,14 V33 M8.2,11 V19", stroke="#fff8d0", stroke_width=0.8, opacity=0.8)
    return defs, body


def helmet(p):
    defs = shade(f"{p}g", "#ffe2a0", "#c8913e", "#5c3414")
    defs += shade(f"{p}c", "#ff8a70", "#cf2e24", "#6a0c08")
    body = path("M8,14 C10,3 28,-1 38,10 C33,8.5 24,7 15,14 Z", fill=f"url(#{p}c)", **LINE)
    body += path("M12,9 C18,4 26,3.5 33,6.5 M11,12 C17,7 25,6 31,8", stroke="#ffb0a0",
                 stroke_width=0.7, fill="none", opacity=0.8)
    body += path("M7,25 C7,14 14,10 22,10 C31,10 36,17 36,27 L36,40 C36,43.5 32.5,44.5 30,42 "
                 "L28.5,36 C27,33.5 24.5,35 24.5,38 L24.5,44 C20,46.5 13.5,46.5 11.5,42.5 L11.5,33 "
                 "C8.5,32.5 7,29 7,25 Z", fill=f"url(#{p}g)", **LINE)
    body += path("M11,22.5 C14,20.5 20,20.5 23.5,23 C20,26.5 14,26.5 11,22.5 Z", fill=INK)
    body += path("M16,26 V36 C16,37.5 19,37.5 19,36 V26", fill=INK)
    body += path("M27,14 C31,17 33,22 33,30", fill="none", stroke="#ffe6b0", stroke_width=1.0,
                 opacity=0.7)
    body += shine(15, 15, 5, 2.2, -25, 0.45)
    return defs, body


def lyre(p):
    defs = shade(f"{p}w", "#e8a868", "#a8642a", "#5a2e10")
    gold = "#e8bc58"
    body = ""
    for x in (15.5, 18.5, 21.5, 24.5):
        body += path(f"M{x},12 V37", stroke="#fff6d8", stroke_width=0.9)
    body += tube("M13.5,39 C5,33 3,23 8,16 C10,13 9,9 6.5,7.5", 2.4, gold)
    body += tube("M26.5,39 C35,33 37,23 32,16 C30,13 31,9 33.5,7.5", 2.4, gold)
    body += tube("M8.5,11.5 H31.5", 2.2, "#d8a848")
    body += path("M11,36 H29 C30.5,36 31.5,37 31.5,38.5 V43 C31.5,45.5 29.5,47 27,47 H13 "
                 "C10.5,47 8.5,45.5 8.5,43 V38.5 C8.5,37 9.5,36 11,36 Z", fill=f"url(#{p}w)", **LINE)
    body += circle(20, 41.5, 2.2, fill=INK)
    body += circle(6.5, 7.5, 1.8, fill="#ffe08a", **THIN) + circle(33.5, 7.5, 1.8, fill="#ffe08a",
                                                                    **THIN)
    return defs, body


def owl(p):
    defs = shade(f"{p}g", "#dcc6a6", "#8c6c4a", "#45301c")
    body = path("M9,13 L8,4 L15,10 C18,9 22,9 25,10 L32,4 L31,13 C34,18 35,26 33.5,33 "
                "C32,41 26,46.5 20,46.5 C14,46.5 8,41 6.5,33 C5,26 6,18 9,13 Z",
                fill=f"url(#{p}g)", **LINE)
    body += path("M9,31 C8,38 12,43 17,45 C13,40 12,35 13,30 Z", fill="#5c4028", opacity=0.8)
    body += path("M31,31 C32,38 28,43 23,45 C27,40 28,35 27,30 Z", fill="#5c4028", opacity=0.8)
    body += path("M14.5,33 L17,35 L19.5,33 M20.5,33 L23,35 L25.5,33 M17,38 L19.5,40 L22,38 "
                 "L24.5,40", fill="none", stroke="#3a2614", stroke_width=0.8)
    body += ellipse(20, 21, 12.5, 9, fill="#f4e6cc", **THIN)
    for x in (14.2, 25.8):
        body += circle(x, 20.5, 5.2, fill="#ffc21a", **THIN)
        body += circle(x, 20.5, 2.7, fill=INK)
        body += circle(x - 1.2, 19.2, 0.9, fill="#fff")
    body += path("M18,24.5 L22,24.5 L20,29.5 Z", fill="#f08a1a", **THIN)
    body += path("M15,47 L16,44 M20,47 V44.5 M25,47 L24,44", stroke="#f0a020", stroke_width=1.6,
                 stroke_linecap="round")
    return defs, body


def dolphin(p):
    defs = shade(f"{p}g", "#b6eef4", "#2a9aa8", "#0f4a58")
    pts = [(3.5, 15.5), (9, 9.5), (17, 8), (26, 11.5), (32.5, 19.5), (35, 30), (33.5, 37.5),
           (30.5, 35), (29, 28), (25, 21), (18, 17.5), (10.5, 18.5)]
    body = path("M24,11 C25,6 27,3.5 30.5,2.5 C29.5,6 29.5,10 30.5,14 Z", fill="#1d6f7c", **LINE)
    body += path("M33.5,36 C33,40 35,44 38.5,46 C35,46.5 31.5,45.5 29.5,43 C28,45 25.5,46 22.5,45.5 "
                 "C26,43.5 29,40 30,35.5 Z", fill="#1d6f7c", **LINE)
    body += path(smooth(pts, True, 0.45), fill=f"url(#{p}g)", **LINE)
    body += path("M9,18 C15,16.5 23,19 28.5,27 C29.5,30 30.5,33 30.5,35 C27,28 20,20.5 10,19.5 Z",
                 fill="#e4fbff", opacity=0.75)
    body += path("M17,19 C15,24 15.5,27 17.5,29.5 C18,25.5 19.5,22 22.5,20.5 Z", fill="#1d6f7c",
                 **THIN)
    body += circle(10.5, 12.5, 1.3, fill=INK)
    body += path("M3.5,15.5 C6,15 8,15.3 10.5,16.5", fill="none", **THIN)
    body += shine(20, 11, 5, 1.8, 12, 0.5)
    return defs, body


def octopus(p):
    defs = shade(f"{p}g", "#ecb8f8", "#8e4cb6", "#45205e")
    purple = "#9a58c0"
    arms = [
        "M12,25 C7,30 4,35 6,40 C7,43 10.5,42 10,39.5",
        "M15,27 C13,34 11,40 14,45 C16,47.5 19,45 17.5,43",
        "M19,28 C19,36 19.5,41 22,45 C23.5,47 26.5,45.5 25,43.5",
        "M23,27.5 C26,33 29,38 28.5,42 C28.5,44.5 31.5,45 32,42.5",
        "M27,25 C32,29 36,31 36,36 C36,38.5 33,39 33,36.5",
    ]
    body = ""
    for d in arms:
        body += tube(d, 3.4, purple)
    for x, y in ((7.5, 36), (12.8, 40), (20.5, 39), (28, 37), (33.5, 33)):
        body += circle(x, y, 0.9, fill="#f6dcff")
    body += path("M8,21 C6,10 12,3 20,3 C28,3 34,10 32,21 C31,26 26,29 20,29 C14,29 9,26 8,21 Z",
                 fill=f"url(#{p}g)", **LINE)
    for x in (15, 25):
        body += ellipse(x, 19, 3, 3.4, fill="#fff", **THIN)
        body += ellipse(x + 0.4, 19.6, 1.4, 1.9, fill=INK)
    body += shine(15, 9, 4.5, 2.5, -30, 0.5)
    body += circle(26, 9, 1.3, fill="#f6dcff", opacity=0.8) + circle(29, 13, 1.0, fill="#f6dcff",
                                                                      opacity=0.8)
    return defs, body


def crab(p):
    defs = shade(f"{p}g", "#ffb098", "#d83c2a", "#7a140c")
    red = "#d23c2a"
    body = ""
    for side in (-1, 1):
        for i, (dy, reach) in enumerate(((0, 6), (3.5, 7), (7, 6))):
            x0 = 20 + side * 10
            y0 = 32 + dy
            d = (f"M{fmt(x0)},{fmt(y0)} L{fmt(x0 + side * reach)},{fmt(y0 + 1.5)} "
                 f"L{fmt(x0 + side * (reach + 2.5))},{fmt(y0 + 6)}")
            body += tube(d, 1.6, red)
        body += tube(f"M{fmt(20 + side * 7)},27 C{fmt(20 + side * 12)},24 {fmt(20 + side * 13)},"
                     f"20 {fmt(20 + side * 12)},16", 2.2, red)
    for side in (-1, 1):
        cx = 20 + side * 12.5
        body += path(f"M{fmt(cx - side * 1)},18 C{fmt(cx - side * 6.5)},16 {fmt(cx - side * 6)},"
                     f"6.5 {fmt(cx - side * 1)},4 L{fmt(cx + side * 0.5)},10 "
                     f"L{fmt(cx + side * 4.5)},5.5 C{fmt(cx + side * 6.5)},11 {fmt(cx + side * 5)},"
                     f"17 {fmt(cx - side * 1)},18 Z", fill=f"url(#{p}g)", **LINE)
    body += tube("M16.5,25 V20.5 M23.5,25 V20.5", 1.3, red)
    body += circle(16.5, 19.5, 1.8, fill="#fff", **THIN) + circle(16.5, 19.5, 0.9, fill=INK)
    body += circle(23.5, 19.5, 1.8, fill="#fff", **THIN) + circle(23.5, 19.5, 0.9, fill=INK)
    body += path("M7,30 C7,24.5 13,22.5 20,22.5 C27,22.5 33,24.5 33,30 C33,36 27,39 20,39 "
                 "C13,39 7,36 7,30 Z", fill=f"url(#{p}g)", **LINE)
    body += path("M13,33 C16,35 24,35 27,33", fill="none", stroke="#7a140c", stroke_width=0.8)
    body += shine(14.5, 26, 4.5, 1.8, -10, 0.5)
    return defs, body


def seahorse(p):
    defs = shade(f"{p}g", "#fff6b8", "#f2b220", "#9a5806")
    outline = [(21, 3.5), (26.5, 6), (27.5, 11.5), (25, 15), (28.5, 20.5), (29.5, 28),
               (26.5, 35), (21, 39), (19.5, 43), (22.5, 46), (26, 44.5), (24.5, 42), (27, 42.5),
               (28, 46.5), (23, 49), (16.5, 46), (16, 40), (19, 34.5), (21, 29), (19, 24),
               (16, 21.5), (14, 17)]
    fin = path("M27.5,19 C32,20 35,24 34,29.5 C32,28.5 30.5,27.5 29.5,27 Z", fill="#e08a14", **LINE)
    body = fin
    body += path(smooth(outline, True, 0.5), fill=f"url(#{p}g)", **LINE)
    body += path("M18,8 L9.5,9.8 C8,10.1 8.2,12.6 9.7,12.5 L17.2,12.6 Z", fill=f"url(#{p}g)", **LINE)
    for y in (22, 25.5, 29, 32.5, 36):
        body += path(f"M{fmt(21.5 + (y - 22) * 0.15)},{y} L{fmt(27.5 - abs(y - 27) * 0.35)},"
                     f"{fmt(y - 1)}", stroke="#a86008", stroke_width=0.8)
    body += path("M20,3.8 L21,0.8 L23,3.5 L25,1.8 L25.5,5", fill="#f8c030", **THIN)
    body += circle(21.5, 10.5, 1.9, fill="#fff", **THIN) + circle(21.8, 10.6, 0.95, fill=INK)
    body += shine(23.5, 25, 1.6, 4.5, 20, 0.45)
    return defs, body


def wave(p):
    defs = shade(f"{p}g", "#8ccdf8", "#2468a8", "#0a2c56")
    body = path("M2,47 L2,37 C4,24 12,10 25,7.5 C33,6 38.5,11.5 37,18.5 C35.5,24.5 28,25.5 26,21 "
                "C24.5,17.5 27.5,14.5 31,16 C27.5,11.5 20,14.5 19,22 C18,30.5 26,35.5 38,35 "
                "L38,47 Z", fill=f"url(#{p}g)", **LINE)
    body += path("M6,41 C10,31 15,24 19,22 M4,45 C10,40 20,38 30,40 M12,44 C18,42 26,43 34,44",
                 fill="none", stroke="#a6dcff", stroke_width=1.0, opacity=0.8)
    body += path("M25,7.5 C33,6 38.5,11.5 37,18.5 C36.5,14 33,10.5 27,10.5 C29,13 27,14.5 25,13 "
                 "C23,11.5 22.5,9.5 25,7.5 Z", fill="#ffffff", **THIN)
    for x, y in ((36.5, 22), (38, 26), (35, 27.5)):
        body += circle(x, y, 1.2, fill="#fff", **THIN)
    return defs, body


def sun(p):
    defs = radial(f"{p}d", [(0, "#fffbe0"), (0.55, "#ffcf30"), (1, "#e07a00")], 0.4, 0.38, 0.65)
    defs += shade(f"{p}r", "#ffe680", "#ffa818", "#c05a00")
    body = path(star(20, 25, 19, 11, 12, -90), fill=f"url(#{p}r)", **LINE)
    body += circle(20, 25, 10.5, fill=f"url(#{p}d)", **LINE)
    body += circle(20, 25, 7.5, fill="none", stroke="#e89a10", stroke_width=0.8, opacity=0.8)
    body += circle(16.5, 23.5, 1.1, fill="#a85a00") + circle(23.5, 23.5, 1.1, fill="#a85a00")
    body += path("M16,28 C18,30.5 22,30.5 24,28", fill="none", stroke="#a85a00", stroke_width=1.0,
                 stroke_linecap="round")
    return defs, body


def _crescent(cx, cy, r, ox, oy, r2):
    """Path data of a crescent: a disc with an offset disc cut away."""
    d = math.hypot(ox - cx, oy - cy)
    a = (r * r - r2 * r2 + d * d) / (2 * d)
    h = math.sqrt(max(r * r - a * a, 0.0))
    ux, uy = (ox - cx) / d, (oy - cy) / d
    px, py = cx + a * ux, cy + a * uy
    p1 = (px + h * uy, py - h * ux)
    p2 = (px - h * uy, py + h * ux)
    return (f"M{fmt(p1[0])},{fmt(p1[1])} A{fmt(r)},{fmt(r)} 0 1 0 {fmt(p2[0])},{fmt(p2[1])} "
            f"A{fmt(r2)},{fmt(r2)} 0 1 1 {fmt(p1[0])},{fmt(p1[1])} Z")


def moon(p):
    defs = shade(f"{p}g", "#ffffff", "#c4d4f0", "#5a70a0")
    body = path(_crescent(18, 25, 16, 26.5, 20.5, 13.5), fill=f"url(#{p}g)", **LINE)
    body += circle(9, 27, 1.6, fill="#9aaed4", opacity=0.8) + circle(12.5, 36, 1.2, fill="#9aaed4",
                                                                      opacity=0.8)
    body += path(star(31, 36, 5.5, 2.2, 4, -90), fill="#ffd84a", **THIN)
    body += path(star(33.5, 10, 3.2, 1.3, 4, -90), fill="#ffd84a", **THIN)
    return defs, body


def laurel(p):
    defs = shade(f"{p}g", "#c8f0a0", "#4c9c3c", "#1c4a14")
    leaf = "M0,0 C2.2,-2.6 5.8,-2.6 8,0 C5.8,2.6 2.2,2.6 0,0 Z"
    body = ""
    cx, cy, r = 20.0, 25.0, 14.5
    for side in (-1, 1):
        def point(t):
            # t runs from the bottom (0) to the tip (1) of this branch.
            a = math.radians(100 + t * 150)
            x = cx + r * math.cos(a)
            return (x if side < 0 else 2 * cx - x, cy + r * math.sin(a) * 1.12)
        stem = [point(i / 12) for i in range(13)]
        body += path(smooth(stem, closed=False, tension=0.5), fill="none", stroke="#5a3a14",
                     stroke_width=1.3, stroke_linecap="round")
        for i in range(7):
            t = 0.04 + i * 0.145
            x0, y0 = point(t)
            x1, y1 = point(t + 0.02)
            heading = math.degrees(math.atan2(y1 - y0, x1 - x0))
            for turn in (-38, 38):
                body += (f'<path d="{leaf}" fill="url(#{p}g)" stroke="{INK}" stroke-width="0.8" '
                         f'stroke-linejoin="round" transform="translate({fmt(x0)},{fmt(y0)}) '
                         f'rotate({fmt(heading + turn)})"/>')
        tip = point(1.0)
        body += (f'<path d="{leaf}" fill="url(#{p}g)" stroke="{INK}" stroke-width="0.8" '
                 f'transform="translate({fmt(tip[0])},{fmt(tip[1])}) '
                 f'rotate({fmt(-90 + side * 30)})"/>')
    body += path("M15,44 C17,42 23,42 25,44 L27,49 L22.5,46 L20,49 L17.5,46 L13,49 Z",
                 fill="#c8282a", **THIN)
    return defs, body


def column(p):
    defs = linear(f"{p}g", [(0, "#ffffff"), (0.45, "#ece6da"), (1, "#8c8476")], 0, 0, 1, 0)
    m = f"url(#{p}g)"
    body = path("M12.5,14 H27.5 L27,40 H13 Z", fill=m, **LINE)
    for x in (15.5, 18.5, 21.5, 24.5):
        body += path(f"M{x},15.5 V38.5", stroke="#a49c8c", stroke_width=0.9)
    body += rect(7, 9, 26, 5, rx=1.5, fill=m, **LINE)
    for cx, sweep in ((8.5, 0), (31.5, 1)):
        body += circle(cx, 12.5, 3.6, fill=m, **LINE)
        body += path(f"M{cx},12.5 m-1.8,0 a1.8,1.8 0 1 {sweep} 3.6,0 a1.2,1.2 0 1 {sweep} -2.4,0",
                     fill="none", stroke=INK, stroke_width=0.8)
    body += rect(10, 5, 20, 4, rx=1, fill=m, **LINE)
    body += rect(10.5, 40, 19, 3, fill=m, **LINE)
    body += rect(8, 43, 24, 4, rx=1, fill=m, **LINE)
    return defs, body


def ship(p):
    defs = shade(f"{p}h", "#dca060", "#8a5a2a", "#40220c")
    defs += linear(f"{p}s", [(0, "#ffffff"), (1, "#e2d6b8")], 0, 0, 1, 1)
    body = path("M4,41 C10,44 30,44 36,41", fill="none", stroke="#3a8ad0", stroke_width=1.6)
    for i in range(6):
        x = 10 + i * 4
        body += path(f"M{x},37 L{x - 2},43", stroke="#5a3414", stroke_width=1.0)
    body += tube("M20,5 V34", 1.6, "#8a5a2a", cap="butt")
    body += path("M9,9 C15,11 25,11 31,9 C32,15 32,22 30,28 C24,30 16,30 10,28 C8,22 8,15 9,9 Z",
                 fill=f"url(#{p}s)", **LINE)
    body += path("M8.6,15 C15,17 25,17 31.4,15 L31.3,19 C25,21 15,21 8.7,19 Z", fill="#c8302a",
                 opacity=0.9)
    body += path("M2.5,30 C6,31 30,31 37.5,28 C37,35 33,38 28,38 H11 C7,38 4,35 2.5,30 Z",
                 fill=f"url(#{p}h)", **LINE)
    body += path("M37.5,28 L39,24.5 L36.5,25.5", fill="none", **THIN)
    body += circle(33, 31.5, 1.4, fill="#fff", **THIN) + circle(33, 31.5, 0.6, fill=INK)
    body += path("M5,33 H35", stroke="#f0c060", stroke_width=0.8)
    return defs, body


def oil_lamp(p):
    defs = shade(f"{p}g", "#cfe6b8", "#5e9066", "#243e2a")
    defs += radial(f"{p}f", [(0, "#ffffff"), (0.35, "#fff09a"), (0.75, "#ff9a18"),
                             (1, "#e04a00")], 0.5, 0.7, 0.6)
    defs += radial(f"{p}h", [(0, "#ffe9a0", 0.8), (1, "#ffb030", 0)], 0.5, 0.5, 0.5)
    body = circle(34, 25, 10, fill=f"url(#{p}h)")
    body += path("M34,31.5 C29,27 31,20 34.5,14 C35.5,19 39,22 37.5,27.5 C37,30 35.5,31.5 34,31.5 Z",
                 fill=f"url(#{p}f)", stroke="#c04a00", stroke_width=0.8)
    body += path("M8,33 C3,33 2,27 6,26 C8,25.5 9.5,27 9,29", fill="none", stroke=INK,
                 stroke_width=3.4, stroke_linecap="round")
    body += path("M8,33 C3,33 2,27 6,26 C8,25.5 9.5,27 9,29", fill="none", stroke="#6a9a70",
                 stroke_width=1.6, stroke_linecap="round")
    body += path("M7,36 C7,30 13,28 20,28 C25,28 28,29.5 30,31 L36.5,31.5 C38,31.6 38.5,33.8 37,34.3 "
                 "L30,36.5 C28,39.5 24,41 20,41 H14 C10,41 7,39 7,36 Z", fill=f"url(#{p}g)", **LINE)
    body += ellipse(19, 31.5, 4.5, 1.6, fill="#1a2c1e", **THIN)
    body += path("M14,41 L13,44.5 H26 L25,41", fill="#4a7a52", **LINE)
    body += shine(13, 32, 3.5, 1.5, -10, 0.45)
    return defs, body


def grapes(p):
    defs = radial(f"{p}g", [(0, "#f0c8ff"), (0.45, "#8c3cb0"), (1, "#3a0e4e")], 0.35, 0.3, 0.75)
    defs += shade(f"{p}l", "#c8f090", "#5aa03a", "#1e5014")
    body = path("M21,13 C21,9 22,6 25,3.5", fill="none", stroke="#6a4018", stroke_width=1.8,
                stroke_linecap="round")
    body += path("M22,9 C26,3 35,4 36,10 C33,9 32,12.5 34,15 C29,16 25,14 22,9 Z",
                 fill=f"url(#{p}l)", **THIN)
    body += path("M24.5,9.5 C28,9 31,10.5 33,12.5", fill="none", stroke="#2a5a18", stroke_width=0.6)
    rows = [(4, 16.5), (4, 23), (3, 29.5), (2, 36), (1, 42.5)]
    for count, y in rows:
        for i in range(count):
            x = 20 + (i - (count - 1) / 2) * 6.8
            body += circle(x, y, 3.9, fill=f"url(#{p}g)", **THIN)
    return defs, body


def olive_branch(p):
    defs = shade(f"{p}l", "#e0eeb0", "#82963a", "#3a4612")
    defs += radial(f"{p}o", [(0, "#a8b070"), (0.5, "#4a4a22"), (1, "#161808")], 0.35, 0.3, 0.7)
    body = path("M7,46 C12,36 19,24 33,5", fill="none", stroke="#6a4a20", stroke_width=1.8,
                stroke_linecap="round")
    leaves = [(10.5, 39.5, -60), (13.5, 34, 30), (16.5, 29, -55), (19.5, 24, 35), (23, 19, -50),
              (26, 14.5, 40), (29.5, 10, -45), (33, 5, 20)]
    for x, y, rot in leaves:
        off = 5.5 if rot > 0 else -5.5
        lx, ly = x + off * 0.9, y + 0.5
        body += (f'<ellipse cx="{fmt(lx)}" cy="{fmt(ly)}" rx="6" ry="1.9" fill="url(#{p}l)" '
                 f'stroke="{INK}" stroke-width="0.8" transform="rotate({rot} {fmt(lx)} {fmt(ly)})"/>')
    for x, y in ((9, 30), (25, 27.5), (31.5, 20)):
        body += ellipse(x, y, 3.2, 4.0, fill=f"url(#{p}o)", **THIN)
        body += circle(x - 1, y - 1.4, 0.8, fill="#fff", opacity=0.6)
    return defs, body


def coin(p):
    defs = radial(f"{p}g", [(0, "#fff7cc"), (0.55, "#f2c64c"), (1, "#9a6a10")], 0.38, 0.35, 0.7)
    defs += linear(f"{p}r", [(0, "#ffe89a"), (1, "#b07818")], 0, 0, 1, 1)
    body = ellipse(20, 25.5, 16, 17, fill=f"url(#{p}g)", **LINE)
    body += ellipse(20, 25.5, 12.8, 13.8, fill="none", stroke="#a87416", stroke_width=1.0)
    for i in range(24):
        a = math.radians(i * 15)
        body += circle(20 + 14.5 * math.cos(a), 25.5 + 15.5 * math.sin(a), 0.75, fill="#a87416")
    body += path("M23.5,15 C18.5,14 15.5,17.5 15.8,21 L13.8,24.5 L15.8,25 L15.2,26.8 L16.2,27.6 "
                 "C16,30.5 17.5,31.6 20,31.4 L19.8,36 H27.2 C26.6,31 29,28.5 28.8,22.5 "
                 "C28.6,17.5 26.5,15.3 23.5,15 Z", fill=f"url(#{p}r)", stroke="#8a5a0c",
                 stroke_width=0.9, stroke_linejoin="round")
    body += path("M20,15.5 C22,13 27,13 28.5,16.5 C29.8,19.5 29,22 28.5,23", fill="none",
                 stroke="#8a5a0c", stroke_width=1.4, stroke_linecap="round")
    body += shine(13, 16, 4, 2, -40, 0.55)
    return defs, body


def pomegranate(p):
    defs = radial(f"{p}g", [(0, "#ff9aa8"), (0.5, "#c01c3c"), (1, "#560818")], 0.36, 0.34, 0.72)
    body = path("M14.5,14.5 L13,6.5 L16.8,10 L18.2,4.5 L20.8,9.5 L23.5,4.8 L24,10.5 L28,7 "
                "L25.5,14.5 Z", fill="#a8142e", **LINE)
    body += circle(20, 29, 14.5, fill=f"url(#{p}g)", **LINE)
    body += path("M20,20 C24,22 26.5,27 25.5,33", fill="none", stroke="#7a0c20", stroke_width=0.8,
                 opacity=0.7)
    body += shine(14, 22, 4.5, 2.8, -35, 0.55)
    body += circle(27, 36, 1.1, fill="#ff8a9a", opacity=0.7)
    return defs, body


def eye(p):
    defs = radial(f"{p}i", [(0, "#a8dcff"), (0.55, "#2a7ae0"), (1, "#0a2a70")], 0.5, 0.5, 0.5)
    body = path("M3,26 C9,16 31,16 37,26 C31,36 9,36 3,26 Z", fill="#fffdf6", **LINE)
    body += circle(20, 26, 7.6, fill=f"url(#{p}i)", **THIN)
    body += circle(20, 26, 3.3, fill=INK)
    body += circle(17.6, 23.6, 1.6, fill="#fff")
    body += path("M2,26 C8,14.5 32,14.5 38,26 L40,29.5 L35.5,23.5 C29,17.5 11,17.5 4.5,24.5 Z",
                 fill=INK)
    body += path("M6,11 C13,7 27,7 34,11", fill="none", stroke=INK, stroke_width=2.2,
                 stroke_linecap="round")
    body += path("M12,37 C11,40 9,42 6.5,43 C10.5,43.5 14,42 15,38", fill=INK)
    return defs, body


def turtle(p):
    defs = shade(f"{p}s", "#d8e8a0", "#5c8c3a", "#24461a")
    defs += shade(f"{p}k", "#c8d4a4", "#7a8a58", "#3a4628")
    skin = f"url(#{p}k)"
    body = ""
    for side in (-1, 1):
        body += path(f"M{fmt(20 + side * 8)},18 C{fmt(20 + side * 17)},12 {fmt(20 + side * 19)},"
                     f"16 {fmt(20 + side * 19.5)},22 C{fmt(20 + side * 16)},22 {fmt(20 + side * 12)},"
                     f"23 {fmt(20 + side * 9)},25 Z", fill=skin, **LINE)
        body += path(f"M{fmt(20 + side * 8)},35 C{fmt(20 + side * 14)},36 {fmt(20 + side * 15)},"
                     f"40 {fmt(20 + side * 13)},43 C{fmt(20 + side * 11)},41 {fmt(20 + side * 9)},"
                     f"40 {fmt(20 + side * 6.5)},39 Z", fill=skin, **LINE)
    body += path("M18.5,41 L20,47 L21.5,41 Z", fill=skin, **THIN)
    body += ellipse(20, 8.5, 4.4, 5.2, fill=skin, **LINE)
    body += circle(18.3, 7.5, 0.8, fill=INK) + circle(21.7, 7.5, 0.8, fill=INK)
    body += ellipse(20, 27, 11.5, 14.5, fill=f"url(#{p}s)", **LINE)
    hexes = [(20, 21.5), (20, 32.5), (13.5, 24.5), (26.5, 24.5), (13.5, 31), (26.5, 31)]
    for hx, hy in hexes[:2]:
        pts = [(hx + 4.2 * math.cos(math.radians(a)), hy + 4.2 * math.sin(math.radians(a)))
               for a in range(0, 360, 60)]
        body += path(polygon(pts), fill="#8cb45a", stroke="#2a4a18", stroke_width=0.8)
    body += path("M13,19 L16,22 M27,19 L24,22 M10,27 H15.8 M30,27 H24.2 M13,35.5 L16,32.5 "
                 "M27,35.5 L24,32.5", stroke="#2a4a18", stroke_width=0.8)
    body += shine(15, 19, 3.5, 2, -30, 0.45)
    return defs, body


PICTURES = [fish, shell, starfish, amphora, anchor, trident, helmet, lyre, owl, dolphin, octopus,
            crab, seahorse, wave, sun, moon, laurel, column, ship, oil_lamp, grapes, olive_branch,
            coin, pomegranate, eye, turtle]

NAMES = ["fish", "shell", "starfish", "amphora", "anchor", "trident", "helmet", "lyre", "owl",
         "dolphin", "octopus", "crab", "seahorse", "wave", "sun", "moon", "laurel wreath",
         "column", "ship", "oil lamp", "grapes", "olive branch", "coin", "pomegranate", "eye",
         "turtle"]


def picture(index, p, shadow=True):
    """Picture `index` as (defs, body) in a 40 x 50 box, with its soft shadow."""
    defs, body = PICTURES[index](p)
    if not shadow:
        return defs, body
    defs += drop_shadow(f"{p}sh", 0.9, 1.3, 0.8, 0.4)
    return defs, group(body, filter=f"url(#{p}sh)")
