"""Whole-screen pictures: level backgrounds, the main menu, the level map, the how-to-play
pages, the all-levels-complete window, the logos and the application icon."""

import math
import random

import chrome
import pictures
import scenery as sc
import stones
from svgkit import (AEGEAN, AEGEAN_DARK, AEGEAN_DEEP, GOLD, INK, PAPYRUS, SANS, SERIF, circle,
                    drop_shadow, ellipse, embossed_text, fmt, glow_filter, group, linear, mix,
                    noise_filter, path, polygon, radial, rect, rounded_rect, smooth, star, text,
                    translate)

W, H = 800, 600


def _layer(defs, body, part):
    """Adds a (defs, body) part over what is drawn so far."""
    return defs + part[0], body + part[1]


def _finish(p, defs, body, veil=("#000814", 0.18), vignette=0.5, grain=0.05):
    d, b = sc.calm_veil(p, W, 26, 520, veil[0], veil[1])
    defs += d
    body += b
    d, b = sc.vignette(p, W, H, vignette)
    defs += d
    body += b
    d, b = sc.grain(p, W, H, grain)
    return defs + d, body + b


def bg_harbour(p):
    """Evening harbour: violet sky, white town on the hills, boats at rest."""
    defs, body = sc.sky(p, W, H, [(0, "#2a2a5a"), (0.45, "#7a5a8a"), (0.62, "#e8a07a"),
                                  (0.63, "#5a7aa0"), (1, "#1a3050")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 560, 360, 220, "#ffd8a0", 0.6))
    defs, body = _layer(defs, body, sc.clouds(p, W, 120, 300, 7, "#f0c0c0", 0.35, 4))
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 360, 70, ("#6a5a7a", "#4a3a5a"), 11,
                                             60, 0.3))
    body += sc.white_houses(180, 330, 14, 5, "#e8dce0", "#a898b0", "#4a6aa8")
    body += sc.white_houses(260, 345, 10, 6, "#e0d4d8", "#a898b0", "#4a6aa8")
    defs, body = _layer(defs, body, sc.hills(f"{p}h2", W, H, 375, 30, ("#4a3a58", "#3a2a48"), 12,
                                             50, 0.4))
    defs, body = _layer(defs, body, sc.sea(p, W, 378, H, "#6a7aa0", "#142640", 3, 70, "#ffe0c0",
                                           0.25))
    d, b = sc.sun_path(p, 560, 378, W, "#ffe0b0", 70, 560)
    body += b
    body += path("M0,470 L240,440 L250,452 L0,488 Z", fill="#2a2030")
    body += rect(230, 400, 6, 52, fill="#2a2030") + circle(233, 398, 8, fill="#ffd890",
                                                           opacity=0.5)
    for x, y, s in ((120, 455, 1.3), (330, 430, 1.0), (420, 470, 1.5), (650, 440, 1.1)):
        body += sc.boat(x, y, s, "#2a2030", "#d8c8d0")
    return _finish(p, defs, body, ("#0a0820", 0.16))


def bg_temple(p):
    """Temple on a hill at sunset, warm and quiet."""
    defs, body = sc.sky(p, W, H, [(0, "#3a2a50"), (0.35, "#a85a5a"), (0.6, "#f0a860"),
                                  (1, "#f8d090")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 400, 330, 260, "#fff0c0", 0.7))
    defs, body = _layer(defs, body, sc.clouds(p, W, 100, 260, 8, "#ffd8b0", 0.35, 8))
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 390, 50, ("#a86a6a", "#7a4a50"), 3,
                                             70, 0.2))
    body += sc.temple(320, 300, 160, 110, "#e8c8a8", "#9a6a60", 7)
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 420, 120, ("#6a4048", "#3a2028"), 21,
                                             50, 0.25))
    for x in (90, 130, 640, 690, 730):
        body += sc.cypress(x, 430 - (x % 3) * 6, 90, "#2a1a20", "#000000")
    defs, body = _layer(defs, body, sc.hills(f"{p}h2", W, H, 520, 60, ("#3a2026", "#1a0c10"), 23,
                                             60, 0.3))
    return _finish(p, defs, body, ("#140408", 0.2))


def bg_olive_grove(p):
    """An olive grove under a pale midday sky, hills in haze."""
    defs, body = sc.sky(p, W, H, [(0, "#5a9ac8"), (0.5, "#b8d8e8"), (1, "#e8e8c8")])
    defs, body = _layer(defs, body, sc.clouds(p, W, 60, 200, 9, "#ffffff", 0.5, 12, 8))
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 290, 60, ("#a8b8c0", "#98a8a8"), 5,
                                             80, 0.2))
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 340, 70, ("#9aa878", "#7a8a58"), 6,
                                             60, 0.3))
    rng = random.Random(4)
    for i in range(10):
        x = 40 + i * 80 + rng.uniform(-20, 20)
        body += sc.olive_tree(x, 360 + rng.uniform(-10, 10), 0.9, "#a8b880", "#6a7a48", "#5a4a30",
                              i)
    defs, body = _layer(defs, body, sc.hills(f"{p}h2", W, H, 420, 40, ("#8a8a50", "#6a6a38"), 7,
                                             50, 0.3))
    for i in range(7):
        x = 20 + i * 125 + rng.uniform(-20, 20)
        body += sc.olive_tree(x, 470 + rng.uniform(-8, 8), 1.6, "#8a9a60", "#4a5a30", "#3a2a18",
                              20 + i)
    defs, body = _layer(defs, body, sc.hills(f"{p}h3", W, H, 540, 30, ("#6a6030", "#4a4020"), 8,
                                             50, 0.3))
    return _finish(p, defs, body, ("#101408", 0.38))


