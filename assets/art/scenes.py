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


def _finish(p, defs, body, calm=("#d8c8a0", 0.2), edge="#1a0e04", top=0.6, bottom=0.65,
            sides=0.35, mottle=0.08, seed=5):
    """Paint texture over the scene, then the soft frame that calms the play area."""
    defs, body = _layer(defs, body, sc.paint_texture(p, W, H, seed, mottle))
    return _layer(defs, body, sc.soft_frame(p, W, H, calm[0], calm[1], edge, top, bottom, sides))


def bg_harbour(p):
    """Evening harbour: a rose and violet sky, a white town climbing the hills with its first
    lights, a round tower with a lantern on the mole and boats at rest."""
    defs, body = sc.sky(p, W, H, [(0, "#2a2456"), (0.22, "#5a4682"), (0.42, "#c07a98"),
                                  (0.56, "#f4b48a"), (0.6, "#f8d0a0"), (1, "#e8a888")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 600, 330, 280, "#ffe0b0", 0.75))
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 70, 240, 8, "#9a7aa8", "#ffc8a0", 4,
                                                  0.6, 4))
    # Far: two ranges of hills, the nearer one covered with the town.
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 320, 50, ("#8a78a0", "#a890a8"), 10,
                                             70, 0.3))
    hill = sc.ridge(W, 340, 90, 11, 60, 0.2)
    d, b = sc.hills(f"{p}h1", W, H, 340, 90, ("#6a5878", "#4a3a5a"), 11, 60, 0.2)
    defs += d
    d, b = sc.textured(p, "h1", b, freq="0.01 0.04", octaves=3, seed=11, strength=0.35)
    defs += d
    body += b
    town = sc.hillside_town(60, 520, hill, 70, 150, 5, "#c0aec4", "#7a6a8c", "#4a5a98",
                            "#ffd890", 0.06)
    d, b = sc.textured(p, "tw", town, freq="0.1", octaves=1, seed=5, strength=0.2)
    defs += d
    body += b
    for x in (40, 100, 530, 560, 700):
        body += sc.cypress(x, sc.ridge_y(hill, x) + 30, 40, "#2e2440", "#000000")
    # The sea: ripples, the sun's glitter and the lights of the town.
    d, b = sc.sea(p, W, 388, H, "#a888a8", "#1a2040", 3, 70, "#ffe0c0", 0.3)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.water_texture(p, 0, 388, W, 212, "#0a0820", 0.25, 3))
    body += sc.sun_path(p, 600, 390, W, "#ffe4b8", 70, 560)[1]
    rng = random.Random(6)
    lights = [(rng.uniform(80, 520), rng.uniform(392, 400)) for _ in range(16)]
    body += sc.reflections(lights, "#ffd890", 6, 36)
    # The mole with its tower on the left, small boats across the water.
    mole = path("M-10,430 L300,418 L306,436 L-10,456 Z", fill="#4a3a50")
    mole += path("M-10,430 L300,418 L301,422 L-10,434 Z", fill="#c8a0a0", opacity=0.6)
    mole += sc.round_tower(64, 432, 44, 140, ("#5a4658", "#8a7080", "#e0b8b0"))
    for x in (120, 180, 240):
        mole += rect(x, 418, 5, 10, fill="#2a2030")
    d, b = sc.textured(p, "ml", mole, freq="0.06", octaves=2, seed=7, strength=0.3)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.glow(f"{p}l", 64, 280, 70, "#ffd890", 0.7))
    for x, y, s in ((340, 420, 0.9), (430, 440, 1.0), (680, 426, 0.8)):
        body += sc.boat(x, y, s, "#2a2030", "#e8d4d0")
        body += sc.reflections([(x - 8, y + 1), (x + 8, y + 1)], "#2a2030", x, 14)
    # Near: a fishing boat moored in the right corner and the quay at the bottom left.
    near = sc.moored_boat(700, 515, 1.5, "#3a5a8a", "#c8402a")
    near += sc.moored_boat(120, 528, 1.2, "#b8582a", "#2a4a7a")
    near += path("M-10,600 L-10,500 L70,496 L84,600 Z", fill="#3a2a3a")
    near += rect(20, 470, 10, 30, fill="#2a1e2a") + rect(16, 468, 18, 5, fill="#4a3a4a")
    d, b = sc.textured(p, "nb", near, freq="0.05 0.15", octaves=2, seed=8, strength=0.3)
    defs += d
    body += b
    return _finish(p, defs, body, ("#4a3a5a", 0.3), "#0e0818", 0.55, 0.6, 0.3, seed=9)