def bg_lighthouse(p):
    """Night sea under a full moon, a lighthouse on the rocks."""
    defs, body = sc.sky(p, W, H, [(0, "#040c20"), (0.55, "#16305a"), (0.62, "#2a4a78"),
                                  (1, "#04101e")])
    rng = random.Random(9)
    for _ in range(90):
        body += circle(rng.uniform(0, W), rng.uniform(0, 320), rng.uniform(0.4, 1.3),
                       fill="#ffffff",
                       opacity=fmt(rng.uniform(0.2, 0.8)))
    defs, body = _layer(defs, body, sc.glow(f"{p}m", 250, 150, 140, "#c8e0ff", 0.5))
    body += circle(250, 150, 34, fill="#f4f6ff")
    body += circle(240, 142, 6, fill="#d8deee") + circle(262, 160, 8, fill="#dce2f0")
    defs, body = _layer(defs, body, sc.clouds(p, W, 180, 330, 6, "#8aa0c8", 0.25, 13))
    defs, body = _layer(defs, body, sc.sea(p, W, 372, H, "#1e3c66", "#030a16", 5, 80, "#c8dcff",
                                           0.25))
    d, b = sc.sun_path(p, 250, 372, W, "#e0ecff", 50, 560, 8)
    body += b
    body += path("M520,372 C560,330 640,320 700,340 C740,350 780,345 800,340 V420 H500 Z",
                 fill="#0a1420")
    body += path("M600,330 L612,240 H628 L640,330 Z", fill="#d8dce4")
    body += rect(606, 262, 28, 8, fill="#a02a2a") + rect(603, 298, 34, 8, fill="#a02a2a")
    body += rect(608, 224, 24, 16, fill="#ffe8a0") + path("M604,224 L620,208 L636,224 Z",
                                                          fill="#1a2030")
    defs, body = _layer(defs, body, sc.glow(f"{p}l", 620, 232, 90, "#fff0b0", 0.6))
    body += path("M632,228 L800,200 L800,262 Z", fill="#fff4c0", opacity=0.12)
    return _finish(p, defs, body, ("#000008", 0.1), 0.6)


def bg_reef(p):
    """Under the sea: light rays, sand, sea grass and rocks far away."""
    defs, body = sc.sky(p, W, H, [(0, "#3ab0c0"), (0.4, "#1a7898"), (1, "#062a48")])
    defs, body = _layer(defs, body, sc.light_rays(p, W, H, 420, 9, "#e8ffff", 0.18, 5, 1.2))
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 430, 60, ("#2a6a80", "#1a5068"), 31,
                                             60, 0.4))
    rng = random.Random(7)
    for i in range(14):
        x = rng.uniform(0, W)
        hgt = rng.uniform(40, 110)
        body += path(f"M{fmt(x)},{fmt(470)} C{fmt(x + 10)},{fmt(470 - hgt * 0.5)} {fmt(x - 10)},"
                     f"{fmt(470 - hgt * 0.8)} {fmt(x + 4)},{fmt(470 - hgt)}", fill="none",
                     stroke="#1a6a58", stroke_width=fmt(rng.uniform(3, 6)), stroke_linecap="round",
                     opacity=0.8)
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 520, 50, ("#c8b890", "#8a7a58"), 32,
                                             60, 0.3))
    for _ in range(40):
        body += circle(rng.uniform(0, W), rng.uniform(40, 500), rng.uniform(1, 3.5), fill="none",
                       stroke="#d8ffff", stroke_width=0.8, opacity=fmt(rng.uniform(0.2, 0.5)))
    for x, y, s in ((120, 200, 1.0), (640, 330, 0.8), (700, 160, 0.6)):
        body += path(f"M{fmt(x)},{fmt(y)} c{fmt(10 * s)},{fmt(-8 * s)} {fmt(30 * s)},{fmt(-8 * s)} "
                     f"{fmt(40 * s)},0 l{fmt(8 * s)},{fmt(-6 * s)} v{fmt(12 * s)} l{fmt(-8 * s)},"
                     f"{fmt(-6 * s)} c{fmt(-10 * s)},{fmt(8 * s)} {fmt(-30 * s)},{fmt(8 * s)} "
                     f"{fmt(-40 * s)},0 Z", fill="#0e4a5e", opacity=0.6)
    return _finish(p, defs, body, ("#001018", 0.18))


def bg_agora(p):
    """Inside a colonnade: marble columns, a mosaic floor, warm light from the left."""
    defs = linear(f"{p}w", [(0, "#d8c8a8"), (1, "#a89070")], 0, 0, 1, 0)
    body = rect(0, 0, W, H, fill=f"url(#{p}w)")
    defs += noise_filter(f"{p}n", "0.01 0.04", 4, 41, 0.6, -0.2, w="800", h="600")
    body += rect(0, 0, W, H, fill="#7a6040", opacity=0.4, filter=f"url(#{p}n)")
    # Far wall with a frieze and an opening to the sea.
    body += rect(260, 120, 280, 250, fill="#8ab8d8")
    body += rect(260, 280, 280, 90, fill="#3a78a8")
    body += sc.white_houses(400, 300, 8, 3, scale=0.7)
    body += rect(0, 90, W, 30, fill="#b8a078") + chrome.meander(0, 96, W, 16, "#8a7050", 2.5)
    floor = linear(f"{p}f", [(0, "#a88a60"), (1, "#5a4028")], 0, 0, 0, 1)
    defs += floor
    body += path("M0,370 H800 V600 H0 Z", fill=f"url(#{p}f)")
    for i in range(-12, 13):
        body += path(f"M{400 + i * 30},370 L{400 + i * 110},600", stroke="#3a2818",
                     stroke_width=1.2, opacity=0.35)
    for y in (395, 430, 480, 545):
        body += path(f"M0,{y} H800", stroke="#3a2818", stroke_width=1.2, opacity=0.3)
    for i, x in enumerate((40, 170, 300, 500, 630, 760)):
        scale = 1.0
        cw = 54
        body += rect(x - cw / 2, 130, cw, 240, fill="#e8e0cc")
        for k in range(5):
            body += rect(x - cw / 2 + 6 + k * 10, 130, 3, 240, fill="#b8ac94", opacity=0.6)
        body += rect(x - cw / 2 - 8, 120, cw + 16, 12, fill="#d8ceb8")
        body += rect(x - cw / 2 - 6, 366, cw + 12, 12, fill="#c8bca4")
    defs += linear(f"{p}l", [(0, "#fff0c0", 0.25), (1, "#fff0c0", 0)], 0, 0, 1, 0)
    body += rect(0, 0, W, H, fill=f"url(#{p}l)")
    body += rect(0, 0, W, 90, fill="#6a5438")
    return _finish(p, defs, body, ("#100800", 0.42))


def bg_vineyard(p):
    """Terraced vineyards and a villa in the late afternoon."""
    defs, body = sc.sky(p, W, H, [(0, "#4a8ac0"), (0.5, "#e8d0a0"), (1, "#f0c080")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 650, 220, 200, "#fff0c0", 0.6))
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 300, 80, ("#b09888", "#907868"), 51,
                                             80, 0.2))
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 360, 90, ("#8a9a50", "#5a6a30"), 52,
                                             60, 0.2))
    for i in range(9):
        y = 320 + i * 30
        body += path(f"M-10,{y} C200,{y - 30} 500,{y + 10} 810,{y - 20}", fill="none",
                     stroke="#3a4a18", stroke_width=4, opacity=0.5, stroke_dasharray="6 5")
    body += rect(540, 250, 90, 50, fill="#f0e0c8") + path("M532,252 L585,228 L638,252 Z",
                                                          fill="#b0502a")
    body += rect(560, 270, 12, 16, fill="#5a3a20") + rect(596, 268, 14, 12, fill="#5a3a20")
    for x in (500, 520, 650, 668):
        body += sc.cypress(x, 300, 70, "#2a3a18", "#101808")
    defs, body = _layer(defs, body, sc.hills(f"{p}h2", W, H, 520, 40, ("#5a5a28", "#3a3418"), 53,
                                             60, 0.3))
    return _finish(p, defs, body, ("#100c00", 0.36))


def bg_cliffs(p):
    """White cliffs over deep blue water, gulls far off."""
    defs, body = sc.sky(p, W, H, [(0, "#3a80c0"), (0.6, "#a8d0ec"), (1, "#e0f0f8")])
    defs, body = _layer(defs, body, sc.clouds(p, W, 80, 230, 8, "#ffffff", 0.5, 61, 8))
    defs, body = _layer(defs, body, sc.sea(p, W, 330, H, "#2a80b8", "#06284a", 62, 80, "#ffffff",
                                           0.3))
    body += path("M0,140 C60,150 110,180 150,230 C180,270 190,330 230,380 C250,420 240,480 210,600 "
                 "H0 Z", fill="#e8e4da")
    body += path("M0,140 C60,150 110,180 150,230 C140,260 120,300 110,350 C90,420 60,500 40,600 H0 Z",
                 fill="#c8c0b0")
    body += path("M0,140 C60,150 110,180 150,230 C120,200 60,175 0,170 Z", fill="#6a8a40")
    body += path("M800,250 C760,260 720,300 690,340 C670,380 680,460 700,600 H800 Z",
                 fill="#d8d2c4")
    body += path("M800,250 C760,260 730,280 720,300 C740,290 770,285 800,290 Z", fill="#5a7a38")
    body += sc.white_houses(60, 160, 6, 71, scale=0.8)
    for x, y in ((420, 180), (460, 200), (500, 170)):
        body += path(f"M{x},{y} q6,-6 12,0 q6,-6 12,0", fill="none", stroke="#2a3a50",
                     stroke_width=1.5)
    for x, y, s in ((450, 420, 0.9),):
        body += sc.boat(x, y, s, "#3a2a20", "#f0ece0")
    return _finish(p, defs, body, ("#000818", 0.2))


BACKGROUNDS = [
    ("bg_harbour", bg_harbour, "evening harbour, violet and rose"),
    ("bg_temple", bg_temple, "temple on a hill at sunset"),
    ("bg_olive_grove", bg_olive_grove, "olive grove at midday"),
    ("bg_lighthouse", bg_lighthouse, "night sea with moon and lighthouse"),
    ("bg_reef", bg_reef, "under the sea, light rays over sand"),
    ("bg_agora", bg_agora, "marble colonnade with a mosaic floor"),
    ("bg_vineyard", bg_vineyard, "terraced vineyard with a villa"),
    ("bg_cliffs", bg_cliffs, "white cliffs over deep water"),
]


# ---------------------------------------------------------------------------------------
# Logos