def bg_temple(p):
    """Sunset over the sea: a temple stands against the low sun on a headland to the right,
    islands far off, cypresses and a fallen column dark in the foreground."""
    defs, body = sc.sky(p, W, H, [(0, "#2e2450"), (0.18, "#6a3a62"), (0.34, "#c8606a"),
                                  (0.48, "#f4a064"), (0.56, "#ffd890"), (1, "#f0b070")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 330, 300, 360, "#fff2c0", 0.9))
    body += circle(330, 318, 30, fill="#fff6d8", opacity=0.9)
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 70, 220, 9, "#b8687a", "#ffb870", 3,
                                                  0.7, 4))
    # Far: the sea with islands and the sun's path.
    defs, body = _layer(defs, body, sc.sea(p, W, 336, H, "#d89070", "#6a3a50", 3, 60, "#ffe0a0",
                                           0.3))
    body += path("M-10,338 C40,318 90,312 140,322 C170,326 190,334 220,338 Z", fill="#8a5a78")
    body += path("M300,338 C330,328 360,326 390,332 L410,338 Z", fill="#9a6a80")
    body += sc.sun_path(p, 330, 336, W, "#fff0c0", 60, 470)[1]
    # The headland of the temple.
    defs += linear(f"{p}hdg", [(0, "#8a4a4a"), (1, "#3a1a24")], 0, 0, 0, 1)
    head = ("M420,600 L430,420 C460,380 500,330 540,318 C580,306 620,300 700,300 "
            "C740,300 780,306 810,312 V600 Z")
    d, b = sc.textured(p, "hd", path(head, fill=f"url(#{p}hdg)"), freq="0.02 0.07", octaves=3,
                       seed=23, strength=0.35, rough=5)
    defs += d
    body += b
    body += path("M540,318 C580,306 620,300 700,300 C740,300 780,306 810,312", fill="none",
                 stroke="#ffb870", stroke_width=3, opacity=0.6)
    d, b = sc.textured(p, "tp", sc.temple(552, 302, 170, 118, "#c08078", "#4a2030", 8),
                       freq="0.05", octaves=2, seed=24, strength=0.2)
    defs += d
    body += b
    body += rect(548, 218, 178, 3, fill="#ffc890", opacity=0.5)
    body += path("M548,203 L637,184 L726,203", fill="none", stroke="#ffc890", stroke_width=2,
                 opacity=0.6)
    # Middle: a dark shore of hills with olive trees across the bottom.
    d, b = sc.hills(f"{p}h1", W, H, 440, 50, ("#8a4a4a", "#2a121c"), 21, 60, 0.3)
    defs += d
    d, b = sc.textured(p, "h1", b, freq="0.008 0.03", octaves=3, seed=21, strength=0.4)
    defs += d
    body += b
    pts = sc.ridge(W, 440, 50, 21, 60, 0.3)
    d, b = sc.glow(f"{p}g2", 330, 430, 260, "#ff9a60", 0.35)
    defs += d
    body += b
    body += path(smooth(pts, closed=False), fill="none", stroke="#ffb070", stroke_width=2.5,
                 opacity=0.45)
    # A path winding up from the shore to the temple, and terraces of olives beside it.
    track = ("M360,600 C380,540 300,500 380,470 C460,440 520,430 520,400 C520,370 560,340 "
             "600,305")
    body += path(track, fill="none", stroke="#c88a6a", stroke_width=7, opacity=0.35,
                 stroke_linecap="round")
    body += path(track,
                 fill="none", stroke="#ffc890", stroke_width=2, opacity=0.3, stroke_linecap="round")
    for row, (y0, scale) in enumerate(((452, 0.8), (478, 0.95), (508, 1.1))):
        x = 200.0 + row * 20
        while x < 760:
            if abs(x - 420) > 50:
                body += sc.olive_crown(x, y0 + 12 * math.sin(x / 90 + row), scale,
                                       ("#2a1420", "#4a2630", "#8a4a48", "#1a0a10"),
                                       int(x) + row, 4)
            x += 46 * scale
    trees = ""
    rng = random.Random(25)
    x = 10.0
    while x < W:
        trees += sc.olive_crown(x, sc.ridge_y(pts, x) + 6, rng.uniform(0.9, 1.3),
                                ("#2a1420", "#4a2630", "#a0584a", "#1a0a10"), int(x), 5)
        x += rng.uniform(40, 90)
    defs += sc.rough_filter(f"{p}tr", 4, "0.15", 2, 25)
    body += group(trees, filter=f"url(#{p}tr)")
    # Near: cypresses and a fallen column at the left edge, rocks along the bottom.
    near = ""
    for x, h in ((28, 250), (70, 200), (-6, 170), (778, 190), (800, 230)):
        near += sc.cypress(x, 560, h, "#1e0e16", "#000000")
        near += path(f"M{fmt(x + h * 0.05)},{fmt(560 - h * 0.9)} q{fmt(h * 0.12)},{fmt(h * 0.3)} "
                     f"{fmt(h * 0.08)},{fmt(h * 0.8)}", fill="none", stroke="#ff9a60",
                     stroke_width=2, opacity=0.35)
    near += path("M-10,600 L-10,494 C60,474 140,479 220,494 C260,502 300,514 330,534 L340,600 Z",
                 fill="#1e0c14")
    for x0, length in ((70, 48), (124, 44), (172, 40)):
        near += path(polygon([(x0, 488), (x0 + length, 480), (x0 + length + 2, 510),
                              (x0 + 2, 518)]),
                     fill="#5a2e38")
        for k in range(1, 5):
            near += path(f"M{x0 + 2},{488 + k * 6} L{x0 + length + 1},{480 + k * 6}",
                         stroke="#2a1018", stroke_width=1.2, opacity=0.6)
        near += path(polygon([(x0, 488), (x0 + length, 480), (x0 + length, 484), (x0, 492)]),
                     fill="#ffb07a", opacity=0.45)
    near += sc.grass(-10, 340, 494, 540, 120, ("#1e0c12", "#2a1218", "#3a1a20"), 26, (8, 20))
    d, b = sc.textured(p, "nr", near, freq="0.1", octaves=2, seed=27, strength=0.25, rough=9)
    defs += d
    body += b
    return _finish(p, defs, body, ("#6a4048", 0.3), "#140408", 0.55, 0.6, 0.3, seed=29)