def quarrow_wordmark(p, cx, baseline, size):
    """QUARROW in gold Roman capitals."""
    return embossed_text(p, cx, baseline, "QUARROW", size, "#fff6c8", "#c8861e", stroke=size / 9,
                         letter_spacing=size * 0.08)


def logo_loader(p):
    """The product logo of the loading screen (480 x 110)."""
    defs, body = quarrow_wordmark(p, 240, 72, 66)
    d, e = stones.fish_emblem(f"{p}f", ("#fff3b8", "#f0c55a", "#9a6414"), 240, 94, 0.7)
    defs += d
    body += path("M60,94 H190 M290,94 H420", stroke="#c8963e", stroke_width=1.5)
    body += e
    return defs, body


def logo_big(p):
    """The large logo (520 x 200): the wordmark over a laurel and a stone."""
    # The wreath stands whole inside the picture, its ribbon tied below the subtitle.
    defs, wreath = pictures.laurel(f"{p}l")
    body = f'<g transform="translate(184,3) scale(3.8)" opacity="0.5">{wreath}</g>'
    d, b = quarrow_wordmark(p, 260, 106, 70)
    defs += d
    body += b
    body += text(260, 152, "SOLITAIRE OF THE AEGEAN", 20, family=SERIF, fill="#f4e6c0",
                 stroke=INK, stroke_width=3, paint_order="stroke", letter_spacing="3")
    return defs, body


def ostravel_mark(p, cx, cy, r):
    """The studio mark: a compass rose in a golden ring."""
    defs = linear(f"{p}g", [(0, "#fff6c8"), (0.5, "#e8b040"), (1, "#8a5a0c")], 0, 0, 1, 1)
    defs += radial(f"{p}b", [(0, "#2a78b0"), (1, "#0a2440")], 0.4, 0.35, 0.7)
    body = circle(cx, cy, r, fill=f"url(#{p}b)", stroke=INK, stroke_width=r * 0.04)
    body += circle(cx, cy, r * 0.92, fill="none", stroke=f"url(#{p}g)", stroke_width=r * 0.1)
    body += path(star(cx, cy, r * 0.8, r * 0.16, 4, -90), fill=f"url(#{p}g)", stroke=INK,
                 stroke_width=r * 0.025)
    body += path(star(cx, cy, r * 0.5, r * 0.1, 4, -45), fill="#e8f4ff", stroke=INK,
                 stroke_width=r * 0.02, opacity=0.9)
    body += circle(cx, cy, r * 0.1, fill="#c8302a", stroke=INK, stroke_width=r * 0.02)
    return defs, body


def ostravel_logo(p):
    """The studio screen's logo (420 x 260)."""
    defs, body = ostravel_mark(p, 210, 90, 78)
    d, b = embossed_text(f"{p}t", 210, 218, "OSTRAVEL", 50, "#ffffff", "#b8c8d8", stroke=5,
                         letter_spacing=8)
    defs += d
    body += b
    body += text(210, 250, "G A M E S", 16, family=SANS, fill="#c8a050")
    return defs, body


def logo_small(p):
    """The studio logo in the corner of the main menu (150 x 60)."""
    defs, body = ostravel_mark(p, 28, 30, 24)
    d, b = embossed_text(f"{p}t", 100, 35, "OSTRAVEL", 15, "#ffffff", "#c8d4e0", stroke=2.6,
                         letter_spacing=0.5)
    defs += d
    body += b
    body += text(100, 50, "GAMES", 9, family=SANS, fill="#f0d890", stroke=INK, stroke_width=2,
                 paint_order="stroke", letter_spacing="3")
    return defs, body


def loading_emblem(p):
    """The picture over the loading bar (300 x 230): a golden medallion with a ship at sea."""
    defs = radial(f"{p}s", [(0, "#ffe8b0"), (0.45, "#e8906a"), (1, "#3a2a5a")], 0.5, 0.75, 0.8)
    defs += linear(f"{p}r", [(0, "#fff6c8"), (0.5, "#e0a840"), (1, "#6a400c")], 0, 0, 1, 1)
    defs += f'<clipPath id="{p}c"><circle cx="150" cy="115" r="98"/></clipPath>'
    scene = rect(40, 10, 220, 220, fill=f"url(#{p}s)")
    scene += circle(150, 128, 26, fill="#fff4d0", opacity=0.9)
    d, b = sc.sea(f"{p}w", 300, 135, 230, "#3a6a9a", "#0a2440", 7, 30, "#ffe8c0", 0.35)
    defs += d
    scene += b
    d, ship = pictures.ship(f"{p}sh")
    defs += d
    scene += f'<g transform="translate(96,52) scale(2.7)">{ship}</g>'
    body = circle(150, 115, 110, fill="#000", opacity=0.5)
    body += circle(150, 115, 108, fill=f"url(#{p}r)", stroke=INK, stroke_width=2)
    for i in range(48):
        a = math.radians(i * 7.5)
        body += circle(150 + 103 * math.cos(a), 115 + 103 * math.sin(a), 1.6, fill="#fff0c0",
                       opacity=0.8)
    body += group(scene, clip_path=f"url(#{p}c)")
    body += circle(150, 115, 98, fill="none", stroke=INK, stroke_width=2)
    return defs, body


# ---------------------------------------------------------------------------------------
# Main menu


def title_screen(p):
    """The main menu (800 x 600): the Aegean at dawn between two columns, a marble stele for
    the buttons, the game's name above."""
    defs, body = sc.sky(p, W, H, [(0, "#1a3a70"), (0.35, "#4a88c0"), (0.55, "#f0c890"),
                                  (0.56, "#4a8ab8"), (1, "#0e2c4c")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 400, 330, 300, "#fff4d0", 0.7))
    defs, body = _layer(defs, body, sc.clouds(p, W, 150, 300, 9, "#ffe8d0", 0.45, 91, 7))
    body += path("M0,330 C60,300 130,300 190,318 C230,300 260,306 290,330 Z", fill="#6a7aa0")
    body += path("M520,330 C560,296 640,290 700,312 C740,300 780,306 800,316 V330 Z",
                 fill="#5a6a94")
    body += sc.white_houses(640, 318, 9, 93, "#eae4f0", "#a8a0c0", "#3a6ab0", 0.7)
    defs, body = _layer(defs, body, sc.sea(p, W, 330, H, "#5a90c0", "#0a2a4a", 94, 90, "#fff0d0",
                                           0.3))
    d, b = sc.sun_path(f"{p}g", 400, 330, W, "#fff4d0", 90, 600, 95)
    body += b
    for x, y, s in ((150, 420, 1.2), (680, 450, 1.5)):
        body += sc.boat(x, y, s, "#2a2030", "#f0e8d8")
    # Columns framing the view.
    defs += linear(f"{p}col", [(0, "#fffaf0"), (0.5, "#e0d8c8"), (1, "#8a8272")], 0, 0, 1, 0)
    for x in (0, 700):
        body += rect(x + 18, 60, 64, 540, fill=f"url(#{p}col)")
        for k in range(6):
            body += rect(x + 24 + k * 10, 60, 3, 540, fill="#a89c88", opacity=0.55)
        body += rect(x + 6, 36, 88, 24, fill=f"url(#{p}col)", stroke="#8a8272", stroke_width=1)
        body += rect(x + 0, 22, 100, 14, fill=f"url(#{p}col)", stroke="#8a8272", stroke_width=1)
        for cx in (x + 12, x + 88):
            body += circle(cx, 48, 11, fill="#ece6d8", stroke="#8a8272", stroke_width=1.2)
            body += circle(cx, 48, 5, fill="none", stroke="#8a8272", stroke_width=1.2)
    body += rect(0, 0, W, 22, fill="#d8d0c0") + chrome.meander(0, 5, W, 12, "#8a8272", 2)
    # The stele behind the buttons.
    defs += linear(f"{p}st", [(0, "#fbf6ea"), (0.6, "#ece2cc"), (1, "#c8bca0")], 0, 0, 1, 1)
    defs += linear(f"{p}fr", [(0, "#ffe8b0"), (0.45, "#c89040"), (1, "#5c3414")], 0, 0, 1, 1)
    defs += noise_filter(f"{p}n", "0.02 0.06", 4, 97, 0.5, -0.2, w="800", h="600")
    defs += drop_shadow(f"{p}sh", 4, 6, 6, 0.5)
    stele = path(rounded_rect(276, 100, 248, 462, 14), fill=f"url(#{p}fr)", stroke=INK,
                 stroke_width=1.2)
    stele += path(rounded_rect(286, 108, 228, 444, 9), fill=f"url(#{p}st)", stroke=INK,
                  stroke_width=1.0)
    stele += path(rounded_rect(286, 108, 228, 444, 9), fill="#9a8a68", opacity=0.5,
                  filter=f"url(#{p}n)")
    stele += chrome.meander(298, 536, 204, 8, "#b89a60", 1.3)
    stele += path(rounded_rect(296, 166, 208, 140, 8), fill="#2a78b0", opacity=0.12)
    body += group(stele, filter=f"url(#{p}sh)")
    d, medal = stones.fish_emblem(f"{p}e", ("#fff3b8", "#f0c55a", "#9a6414"), 400, 236, 2.4)
    defs += d
    defs += radial(f"{p}md", [(0, "#3a9ad0"), (1, "#0e3a60")], 0.4, 0.35, 0.7)
    body += circle(400, 236, 62, fill=f"url(#{p}fr)", stroke=INK, stroke_width=1.2)
    body += circle(400, 236, 54, fill=f"url(#{p}md)", stroke=INK, stroke_width=1.0)
    body += medal
    defs, body = _layer(defs, body, quarrow_wordmark(f"{p}w", 400, 92, 62))
    d, b = sc.vignette(p, W, H, 0.45)
    return defs + d, body + b


# ---------------------------------------------------------------------------------------
# Level map

ONE_SIDE_POINTS = [(504, 88), (469, 91), (435, 99), (398, 107), (366, 105), (337, 123), (304, 141),
                   (332, 178), (303, 204), (275, 236), (335, 235), (387, 251)]
TWO_SIDE_POINTS = [(202, 214), (226, 243), (271, 315), (317, 365), (405, 369), (510, 300),
                   (463, 251), (411, 203), (463, 159), (519, 113)]

ISLAND = [(250, 120), (290, 84), (360, 66), (440, 58), (520, 56), (580, 62), (600, 80), (575, 102),
          (520, 118), (470, 126), (430, 140), (405, 170), (385, 200), (395, 222), (430, 232),
          (445, 250), (430, 272), (390, 285), (330, 288), (282, 280), (250, 262), (238, 230),
          (246, 195), (240, 160)]