def bg_olive_grove(p):
    """An old olive grove on rolling hills in warm late-morning light, a great gnarled tree
    framing the left."""
    defs, body = sc.sky(p, W, H, [(0, "#5e9cc8"), (0.3, "#a9cbdc"), (0.5, "#f2e6c2"),
                                  (1, "#f0d49a")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 690, 60, 300, "#fff2c8", 0.75))
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 50, 170, 6, "#fbf6ea", "#fff0c8", 12,
                                                  0.6))
    # Far: mountains in blue haze.
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 250, 70, ("#9fb0c4", "#c8c8c0"), 5,
                                             70, 0.35))
    # Middle: sage hills dotted with rows of olive trees, smaller and paler far off.
    rng = random.Random(4)
    bands = [(292, 40, ("#b4b890", "#a4a878"), 0.45, 6), (352, 46, ("#a6ab70", "#8c9458"), 0.7, 8),
             (420, 40, ("#96a05c", "#7c8444"), 1.0, 9)]
    for n, (base, amp, shades, scale, seed) in enumerate(bands):
        pts = sc.ridge(W, base, amp, seed, 60, 0.25)
        defs, body = _layer(defs, body, sc.hills(f"{p}h{n + 1}", W, H, base, amp, shades, seed, 60,
                                                 0.25))
        haze = 1 - scale
        colours = (mix("#4e5a34", "#a8b098", haze), mix("#7d8a58", "#b8c0a8", haze),
                   mix("#b8c498", "#d8dcc8", haze), mix("#4a3a24", "#a8a090", haze))
        trees = ""
        for row in range(4):
            offset = 10 + row * 16 * scale
            x = rng.uniform(-20, 20)
            while x < W + 20:
                y = sc.ridge_y(pts, x) + offset
                trees += sc.olive_crown(x, y, scale * (0.9 + row * 0.08), colours,
                                        n * 1000 + int(x) + row * 7, 4)
                x += rng.uniform(34, 50) * scale
        defs += sc.rough_filter(f"{p}gr{n}", 3 * scale + 1, "0.15", 2, n + 3)
        body += group(trees, filter=f"url(#{p}gr{n})")
    # Near: a dry-stone terrace wall, grass and poppies.
    d, wall = sc.textured(p, "wt", sc.dry_stone_wall(0, W, 488, 112, ("#3a3020", "#7a6a50",
                                                                        "#b8a480"), 3),
                          freq="0.08", octaves=2, seed=3, strength=0.3)
    defs += d
    body += path("M0,474 C200,464 600,482 800,470 V600 H0 Z", fill="#6e7a3a")
    body += wall
    body += sc.grass(0, W, 474, 494, 140, ("#5a6a28", "#7a8a38", "#9aa84a"), 5, (8, 22))
    body += sc.flowers(0, W, 468, 492, 60, ("#d8402a", "#e8682a", "#f4e8c0"), 6, 2.6)
    # The landmark: a great old olive on the left, its crown across the top corner, and a
    # younger one on the right edge.
    leaves = ("#3a4626", "#6a7a48", "#b0bc8a")
    trunk, crown = sc.old_olive(40, 620, 1.15, ("#33251a", "#65503a", "#a8906a") + leaves, 21)
    d, b = sc.textured(p, "ot", trunk, freq="0.02 0.1", octaves=3, seed=21, strength=0.45)
    defs += d
    body += b
    trunk, crown2 = sc.old_olive(826, 610, 0.56, ("#33251a", "#5e4a34", "#9a8462") + leaves, 33,
                                 mirror=True)
    body += trunk
    d, b = sc.textured(p, "oc", crown + crown2, freq="0.09", octaves=2, seed=22, strength=0.3,
                       rough=14)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.light_rays(p, W, H, 640, 6, "#fff4d0", 0.12, 9, 0.8))
    return _finish(p, defs, body, ("#6a6a40", 0.38), "#1e1a08", 0.5, 0.6, 0.3)