def level_map(p):
    """The level map (800 x 600): a sea chart with a crescent island; the land road of the
    One-Side levels runs along the island, the sea route of the Two-Side levels round it. The
    lower band holds the scrolls and the buttons."""
    defs = radial(f"{p}sea", [(0, "#5aa8d0"), (0.7, "#2a6a9a"), (1, "#123a60")], 0.45, 0.4, 0.8)
    body = rect(0, 0, W, 420, fill=f"url(#{p}sea)")
    defs += noise_filter(f"{p}n", "0.012 0.03", 4, 101, 0.6, -0.2, w="800", h="420")
    body += rect(0, 0, W, 420, fill="#c8e8ff", opacity=0.25, filter=f"url(#{p}n)")
    rng = random.Random(5)
    for _ in range(70):
        x, y = rng.uniform(0, W), rng.uniform(20, 410)
        body += path(f"M{fmt(x)},{fmt(y)} q4,-3 8,0 t8,0", fill="none", stroke="#e0f4ff",
                     stroke_width=1.0, opacity=0.35)
    # Shallows, then land.
    body += path(smooth(ISLAND, True, 0.5), fill="none", stroke="#a8e0f0", stroke_width=26,
                 opacity=0.35, stroke_linejoin="round")
    body += path(smooth(ISLAND, True, 0.5), fill="none", stroke="#e8f8ff", stroke_width=8,
                 opacity=0.5, stroke_linejoin="round")
    defs += linear(f"{p}land", [(0, "#e8dca8"), (0.5, "#c8b878"), (1, "#9a8a50")], 0, 0, 1, 1)
    defs += noise_filter(f"{p}ln", "0.03", 4, 103, 0.6, -0.2, w="800", h="420")
    body += path(smooth(ISLAND, True, 0.5), fill=f"url(#{p}land)", stroke="#6a5a30",
                 stroke_width=1.6)
    body += path(smooth(ISLAND, True, 0.5), fill="#6a7a30", opacity=0.35, filter=f"url(#{p}ln)")
    # Hills and groves on the island.
    for x, y in ((300, 110), (330, 96), (560, 80), (270, 200), (300, 262)):
        body += path(f"M{x - 16},{y + 8} L{x},{y - 10} L{x + 16},{y + 8} Z", fill="#a8946a",
                     stroke="#5a4a28", stroke_width=1.0)
        body += path(f"M{x},{y - 10} L{x + 6},{y + 8} H{x + 16} Z", fill="#7a6a48")
    for x, y in ((420, 80), (445, 78), (360, 150), (350, 210), (265, 170), (410, 265), (540, 100)):
        body += circle(x, y, 5, fill="#6a8a3a", stroke="#3a4a18", stroke_width=0.8)
    body += sc.temple(366, 272, 30, 22, "#f4ecd8", "#a89878", 4)
    # The land road.
    body += path(smooth(ONE_SIDE_POINTS, False, 0.45), fill="none", stroke="#5a3a18",
                 stroke_width=5, stroke_linecap="round", opacity=0.55)
    body += path(smooth(ONE_SIDE_POINTS, False, 0.45), fill="none", stroke="#f4e0b0",
                 stroke_width=2, stroke_dasharray="5 4", stroke_linecap="round")
    # The sea route.
    body += path(smooth(TWO_SIDE_POINTS, False, 0.45), fill="none", stroke="#ffffff",
                 stroke_width=2.2, stroke_dasharray="2 6", stroke_linecap="round", opacity=0.85)
    # Compass rose and a sea creature.
    defs, body = _layer(defs, body, ostravel_mark(f"{p}c", 690, 330, 48))
    body += text(690, 270, "N", 16, family=SERIF, fill="#fff4d0", stroke=INK, stroke_width=2.5,
                 paint_order="stroke")
    d, b = pictures.octopus(f"{p}o")
    defs += d
    body += f'<g transform="translate(96,300) scale(1.6)" opacity="0.5">{b}</g>'
    d, b = pictures.dolphin(f"{p}d")
    defs += d
    body += f'<g transform="translate(600,140) scale(1.3)" opacity="0.55">{b}</g>'
    # Title ribbon.
    defs += linear(f"{p}rb", [(0, "#c83a2a"), (1, "#6a140c")], 0, 0, 0, 1)
    body += path("M230,28 H570 L590,44 L570,60 H230 L210,44 Z", fill="#000", opacity=0.35,
                 transform="translate(2,3)")
    body += path("M230,28 H570 L590,44 L570,60 H230 L210,44 Z", fill=f"url(#{p}rb)", stroke=INK,
                 stroke_width=1.2)
    body += path("M236,32 H564", stroke="#ffb0a0", stroke_width=0.8, opacity=0.7)
    # Chart border.
    body += rect(3, 3, W - 6, 414, fill="none", stroke="#e8d8a8", stroke_width=6)
    body += rect(0.5, 0.5, W - 1, 419, fill="none", stroke=INK, stroke_width=1.5)
    body += rect(8, 8, W - 16, 404, fill="none", stroke=INK, stroke_width=1.0, opacity=0.6)
    # Lower band: a bronze-framed shelf of dark wood.
    defs += linear(f"{p}wood", [(0, "#6a3e1c"), (0.5, "#4a2810"), (1, "#2a1406")], 0, 0, 0, 1)
    defs += noise_filter(f"{p}wn", "0.004 0.3", 3, 107, 0.7, -0.2, w="800", h="600")
    body += rect(0, 420, W, 180, fill=f"url(#{p}wood)")
    body += rect(0, 420, W, 180, fill="#000", opacity=0.35, filter=f"url(#{p}wn)")
    defs, body = _layer(defs, body, chrome.bronze_band(f"{p}b1", 0, 420, W, 9))
    body += chrome.meander(4, 421.5, W, 5.5, "#5c3414", 1.0)
    body += rect(20, 426, 760, 124, rx=10, fill="#000", opacity=0.25)
    defs, body = _layer(defs, body, chrome.bronze_band(f"{p}b2", 0, 591, W, 9, flip=True))
    return defs, body


# ---------------------------------------------------------------------------------------
# How to play


def mini_stone(p, x, y, left, right, style="ivory", kind="face", scale=1.0):
    """A stone with two pictures (indices, or None) at (x, y)."""
    defs, body = stones.stone(f"{p}s", style, kind)
    if kind != "back":
        for index, dx in ((left, 6), (right, 46)):
            if index is None:
                continue
            d, b = pictures.picture(index, f"{p}p{dx}")
            defs += d
            body += translate(dx, 0, b)
    return defs, f'<g transform="translate({fmt(x)},{fmt(y)}) scale({fmt(scale)})">{body}</g>'


def page_frame(p, title):
    defs, body = chrome.papyrus_fill(p, 0, 0, W, H, "#f2e2b4", 111)
    defs, body = _layer(defs, body, chrome.bronze_band(f"{p}b1", 0, 0, W, 12))
    defs, body = _layer(defs, body, chrome.bronze_band(f"{p}b2", 0, H - 12, W, 12, flip=True))
    body += chrome.meander(4, 2.5, W, 7, "#5c3414", 1.1)
    body += rect(20, 24, 760, 552, rx=12, fill="none", stroke="#a88a50", stroke_width=1.5)
    defs, body = _layer(defs, body, embossed_text(f"{p}t", 400, 66, title, 34, "#fff6c8",
                                                  "#c8861e", stroke=4))
    return defs, body


def panel(x, y, w, h):
    return (path(rounded_rect(x + 2, y + 3, w, h, 10), fill="#000", opacity=0.15) +
            path(rounded_rect(x, y, w, h, 10), fill="#fbf3da", stroke="#a88a50", stroke_width=1.2))


def caption(x, y, lines, size=13.5, anchor="start", colour="#3a2410"):
    out = ""
    for i, line in enumerate(lines):
        out += text(x, y + i * (size + 4), line, size, family=SANS, weight="normal",
                    anchor=anchor, fill=colour)
    return out


def heading(x, y, words, size=17):
    return text(x, y, words, size, family=SERIF, anchor="start", fill="#7a3a10")


def arrow(x1, y1, x2, y2, colour="#c8302a"):
    ang = math.atan2(y2 - y1, x2 - x1)
    hx = [(x2, y2), (x2 - 10 * math.cos(ang - 0.45), y2 - 10 * math.sin(ang - 0.45)),
          (x2 - 10 * math.cos(ang + 0.45), y2 - 10 * math.sin(ang + 0.45))]
    return (path(f"M{fmt(x1)},{fmt(y1)} Q{fmt((x1 + x2) / 2)},{fmt(min(y1, y2) - 30)} "
                 f"{fmt(x2 - 6 * math.cos(ang))},{fmt(y2 - 6 * math.sin(ang))}", fill="none",
                 stroke=colour, stroke_width=3, stroke_linecap="round") +
            path(polygon(hx), fill=colour))


def pointer(x1, y1, x2, y2, colour):
    """A short straight arrow from a label to what it names."""
    ang = math.atan2(y2 - y1, x2 - x1)
    head = [(x2, y2), (x2 - 7 * math.cos(ang - 0.5), y2 - 7 * math.sin(ang - 0.5)),
            (x2 - 7 * math.cos(ang + 0.5), y2 - 7 * math.sin(ang + 0.5))]
    return (path(f"M{fmt(x1)},{fmt(y1)} L{fmt(x2 - 4 * math.cos(ang))},"
                 f"{fmt(y2 - 4 * math.sin(ang))}", stroke=colour, stroke_width=2,
                 stroke_linecap="round") + path(polygon(head), fill=colour))