def bg_lighthouse(p):
    """Night sea under a full moon; a striped lighthouse on a rocky headland to the right
    sweeps its warm beam over the sky."""
    defs, body = sc.sky(p, W, H, [(0, "#030a1e"), (0.35, "#0e2248"), (0.58, "#2a4a7a"),
                                  (0.62, "#1a3660"), (1, "#030a16")])
    defs += linear(f"{p}mwg", [(0, "#8aa8e0", 0), (0.5, "#8aa8e0", 0.08), (1, "#8aa8e0", 0)],
                   0, 0, 1, 1)
    d, b = sc.blurred(p, "mw", path("M0,260 C200,140 500,60 800,0 L800,80 C520,130 260,220 0,340 Z",
                                    fill=f"url(#{p}mwg)"), 18)
    defs += d
    body += b
    body += sc.stars(W, 340, 220, 9)
    defs, body = _layer(defs, body, sc.glow(f"{p}m", 230, 130, 170, "#c8dcff", 0.55))
    body += circle(230, 130, 32, fill="#f4f6ff")
    body += circle(220, 122, 6, fill="#d8deee") + circle(242, 140, 8, fill="#dce2f0")
    body += circle(236, 116, 4, fill="#e0e6f4")
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 170, 300, 6, "#2a4068", "#a8c0e8", 13,
                                                  0.6, 4))
    # Far islands on the horizon, then the moonlit sea.
    body += path("M-10,362 C40,350 90,346 150,352 L190,362 Z", fill="#10203a")
    body += path("M380,362 C420,356 470,354 500,362 Z", fill="#142640")
    d, b = sc.sea(p, W, 362, H, "#2a4a78", "#030a16", 5, 90, "#c8dcff", 0.3)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.water_texture(p, 0, 362, W, 238, "#000814", 0.3, 5))
    body += sc.sun_path(p, 230, 364, W, "#e0ecff", 55, 560, 8)[1]
    # The beam across the sky, behind the tower.
    defs += linear(f"{p}bmg", [(0, "#fff0c0", 0.7), (1, "#fff0c0", 0)], 1, 0, 0, 0.3)
    d, b = sc.blurred(p, "bm", path("M735,160 L250,20 L230,100 Z", fill=f"url(#{p}bmg)"), 9)
    defs += d
    body += b
    # The headland: layered rocks, surf at their feet, the keeper's house and the tower.
    rocks = path("M470,400 C520,350 560,300 610,280 C650,266 700,270 740,262 C770,258 790,262 "
                 "810,266 V420 C760,424 720,414 680,420 C620,426 560,414 520,412 C500,410 480,406 "
                 "470,400 Z", fill="#142236")
    rocks += path("M600,282 C640,268 700,272 740,262 C770,258 790,262 810,266", fill="none",
                  stroke="#8aa8d8", stroke_width=2, opacity=0.5)
    rocks += rect(620, 262, 60, 28, fill="#c8ccd8") + rect(656, 262, 24, 28, fill="#8a90a8")
    rocks += path("M614,264 L650,242 L686,264 Z", fill="#5a2a2a")
    rocks += rect(630, 272, 8, 10, fill="#ffc870") + rect(664, 272, 8, 10, fill="#ffb060")
    tower = path("M616,280 L626,176 H654 L664,280 Z", fill="#e4e6ee")
    tower += path("M640,280 L640,176 H654 L664,280 Z", fill="#9aa0b8", opacity=0.8)
    for y0 in (196, 236):
        tower += path(f"M{fmt(624 - (y0 - 176) * 0.0)},{y0} H{fmt(656 + (y0 - 176) * 0.1)} "
                      f"V{y0 + 16} H{fmt(622)} Z", fill="#a02a2a")
    tower += rect(620, 168, 40, 8, fill="#2a2a3a") + rect(626, 146, 28, 22, fill="#fff0b0")
    tower += path("M622,146 L640,128 L658,146 Z", fill="#1a2030")
    tower = translate(95, 0, tower)
    d, b = sc.textured(p, "rk", rocks + tower, freq="0.05 0.1", octaves=3, seed=14,
                       strength=0.35)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.glow(f"{p}l", 735, 158, 110, "#ffe8a0", 0.75))
    body += sc.foam(470, 800, 418, 50, 15, "#c8dcff", 6)
    body += sc.reflections([(634, 430), (668, 432), (735, 432)], "#ffd890", 16, 60)
    # Near: black rocks in the bottom left corner with moonlit rims and surf.
    near = path("M-10,600 V470 C30,450 70,440 110,460 C150,470 190,500 220,540 L240,600 Z",
                fill="#060c18")
    near += path("M-10,470 C30,450 70,440 110,460 C150,470 190,500 220,540", fill="none",
                 stroke="#8aa8d8", stroke_width=2, opacity=0.45)
    near += path("M760,600 C770,560 790,540 810,530 V600 Z", fill="#060c18")
    d, b = sc.textured(p, "nr", near, freq="0.08", octaves=2, seed=16, strength=0.3, rough=6)
    defs += d
    body += b
    body += sc.foam(120, 260, 540, 40, 17, "#c8dcff", 20)
    return _finish(p, defs, body, ("#1a2a4a", 0.22), "#000008", 0.5, 0.6, 0.35, mottle=0.05,
                   seed=18)