def how_to_play(p, one_side):
    """A page of rules: the move, free stones, the deck, jokers, locks and keys, combos. The
    band from y 490 down stays clear for the check box and the Close button."""
    title = "How to Play: One-Side Solitaire" if one_side else "How to Play: Two-Side Solitaire"
    defs, body = page_frame(p, title)

    def add(d_b):
        nonlocal defs, body
        defs += d_b[0]
        body += d_b[1]

    # 1. The move.
    body += panel(40, 90, 360, 190)
    body += heading(56, 116, "1. Match the end of the line")
    if one_side:
        add(mini_stone(f"{p}m1", 70, 176, 4, 9))
        add(mini_stone(f"{p}m2", 240, 128, 9, 14))
        body += arrow(290, 133, 150, 186)
        body += caption(56, 252, ["Click a free stone whose picture matches",
                                  "the right end of the line."])
    else:
        add(mini_stone(f"{p}m1", 56, 176, 12, 4))
        add(mini_stone(f"{p}m0", 142, 176, 4, 9))
        add(mini_stone(f"{p}m2", 292, 128, 9, 14))
        body += arrow(320, 133, 230, 184)
        body += caption(56, 252, ["Drag a free stone to either end of the line;",
                                  "it turns itself so that the pictures meet."])
    # 2. Free stones.
    body += panel(420, 90, 340, 190)
    body += heading(436, 116, "2. Only free stones play")
    # A stone lying on another: the top one is free, the one below it lies face down.
    add(mini_stone(f"{p}f1", 456, 158, None, None, kind="back"))
    add(mini_stone(f"{p}f2", 496, 136, 20, 3))
    body += text(620, 170, "free", 15, family=SERIF, anchor="start", fill="#2a7a3a")
    body += pointer(614, 165, 590, 165, "#2a7a3a")
    body += text(572, 236, "face down", 15, family=SERIF, anchor="start", fill="#a02a20")
    body += pointer(566, 230, 540, 214, "#a02a20")
    body += caption(436, 252, ["A stone under another one lies face down.",
                               "Uncover it to play it."])
    # 3. Deck, jokers.
    body += panel(40, 296, 230, 166)
    body += heading(56, 322, "3. The deck")
    add(mini_stone(f"{p}d1", 60, 348, None, None, kind="back"))
    add(mini_stone(f"{p}d2", 67, 341, None, None, kind="back"))
    add(mini_stone(f"{p}d3", 74, 334, None, None, kind="back"))
    if one_side:
        body += caption(56, 428, ["No match? Click the deck", "for a new end stone."])
    else:
        body += caption(56, 428, ["Deal the deck onto the piles;", "their top stones play too."])
    body += panel(285, 296, 230, 166)
    body += heading(301, 322, "4. Jokers")
    add(mini_stone(f"{p}j1", 330, 340, None, None, style="joker"))
    body += caption(301, 428, ["A joker matches any", "picture at all."])
    body += panel(530, 296, 230, 166)
    body += heading(546, 322, "5. Locks and keys")
    add(mini_stone(f"{p}l1", 548, 354, None, None, kind="back"))
    d, b = stones.lock_chains(f"{p}lc")
    defs += d
    body += translate(545, 348, b)
    add(mini_stone(f"{p}k1", 660, 354, 15, 16))
    d, b = stones.key_frame(f"{p}kf", 2)
    defs += d
    body += translate(666, 363, b)
    body += caption(546, 428, ["Play a stone with a key to", "open the lock of its kind."])
    # Combos along the bottom edge, above the clear band.
    body += caption(400, 484, ["Play quickly to fill the combo meter: x2, x3 and x4 points. "
                                   "Bonuses sparkle on some stones."], 13, anchor="middle",
                    colour="#5a3414")
    return defs, body


# ---------------------------------------------------------------------------------------
# All levels complete: the dialog draws this window as its four corner pieces only (the
# middle column 240..400 and row 200..360 of the image are never shown), so the picture is
# composed on the visible 440 x 380 and split around the hidden middle.

COMPLETE_W, COMPLETE_H = 600, 540
COMPLETE_SPLIT_X, COMPLETE_SPLIT_Y, COMPLETE_GAP_X, COMPLETE_GAP_Y = 240, 200, 160, 160


def complete_visible(p):
    w, h = 440, 380
    defs, body = chrome.window_frame(f"{p}wf", w, h, base="#f2e2b4", seed=121, frame=14)
    d, wreath = pictures.laurel(f"{p}l")
    defs += d
    body += f'<g transform="translate(140,80) scale(4)">{wreath}</g>'
    d, cup = pictures.amphora(f"{p}a")
    defs += d
    body += f'<g transform="translate(182,132) scale(1.9)">{cup}</g>'
    defs, body = _layer(defs, body, embossed_text(f"{p}t", 220, 70, "Congratulations!", 34,
                                                  "#fff6c8", "#c8861e", stroke=4))
    body += text(220, 300, "You have completed every level.", 16, family=SERIF, fill="#3a2410")
    body += text(220, 320, "The gods of the sea salute you!", 14, family=SERIF, weight="normal",
                 fill="#5a3414")
    return defs, body


def complete_window(p):
    defs, visible = complete_visible(p)
    body = ""
    for vx0, vx1, dx in ((0, COMPLETE_SPLIT_X, 0), (COMPLETE_SPLIT_X, 440, COMPLETE_GAP_X)):
        for vy0, vy1, dy in ((0, COMPLETE_SPLIT_Y, 0), (COMPLETE_SPLIT_Y, 380, COMPLETE_GAP_Y)):
            cid = f"{p}q{vx0}_{vy0}"
            defs += (f'<clipPath id="{cid}"><rect x="{vx0}" y="{vy0}" width="{vx1 - vx0}" '
                     f'height="{vy1 - vy0}"/></clipPath>')
            body += (f'<g transform="translate({dx},{dy})"><g clip-path="url(#{cid})">'
                     f'<use href="#{p}vis"/></g></g>')
    defs += f'<g id="{p}vis">{visible}</g>'
    return defs, body


# ---------------------------------------------------------------------------------------
# Application icon


def app_icon(p):
    """The application icon (256 x 256): a jade stone with the golden fish on Aegean blue."""
    defs = radial(f"{p}bg", [(0, "#3a9ad0"), (1, "#0a2a4a")], 0.4, 0.3, 0.8)
    body = path(rounded_rect(8, 8, 240, 240, 48), fill=f"url(#{p}bg)", stroke=INK,
                stroke_width=4)
    body += path(rounded_rect(16, 16, 224, 224, 42), fill="none", stroke="#f0c55a",
                 stroke_width=4)
    d, b = stones.stone(f"{p}s", "ivory", "back")
    defs += d
    # At icon size the house emblem is the mark, so it shines in gold over the quiet one.
    d, e = stones.fish_emblem(f"{p}e", stones.STYLES["ivory"]["emblem"], scale=1.05)
    defs += d
    body += f'<g transform="translate(28,66) scale(2.3)">{b}{e}</g>'
    return defs, body