def bg_reef(p):
    """Under the sea: warm light falling through the surface onto sand, the broken columns
    of a sunken temple on the left and bright corals on the right."""
    defs, body = sc.sky(p, W, H, [(0, "#5ac8c8"), (0.3, "#1e8aa8"), (0.7, "#0e4a70"),
                                  (1, "#062a48")])
    defs, body = _layer(defs, body, sc.caustics(p, 0, -30, W, 130, "#e8ffff", 0.35, 3,
                                                "0.02 0.06"))
    defs, body = _layer(defs, body, sc.light_rays(p, W, H, 420, 10, "#fff4c8", 0.2, 5, 1.2))
    # Far: blue reef walls in the haze.
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 400, 110, ("#2a7a98", "#1a5878"), 31,
                                             50, 0.6))
    defs, body = _layer(defs, body, sc.hills(f"{p}h1", W, H, 440, 60, ("#1e6484", "#144a68"), 33,
                                             40, 0.5))
    grass = ""
    rng = random.Random(7)
    for i in range(40):
        x = rng.uniform(0, W)
        hgt = rng.uniform(30, 90)
        base = 470 + rng.uniform(-10, 10)
        grass += path(f"M{fmt(x)},{fmt(base)} C{fmt(x + 10)},{fmt(base - hgt * 0.5)} {fmt(x - 10)},"
                      f"{fmt(base - hgt * 0.8)} {fmt(x + 4)},{fmt(base - hgt)}", fill="none",
                      stroke=rng.choice(("#1a6a58", "#2a7a50", "#3a8a58")),
                      stroke_width=fmt(rng.uniform(2, 5)), stroke_linecap="round", opacity=0.75)
    body += grass
    # The sand with its net of light.
    defs += linear(f"{p}sdg", [(0, "#d8c498"), (1, "#8a7a58")], 0, 0, 0, 1)
    d, b = sc.textured(p, "sd", path("M-10,480 C150,460 300,476 420,470 C560,462 680,478 810,468 "
                                     "V600 H-10 Z", fill=f"url(#{p}sdg)"), freq="0.02 0.08",
                       octaves=3, seed=32, strength=0.3)
    defs += d
    body += b
    d, b = sc.caustics(f"{p}f", 0, 462, W, 160, "#fffbe0", 0.28, 34)
    defs += d
    body += b
    # The sunken temple on the left: a standing column, fallen drums, amphorae in the sand.
    ruin = sc.fluted_column(70, 190, 500, 44, ("#6a8a8a", "#a8c0b8", "#d8ece4"), 5)
    ruin += path("M40,190 L102,190 L96,172 L62,180 L52,168 Z", fill="#a8c0b8")
    ruin += path(polygon([(110, 500), (150, 486), (158, 520), (116, 532)]), fill="#90a8a0")
    ruin += path(polygon([(160, 506), (200, 496), (206, 526), (166, 536)]), fill="#8aa098")
    ruin += sc.amphora(230, 520, 0.7, "#b07050", "#5a3020")
    fallen = sc.amphora(280, 518, 0.6, "#a06848", "#5a3020")
    ruin += f'<g transform="rotate(70 280 518)">{fallen}</g>'
    for k in range(10):
        ruin += ellipse(70 + rng.uniform(-16, 16), 300 + k * 20, rng.uniform(4, 10),
                        rng.uniform(3, 6), fill=rng.choice(("#3a6a5a", "#4a7a58")), opacity=0.5)
    d, b = sc.textured(p, "rn", ruin, freq="0.06", octaves=2, seed=35, strength=0.35)
    defs += d
    body += b
    # Corals and a sea fan on the right, rocks and coral in the near corners.
    reef = sc.sea_fan(720, 500, 1.6, "#c8506a", 36)
    reef += sc.boulder(700, 540, 180, 70, ("#1a3a4a", "#2a5a68", "#4a8a90"), 37)
    reef += sc.branching_coral(640, 530, 1.2, "#e87a4a", "#ffb080", 38)
    reef += sc.branching_coral(770, 540, 1.5, "#f09a40", "#ffd080", 39)
    reef += sc.branching_coral(600, 550, 0.9, "#d8506a", "#ff90a0", 40, 3)
    reef += sc.boulder(40, 580, 160, 60, ("#1a3a4a", "#2a5a68", "#4a8a90"), 41)
    reef += sc.branching_coral(20, 560, 1.1, "#e8704a", "#ffb080", 42, 3)
    d, b = sc.textured(p, "rf", reef, freq="0.09", octaves=2, seed=43, strength=0.3)
    defs += d
    body += b
    body += sc.fish_school([(600 + rng.uniform(-60, 90), 110 + rng.uniform(-40, 50),
                             rng.uniform(0.8, 1.2)) for _ in range(18)], "#0a4a68", 1.1)
    body += sc.fish_school([(150, 300, 1.8), (520, 380, 1.2)], "#0e5a78")
    for _ in range(50):
        body += circle(rng.uniform(0, W), rng.uniform(40, 500), rng.uniform(1, 3.5), fill="none",
                       stroke="#d8ffff", stroke_width=0.8, opacity=fmt(rng.uniform(0.2, 0.5)))
    return _finish(p, defs, body, ("#1a6a88", 0.22), "#001020", 0.45, 0.6, 0.35, mottle=0.05,
                   seed=44)


def bg_agora(p):
    """The agora in warm evening light: a long stoa across the square, the acropolis with its
    temple glowing above it, great marble columns framing the sides."""
    defs, body = sc.sky(p, W, H, [(0, "#3e6aa0"), (0.2, "#8aa6c0"), (0.36, "#f2d2a0"),
                                  (0.5, "#f4b878"), (1, "#e0a060")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 150, 200, 260, "#fff0c8", 0.8))
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 60, 150, 5, "#f2d8c8", "#ffd090", 41,
                                                  0.55))
    # Far: the acropolis rock and its temple catching the last sun.
    body += path("M-10,232 C80,200 180,196 260,214 L560,220 C640,196 720,190 810,206 V232 Z",
                 fill="#c89a80", opacity=0.8)
    rock = ("M230,232 C270,226 300,214 330,200 L352,184 C356,172 368,168 380,164 L400,162 "
            "L560,162 C576,164 590,170 596,182 L618,196 C650,210 690,222 740,232 Z")
    defs += linear(f"{p}rkg", [(0, "#d8a070"), (1, "#a07050")], 0, 0, 0, 1)
    d, b = sc.textured(p, "rk", path(rock, fill=f"url(#{p}rkg)"), freq="0.03 0.09", octaves=3,
                       seed=41, strength=0.4, rough=4)
    defs += d
    body += b
    body += sc.temple(424, 164, 112, 66, "#fae6c4", "#b88a6a", 8)
    body += sc.white_houses(300, 222, 10, 49, "#f0dcc0", "#c0987a", "#b8502c", 0.8)
    body += sc.white_houses(680, 224, 9, 50, "#f0dcc0", "#c0987a", "#b8502c", 0.8)
    d, b = sc.blurred(p, "hz", rect(0, 200, W, 60, fill="#f4c890", opacity=0.35), 8)
    defs += d
    body += b
    # Middle: the stoa across the square, trees standing up behind its roof.
    for x, h in ((120, 70), (138, 52), (300, 40), (520, 44), (660, 66), (680, 50)):
        body += sc.cypress(x, 216, h, "#3a4222", "#1a2010")
    stoa = rect(-10, 232, W + 20, 98, fill="#6a4830")
    stoa += path("M-10,214 L810,214 L810,232 L-10,232 Z", fill="#b8502c")
    stoa += path("M-10,206 L810,206 L810,216 L-10,216 Z", fill="#8a3a1e")
    stoa += rect(-10, 232, W + 20, 12, fill="#e8d0ac") + rect(-10, 244, W + 20, 4, fill="#a88a68")
    for i in range(40):
        stoa += rect(i * 21, 236, 10, 5, fill="#8a6a4a", opacity=0.5)
    for i in range(30):
        x = 6 + i * 28
        stoa += sc.fluted_column(x, 252, 322, 9, ("#b89870", "#f0dcbc", "#fff4dc"), 3)
        stoa += rect(x + 5, 252, 18, 70, fill="#3a2414", opacity=0.25)
    stoa += rect(-10, 322, W + 20, 8, fill="#d8c0a0") + rect(-10, 330, W + 20, 6, fill="#a88a68")
    d, b = sc.textured(p, "st", stoa, freq="0.05", octaves=2, seed=42, strength=0.25)
    defs += d
    body += b
    # The square: paving in perspective and the long shadows of the near columns.
    defs += linear(f"{p}flg", [(0, "#d8b890"), (1, "#a07850")], 0, 0, 0, 1)
    floor = rect(0, 336, W, 264, fill=f"url(#{p}flg)")
    for i in range(-14, 15):
        floor += path(f"M{400 + i * 40},336 L{400 + i * 150},600", stroke="#6a4a2a",
                      stroke_width=1, opacity=0.25)
    y, step = 340, 8
    while y < 600:
        floor += path(f"M0,{fmt(y)} H800", stroke="#6a4a2a", stroke_width=1, opacity=0.22)
        y += step
        step *= 1.28
    floor += path(polygon([(0, 600), (80, 600), (460, 336), (420, 336)]), fill="#3a2010",
                  opacity=0.12)
    d, b = sc.textured(p, "fl", floor, freq="0.01 0.03", octaves=2, seed=43, strength=0.12)
    defs += d
    body += b
    rng = random.Random(44)
    for x in (150, 230, 575, 655):
        body += ellipse(x + 8, 360, 22, 4, fill="#3a2010", opacity=0.25)
        body += rect(x - 10, 330, 20, 30, fill="#c8b090") + rect(x - 13, 326, 26, 5, fill="#e0ccaa")
    body += sc.amphora(150, 326, 0.45, "#b8582a", "#6a2a10")
    body += sc.amphora(655, 326, 0.45, "#b8582a", "#6a2a10")
    body += sc.olive_crown(230, 326, 1.1, ("#3e4a28", "#6a7a48", "#a8b480", "#4a3018"), 45, 5)
    body += sc.olive_crown(575, 326, 1.1, ("#3e4a28", "#6a7a48", "#a8b480", "#4a3018"), 46, 5)
    # Near: great columns and a frieze framing the square; amphorae at their feet.
    near = ""
    for x in (38, 762):
        near += sc.fluted_column(x, 70, 500, 78, ("#a89070", "#ecdcc0", "#fff8e8"), 7)
        near += rect(x - 52, 500, 104, 100, fill="#d0bc9c") + rect(x - 52, 500, 104, 6,
                                                                    fill="#f0e2c8")
    near += rect(-10, 0, W + 20, 58, fill="#e4d2b0") + rect(-10, 50, W + 20, 8, fill="#b89c78")
    near += rect(-10, 14, W + 20, 26, fill="#9a4a24")
    near += chrome.meander(0, 20, W, 18, "#1a0c04", 3)
    d, b = sc.textured(p, "nr", near, freq="0.015 0.05", octaves=3, seed=47, strength=0.16)
    defs += d
    body += b
    for x, y, s in ((112, 516, 1.0), (150, 520, 0.75), (688, 516, 0.95)):
        body += sc.amphora(x, y, s, rng.choice(("#c0602c", "#a84a20")), "#5a200c")
    defs, body = _layer(defs, body, sc.light_rays(p, W, H, 120, 5, "#fff0c8", 0.14, 48, 0.5))
    return _finish(p, defs, body, ("#7a5a3a", 0.38), "#1a0c04", 0.4, 0.6, 0.32, seed=48)


def bg_vineyard(p):
    """Terraced vineyards in golden late-afternoon light, a villa among cypresses on the
    hilltop and a vine pergola hanging over the top edge."""
    defs, body = sc.sky(p, W, H, [(0, "#4e82b8"), (0.22, "#a8bccc"), (0.4, "#f4d6a0"),
                                  (0.55, "#f6b870"), (1, "#e89a58")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 700, 215, 280, "#fff0c0", 0.85))
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 70, 190, 6, "#f4d8c0", "#ffc880", 51,
                                                  0.6))
    # Far: lavender hills in the haze of the low sun.
    defs, body = _layer(defs, body, sc.hills(f"{p}h0", W, H, 262, 60, ("#b89aa0", "#d8b090"), 51,
                                             80, 0.3))
    # Middle: the villa's hill and the terraces below it.
    top_x, top_y = 640, 196
    defs += linear(f"{p}hl", [(0, "#b0a860"), (1, "#8a7a40")], 0, 0, 0, 1)
    d, b = sc.textured(p, "hx", path("M-10,300 C150,270 330,250 470,225 C560,205 600,196 640,196 "
                                     "C700,196 760,210 810,230 V600 H-10 Z",
                                     fill=f"url(#{p}hl)"), freq="0.012 0.05", octaves=3, seed=52,
                       strength=0.25)
    defs += d
    body += b
    for i, dx in enumerate((-95, -80, 70, 84, 98)):
        body += sc.cypress(top_x + dx, top_y + 10 + (i % 2) * 4, 64 + (i % 3) * 12, "#2e3a1a",
                           "#101808")
    body += sc.villa(top_x, top_y + 12, 1.0, "#f6e2c0", "#d0a880", "#c0582c", "#7a3418")
    rows = sc.vine_rows(W, 290, 7, 13, 10, ("#5a3a18", "#4a5a20", "#7a8a30", "#b8b850",
                                            "#5a2a4a"), 53, 0.8)
    defs += sc.rough_filter(f"{p}vr", 2.5, "0.2", 1, 53)
    body += group(rows, filter=f"url(#{p}vr)")
    defs, body = _layer(defs, body, sc.hills(f"{p}h2", W, H, 430, 30, ("#9a7a3a", "#7a5a28"), 54,
                                             80, 0.2))
    rows = sc.vine_rows(W, 420, 6, 18, 10, ("#4a2a10", "#3a4a18", "#66782a", "#a8b048",
                                            "#4a1a3a"), 55, 1.5)
    defs += sc.rough_filter(f"{p}vn", 3, "0.15", 1, 55)
    body += group(rows, filter=f"url(#{p}vn)")
    # The pergola: a beam along the top, leaves and grapes hanging from it at the corners.
    rng = random.Random(56)
    leaves = ""
    body += sc.limb([(-10, 14), (300, 20), (560, 12), (810, 18)], 10, 10, "#5a3a1e")
    body += sc.limb([(30, -10), (40, 610)], 18, 14, "#4a3018")
    body += sc.limb([(772, -10), (766, 610)], 16, 14, "#4a3018")
    body += sc.limb([(46, 40), (30, 200), (52, 380), (36, 600)], 4, 5, "#6a4a26", opacity=0.8)
    for i in range(70):
        side = rng.random()
        x = rng.uniform(-20, 260) if side < 0.55 else rng.uniform(560, 820)
        edge = min(x, W - x)
        y = rng.uniform(-20, 36) + max(0, 150 - edge) * rng.uniform(0.1, 0.7)
        colour = rng.choice(("#3e5a1e", "#58782a", "#7a9a38", "#9ab048"))
        leaves += sc.vine_leaf(x, y, rng.uniform(14, 24), rng.uniform(-40, 40), colour, "#2a3a10")
    for i in range(35):
        x = rng.uniform(0, 50) if i % 2 else rng.uniform(750, 800)
        leaves += sc.vine_leaf(x, rng.uniform(60, 520), rng.uniform(12, 20),
                               rng.uniform(-60, 60), rng.choice(("#3e5a1e", "#58782a", "#7a9a38")),
                               "#2a3a10")
    for x, y, size in ((95, 40, 34), (150, 22, 26), (690, 34, 32), (636, 20, 24), (742, 60, 28)):
        leaves += sc.grape_bunch(x, y, size, ("#2a1030", "#5a2a5a", "#d8b8e0"), x)
    d, b = sc.textured(p, "lv", leaves, freq="0.08", octaves=2, seed=57, strength=0.3)
    defs += d
    body += b
    return _finish(p, defs, body, ("#6a5030", 0.38), "#1e0e04", 0.45, 0.65, 0.3, seed=58)


def bg_cliffs(p):
    """White cliffs in golden afternoon light over deep blue water: a chapel with a blue dome
    and a village on the left clifftop, a sea stack on the right, gulls and a sail far off."""
    defs, body = sc.sky(p, W, H, [(0, "#3a7ab8"), (0.35, "#8ac0e0"), (0.52, "#f0e4c8"),
                                  (1, "#f0d8b0")])
    defs, body = _layer(defs, body, sc.glow(f"{p}s", 200, 60, 280, "#fff4d0", 0.8))
    defs, body = _layer(defs, body, sc.lit_clouds(p, W, 80, 230, 7, "#ffffff", "#ffe8c0", 61,
                                                  0.65))
    # Far: islands on the horizon, then the sea darkening towards the shore.
    body += path("M380,312 C420,296 470,290 520,298 C560,302 600,308 640,312 Z", fill="#8aa8c8")
    body += path("M600,312 C640,304 690,302 740,308 L760,312 Z", fill="#98b4d0")
    d, b = sc.sea(p, W, 312, H, "#4a98c8", "#06284a", 62, 90, "#ffffff", 0.3)
    defs += d
    body += b
    defs, body = _layer(defs, body, sc.water_texture(p, 0, 312, W, 288, "#021830", 0.3, 63))
    body += sc.sun_path(p, 300, 314, W, "#fff8e0", 90, 500, 64)[1]
    body += sc.boat(470, 360, 0.8, "#3a2a20", "#fff4e0")
    # The sea stack on the right with a green cap.
    stack = path("M660,330 C664,300 670,260 690,240 C710,226 740,222 760,230 C780,240 790,280 "
                 "800,300 L810,420 L650,420 Z", fill="#d4c4a8")
    stack += path("M730,226 C760,224 790,250 800,300 L810,420 L740,420 C748,360 748,280 730,226 Z",
                  fill="#7a7080", opacity=0.7)
    stack += path("M690,240 C710,226 740,222 760,230 C770,236 776,244 780,250 C750,240 720,240 "
                  "690,248 Z", fill="#6a8a3a")
    stack += sc.strata(660, 800, 250, 410, 24, "#7a6a58", 65)
    d, b = sc.textured(p, "sk", stack, freq="0.03 0.09", octaves=3, seed=65, strength=0.3,
                       rough=4)
    defs += d
    body += b
    body += sc.foam(640, 810, 418, 40, 66, "#ffffff", 5)
    # The great cliff on the left, lit gold, with the village and the chapel on top.
    cliff = path("M-10,150 C60,150 120,160 160,190 C190,220 190,280 196,340 C204,400 214,470 "
                 "206,520 L226,600 H-10 Z", fill="#dcc8a8")
    cliff += path("M160,190 C190,220 190,280 196,340 C204,400 214,470 206,520 L226,600 H120 "
                  "C110,500 116,420 120,350 C124,280 140,220 160,190 Z", fill="#8a7a80",
                  opacity=0.75)
    cliff += path("M-10,150 C60,150 130,160 180,190 C140,176 80,170 -10,172 Z", fill="#7a9a40")
    defs += linear(f"{p}lt", [(0, "#ffd890", 0.45), (1, "#ffd890", 0)], 0, 0, 1, 0.4)
    cliff += path("M-10,150 C60,150 120,160 160,190 C140,260 124,340 120,420 C100,470 40,520 -10,540 Z",
                  fill=f"url(#{p}lt)")
    cliff += sc.strata(0, 200, 190, 560, 60, "#7a6a58", 67)
    cliff += sc.strata(0, 110, 200, 560, 20, "#fff4dc", 68)
    rng = random.Random(74)
    for _ in range(18):
        x = rng.uniform(125, 200)
        top = rng.uniform(200, 420)
        cliff += path(f"M{fmt(x)},{fmt(top)} q{fmt(rng.uniform(-3, 3))},{fmt(40)} "
                      f"{fmt(rng.uniform(-2, 2))},{fmt(rng.uniform(60, 160))}", fill="none",
                      stroke="#5a4a5a", stroke_width=fmt(rng.uniform(1.5, 4)), opacity=0.3)
    defs += linear(f"{p}cb", [(0, "#3a3040", 0), (1, "#3a3040", 0.5)], 0, 0, 0, 1)
    cliff += rect(-10, 420, 240, 180, fill=f"url(#{p}cb)")
    cliff += sc.white_houses(60, 150, 9, 71, "#f8f4ec", "#c8c0b4", "#2a5aa8", 0.8)
    cliff += sc.chapel(124, 164, 1.3)
    cliff += sc.cypress(10, 160, 46, "#2a4a20", "#102010")
    cliff += sc.cypress(26, 162, 34, "#2a4a20", "#102010")
    rng = random.Random(73)
    scrub = ""
    for _ in range(16):
        x = rng.uniform(0, 170)
        y = 160 + x * 0.2 + rng.uniform(0, 14) if x < 150 else rng.uniform(190, 460)
        if rng.random() < 0.35:
            x = rng.uniform(20, 160)
            y = rng.uniform(220, 480)
        scrub += sc.foliage(x, y, rng.uniform(10, 22), rng.uniform(5, 9),
                            ("#3a5a24", "#5a7a30", "#9ab050"), int(x * 7 + y), 5)
    cliff += scrub
    d, b = sc.textured(p, "cl", cliff, freq="0.02 0.07", octaves=3, seed=69, strength=0.3,
                       rough=3)
    defs += d
    body += b
    shallows = sc.glow(f"{p}sh", 230, 560, 200, "#40c0b8", 0.45)
    defs += shallows[0]
    body += shallows[1]
    shallows = sc.glow(f"{p}sh2", 720, 430, 140, "#40c0b8", 0.35)
    defs += shallows[0]
    body += shallows[1]
    body += sc.foam(200, 330, 560, 60, 70, "#ffffff", 16)
    body += sc.birds([(420, 150, 1.0), (450, 170, 0.8), (480, 140, 0.9), (560, 110, 0.6),
                      (590, 126, 0.5)], "#2a3a50")
    return _finish(p, defs, body, ("#2a4a68", 0.35), "#041020", 0.45, 0.6, 0.3, mottle=0.06,
                   seed=72)


BACKGROUNDS = [
    ("bg_harbour", bg_harbour, "evening harbour, white town, tower with a lantern"),
    ("bg_temple", bg_temple, "sunset over the sea, temple on a headland"),
    ("bg_olive_grove", bg_olive_grove, "olive grove on hills, a great old olive tree"),
    ("bg_lighthouse", bg_lighthouse, "night sea, full moon, lighthouse and its beam"),
    ("bg_reef", bg_reef, "under the sea: sunken column, corals, lit sand"),
    ("bg_agora", bg_agora, "agora: a stoa and the acropolis between great columns"),
    ("bg_vineyard", bg_vineyard, "terraced vineyard, hilltop villa, vine pergola"),
    ("bg_cliffs", bg_cliffs, "golden cliffs, a blue-domed chapel, deep water"),
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
