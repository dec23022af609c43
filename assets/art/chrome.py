"""Interface chrome: buttons, panels, windows, the combo meter, scrolls, map markers.

Shared look: a dark ink contour, bronze-to-gold bevels lit from the top left, ivory and
papyrus faces, Aegean blue for the game panels. Windows that the dialogs stretch (drawn in
nine pieces, each a third of the image) keep their frame within the outer 16 pixels and
their middle bands even, so that any stretch looks drawn on purpose.
"""

import math

from svgkit import (AEGEAN, AEGEAN_DARK, AEGEAN_DEEP, AEGEAN_LIGHT, BRONZE, BRONZE_DARK,
                    BRONZE_LIGHT, GOLD, GOLD_DARK, GOLD_LIGHT, GOLD_MID, INK, PAPYRUS,
                    PAPYRUS_DARK, PAPYRUS_LIGHT, SANS, SERIF, circle, drop_shadow, ellipse,
                    embossed_text, fmt, glow_filter, group, linear, mix, noise_filter, path,
                    polygon, radial, rect, rounded_rect, smooth, star, text, translate)
import stones

# Faces of the buttons by state: (top, bottom) of the face gradient and the rim.
BUTTON_FACES = {
    "normal": ("#fbe3a0", "#c8902e", "#f0c55a", "#8a5410"),
    "over": ("#ffbe6a", "#c8501a", "#ffd870", "#9a3a0a"),
    "down": ("#a8641e", "#d89a48", "#c08a30", "#5a300a"),
    "disable": ("#e6e2da", "#b8b2a6", "#c8c2b6", "#7a746a"),
}


def button_face(p, w, h, state, radius, shadow_rows=2, ornaments=False, label=None,
                label_size=14):
    """A bevelled button plate filling (0, 0, w, h - shadow_rows) with a soft shadow under it."""
    top, bottom, rim_light, rim_dark = BUTTON_FACES[state]
    face_h = h - shadow_rows
    defs = linear(f"{p}r", [(0, mix(rim_light, "#ffffff", 0.4)), (0.5, rim_light), (1, rim_dark)],
                  0, 0, 0, 1)
    defs += linear(f"{p}f", [(0, top), (1, bottom)], 0, 0, 0, 1)
    defs += linear(f"{p}g", [(0, "#ffffff", 0.7), (1, "#ffffff", 0.05)], 0, 0, 0, 1)
    body = ""
    if shadow_rows:
        body += path(rounded_rect(1.5, 2.0, w - 3, face_h, radius), fill="#000", opacity=0.35)
    body += path(rounded_rect(0.5, 0.5, w - 1, face_h - 1, radius), fill=f"url(#{p}r)",
                 stroke=INK, stroke_width=1.0)
    inset = 3.0
    body += path(rounded_rect(inset, inset, w - 2 * inset, face_h - 2 * inset, radius - 2),
                 fill=f"url(#{p}f)", stroke=mix(rim_dark, INK, 0.3), stroke_width=0.8)
    if state != "down":
        body += path(rounded_rect(inset + 1.5, inset + 1, w - 2 * inset - 3,
                                  (face_h - 2 * inset) * 0.45, radius - 3),
                     fill=f"url(#{p}g)")
    else:
        body += path(rounded_rect(inset + 1, inset + 1, w - 2 * inset - 2, 3, 1.5), fill="#000",
                     opacity=0.18)
    if ornaments:
        for cx in (inset + 9, w - inset - 9):
            body += path(star(cx, face_h / 2, 4.2, 1.7, 4, 0), fill=mix(rim_dark, INK, 0.2),
                         opacity=0.75)
            body += circle(cx, face_h / 2, 1.3, fill=mix(top, "#ffffff", 0.5))
    if label:
        colour = "#3a2410" if state in ("normal", "disable") else "#ffffff"
        if state == "disable":
            colour = "#8a8478"
        outline = "none" if colour != "#ffffff" else INK
        dy = 1 if state == "down" else 0
        body += text(w / 2, face_h / 2 + label_size * 0.36 + dy, label, label_size, family=SERIF,
                     fill=colour, stroke=outline, stroke_width=2.4 if outline != "none" else 0,
                     paint_order="stroke")
    return defs, body


def menu_button(p, state):
    """The game screen's menu button (96 x 56): a round-cornered plaque that says MENU."""
    w, h = 96, 56
    defs, body = button_face(p, w, h, state, 12, shadow_rows=3)
    colour = {"normal": "#2a78b0", "over": "#ffffff", "down": "#1c5a8a"}[state]
    dy = 1 if state == "down" else 0
    for i, y in enumerate((14, 20, 26)):
        body += rect(36, y + dy, 24, 3.4, rx=1.7, fill=colour, stroke=INK, stroke_width=0.7)
    body += text(48, 45 + dy, "MENU", 13, family=SERIF, fill=colour, stroke=INK,
                 stroke_width=1.6 if state == "over" else 0.6, paint_order="stroke",
                 letter_spacing="1.5")
    return defs, body


def change_player_button(p, over):
    """The main menu's change-player button (200 x 32), with its words drawn in."""
    w, h = 200, 32
    defs, body = button_face(p, w, h, "over" if over else "normal", 9, shadow_rows=2)
    colour = "#ffffff" if over else "#3a2410"
    body += circle(22, 15, 5, fill="none", stroke=colour, stroke_width=1.6)
    body += path("M13,26 C14,20 30,20 31,26", fill="none", stroke=colour, stroke_width=1.6)
    body += text(110, 20, "Change Player", 14, family=SERIF, fill=colour,
                 stroke=INK if over else "none", stroke_width=2.4 if over else 0,
                 paint_order="stroke")
    return defs, body


def meander(x, y, w, size, colour, width=1.2):
    """A Greek key band along (x, y) of the given height `size`."""
    step = size * 1.5
    out = []
    n = int(w // step)
    for i in range(n):
        x0 = x + i * step
        s = size
        out.append(f"M{fmt(x0)},{fmt(y + s)} V{fmt(y)} H{fmt(x0 + s)} V{fmt(y + s * 0.66)} "
                   f"H{fmt(x0 + s * 0.33)} V{fmt(y + s * 0.33)} H{fmt(x0 + s * 0.66)} "
                   f"M{fmt(x0)},{fmt(y + s)} H{fmt(x0 + step)}")
    return path(" ".join(out), fill="none", stroke=colour, stroke_width=width,
                stroke_linecap="square")


def bronze_band(p, x, y, w, h, flip=False):
    """A bronze moulding, lit from the top."""
    stops = [(0, "#ffe2a0"), (0.35, "#d49a4a"), (0.7, "#8a5422"), (1, "#4a2a0e")]
    if flip:
        stops = [(1 - o, c) for o, c in reversed(stops)]
    defs = linear(f"{p}bb", stops, 0, 0, 0, 1)
    body = rect(x, y, w, h, fill=f"url(#{p}bb)")
    body += rect(x, y, w, 0.8, fill="#fff4c8", opacity=0.7)
    body += rect(x, y + h - 0.8, w, 0.8, fill=INK, opacity=0.8)
    return defs, body


def panel_bottom(p):
    """The game screen's bottom bar (800 x 80): a bronze frieze over deep Aegean stone, with
    seats for the deck, the play line and the buttons."""
    w, h = 800, 80
    defs = linear(f"{p}bg", [(0, "#1d5a8a"), (0.5, "#123e66"), (1, "#0a2440")], 0, 0, 0, 1)
    defs += noise_filter(f"{p}n", "0.02 0.12", 3, 7, 0.55, -0.15, w="800", h="80")
    body = rect(0, 0, w, h, fill=f"url(#{p}bg)")
    body += rect(0, 0, w, h, fill="#7cc4e8", opacity=0.18, filter=f"url(#{p}n)")
    # Faint waves in the stone.
    for i in range(6):
        y = 28 + i * 9
        d = f"M0,{y}"
        for k in range(0, 800, 40):
            d += f" q10,-4 20,0 t20,0"
        body += path(d, fill="none", stroke="#5fa8d3", stroke_width=0.8, opacity=0.12)
    d, b = bronze_band(p, 0, 0, w, 11)
    defs += d
    body += b + meander(3, 2.2, w, 6.5, "#5c3414", 1.1)
    body += rect(0, 11, w, 2.5, fill="#000", opacity=0.35)
    # Seats: deck, play line, button column, menu plaque.
    for (x, y, sw, sh) in ((2, 17, 118, 62), (300, 17, 200, 62), (572, 16, 116, 62),
                           (689, 17, 108, 60)):
        body += path(rounded_rect(x, y, sw, sh, 8), fill="#061a30", opacity=0.55)
        body += path(rounded_rect(x + 0.5, y + 0.5, sw - 1, sh - 1, 8), fill="none",
                     stroke="#7cc4e8", stroke_width=0.8, opacity=0.35)
    body += rect(0, h - 2, w, 2, fill="#000", opacity=0.5)
    return defs, body


def panel_top(p):
    """The top bar (800 x 26): a papyrus band with plaques behind the score, level and move
    count, which the board writes in black."""
    w, h = 800, 26
    defs = linear(f"{p}bg", [(0, "#fff8e2"), (0.6, "#f0e0b4"), (1, "#d8c08a")], 0, 0, 0, 1)
    defs += noise_filter(f"{p}n", "0.4 0.02", 2, 3, 0.5, -0.1, w="800", h="26")
    body = rect(0, 0, w, h, fill=f"url(#{p}bg)")
    body += rect(0, 0, w, h, fill="#a88850", opacity=0.35, filter=f"url(#{p}n)")
    for x, pw in ((4, 160), (320, 160), (640, 156)):
        body += path(rounded_rect(x, 3, pw, 19, 9.5), fill="#fffaf0", opacity=0.55,
                     stroke="#c8a868", stroke_width=0.8)
    for x in (200, 600):
        body += path(star(x, 12, 5, 2, 4, 0), fill="#c8963e", opacity=0.8)
        body += circle(x, 12, 1.4, fill="#fff4c8")
    d, b = bronze_band(p, 0, h - 5, w, 5)
    defs += d
    body += b
    return defs, body


def preview_frame(p):
    """The preview frame (110 x 70) at the top left; the hovered stone sits at (12, 5)."""
    w, h = 110, 70
    defs = linear(f"{p}g", [(0, "#ffe2a0"), (0.5, "#b8782e"), (1, "#4a2a0e")], 0, 0, 1, 1)
    defs += radial(f"{p}v", [(0, "#1f4a78"), (1, "#081c34")], 0.5, 0.4, 0.7)
    body = path(rounded_rect(1, 0, w - 2, h - 2, 9), fill="#000", opacity=0.35)
    body += path(rounded_rect(0.5, 0, w - 2, h - 3, 9), fill=f"url(#{p}g)", stroke=INK,
                 stroke_width=1.0)
    body += path(rounded_rect(5, 1, w - 11, h - 11, 6), fill=f"url(#{p}v)", stroke=INK,
                 stroke_width=0.8)
    body += path(rounded_rect(6, 2, w - 13, 10, 5), fill="#ffffff", opacity=0.08)
    for cx in (8, w - 10):
        body += circle(cx, h - 7, 1.8, fill="#fff0c0", stroke=INK, stroke_width=0.5)
    return defs, body


def play_line_tray(p):
    """The seat of the play line (184 x 60), a recess with a bronze lip."""
    w, h = 184, 60
    defs = linear(f"{p}g", [(0, "#04101e"), (1, "#0e3050")], 0, 0, 0, 1)
    defs += linear(f"{p}l", [(0, "#ffe2a0"), (0.5, "#c08a3a"), (1, "#5c3414")], 0, 0, 0, 1)
    body = path(rounded_rect(0.5, 0.5, w - 1, h, 10), fill=f"url(#{p}l)", stroke=INK,
                stroke_width=1.0)
    body += path(rounded_rect(4, 4, w - 8, h, 8), fill=f"url(#{p}g)", stroke=INK, stroke_width=0.8)
    body += rect(6, 6, w - 12, 3, rx=1.5, fill="#000", opacity=0.4)
    body += path(f"M{w / 2},8 V{h}", stroke="#7cc4e8", stroke_width=0.8, opacity=0.25,
                 stroke_dasharray="3 3")
    return defs, body


def line_back(p):
    """Under the joint of the play line (104 x 84): a golden crest that rises above it."""
    defs = linear(f"{p}g", [(0, "#fff2b8"), (0.5, "#e0a840"), (1, "#7a4a0e")], 0, 0, 1, 1)
    defs += drop_shadow(f"{p}s", 1, 1.5, 1.2, 0.5)
    cx = 52
    body = path(f"M{cx - 26},26 C{cx - 20},14 {cx - 10},6 {cx},4 C{cx + 10},6 {cx + 20},14 "
                f"{cx + 26},26 Z", fill=f"url(#{p}g)", stroke=INK, stroke_width=1.1)
    body += path(f"M{cx - 18},24 C{cx - 13},16 {cx - 7},11 {cx},10 C{cx + 7},11 {cx + 13},16 "
                 f"{cx + 18},24", fill="none", stroke="#fff4c8", stroke_width=0.9, opacity=0.8)
    return defs, group(body, filter=f"url(#{p}s)")


def line_front(p, one_side=False):
    """Over the joint of the play line: a clasp with the fish emblem (104 x 84), or in
    One-Side play a bookend over the left of the line (102 x 81)."""
    defs = linear(f"{p}g", [(0, "#fff2b8"), (0.45, "#e0a840"), (1, "#6a3e0a")], 0, 0, 1, 1)
    defs += radial(f"{p}m", [(0, "#3a9c78"), (1, "#0e3a2a")], 0.4, 0.35, 0.7)
    defs += drop_shadow(f"{p}s", 1.5, 2, 1.5, 0.55)
    body = ""
    if one_side:
        w, h = 102, 81
        body += path(f"M6,{h} V30 C6,18 14,10 26,8 H72 C84,8 92,16 94,26 L98,{h} Z",
                     fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
        body += path(f"M13,{h} V32 C13,22 20,16 29,15 H70 C80,15 86,21 88,30 L91,{h} Z",
                     fill=AEGEAN_DARK, stroke=INK, stroke_width=0.9)
        body += meander(18, 66, 66, 6, "#e0a840", 1.0)
        d, e = stones.fish_emblem(f"{p}e", ("#fff3b8", "#f0c55a", "#9a6414"), 51, 40, 1.0)
        defs += d
        body += e
        body += circle(51, 8, 7, fill=f"url(#{p}m)", stroke=INK, stroke_width=1.0)
        body += circle(49, 6, 2, fill="#ffffff", opacity=0.6)
        return defs, group(body, filter=f"url(#{p}s)")
    cx = 57
    body += path(rounded_rect(cx - 7, 26, 14, 58, 4), fill=f"url(#{p}g)", stroke=INK,
                 stroke_width=1.1)
    for y in (40, 56, 72):
        body += rect(cx - 7, y, 14, 2, fill="#6a3e0a", opacity=0.8)
    body += circle(cx, 20, 13, fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
    body += circle(cx, 20, 9, fill=f"url(#{p}m)", stroke=INK, stroke_width=0.9)
    d, e = stones.fish_emblem(f"{p}e", ("#fff3b8", "#f0c55a", "#9a6414"), cx, 20, 0.36)
    defs += d
    body += e
    return defs, group(body, filter=f"url(#{p}s)")


def deck_place(p, kind):
    """The deck's seat (124 x 62): "deck" in One-Side play, "crops" with redeals left and
    "none" without, with a disc on the right for the number the board writes there."""
    w, h = 124, 62
    defs = linear(f"{p}l", [(0, "#ffe2a0"), (0.5, "#c08a3a"), (1, "#5c3414")], 0, 0, 0, 1)
    defs += linear(f"{p}g", [(0, "#04101e"), (1, "#0e3050")], 0, 0, 0, 1)
    disc = {"deck": ("#fffaf0", "#e8d8b0"), "crops": ("#fff6c8", "#f0c55a"),
            "none": ("#e0d8d0", "#9a8e84")}[kind]
    defs += radial(f"{p}d", [(0, disc[0]), (1, disc[1])], 0.4, 0.35, 0.7)
    body = path(rounded_rect(3.5, 3.5, 100, 57, 9), fill=f"url(#{p}l)", stroke=INK,
                stroke_width=1.0)
    body += path(rounded_rect(7, 7, 93, 50, 7), fill=f"url(#{p}g)", stroke=INK, stroke_width=0.8)
    body += circle(108, 46, 13, fill=f"url(#{p}l)", stroke=INK, stroke_width=1.0)
    body += circle(108, 46, 10, fill=f"url(#{p}d)", stroke=INK, stroke_width=0.8)
    if kind == "none":
        body += path("M101,39 L115,53", stroke="#a02a20", stroke_width=2, opacity=0.6)
    if kind == "crops":
        for a in range(0, 360, 45):
            r = math.radians(a)
            body += circle(108 + 11.5 * math.cos(r), 46 + 11.5 * math.sin(r), 0.9, fill="#fff4c8")
    return defs, body


def rock_place(p):
    """A pile's seat (94 x 58): a well sunk into a bronze frame, like the deck's seat, with the
    faint outline of the stone that belongs in it."""
    defs = linear(f"{p}l", [(0, "#ffe2a0"), (0.5, "#c08a3a"), (1, "#5c3414")], 0, 0, 0, 1)
    defs += linear(f"{p}g", [(0, "#04101e"), (1, "#0e3050")], 0, 0, 0, 1)
    defs += (f'<filter id="{p}in" x="-10%" y="-10%" width="120%" height="120%">'
             f'<feGaussianBlur stdDeviation="1.5"/></filter>'
             f'<clipPath id="{p}c"><path d="{rounded_rect(6, 5, 82, 48, 7)}"/></clipPath>')
    body = path(rounded_rect(2.5, 2.5, 91, 55, 9), fill="#000", opacity=0.3)
    body += path(rounded_rect(1, 1, 91, 55, 9), fill=f"url(#{p}l)", stroke=INK, stroke_width=1.0)
    body += path(rounded_rect(6, 5, 82, 48, 7), fill=f"url(#{p}g)", stroke=INK, stroke_width=0.8)
    # The well's upper and left walls throw a shadow into it; its lower lip catches the light.
    body += group(path(f"M6,50 V12 Q6,5 13,5 H88", fill="none", stroke="#000", stroke_width=5),
                  clip_path=f"url(#{p}c)", filter=f"url(#{p}in)", opacity=0.8)
    body += path("M12,52.6 H82", stroke="#ffe2a0", stroke_width=0.9, opacity=0.5)
    body += path(rounded_rect(13.5, 9.5, 70, 39, 5), fill="none", stroke="#c8a050",
                 stroke_width=1.0, stroke_dasharray="4 3", opacity=0.45)
    return defs, body


def combo_frame(p):
    """The combo meter's casing (30 x 242): bronze around a dark glass channel."""
    w, h = 30, 242
    defs = linear(f"{p}c", [(0, "#ffe2a0"), (0.45, "#c08a3a"), (1, "#4a2a0e")], 0, 0, 1, 0)
    defs += linear(f"{p}g", [(0, "#061426"), (0.5, "#0c2a48"), (1, "#061426")], 0, 0, 1, 0)
    body = path(rounded_rect(0.5, 0.5, w - 1, h - 1, 12), fill=f"url(#{p}c)", stroke=INK,
                stroke_width=1.0)
    body += path(rounded_rect(6.5, 7, 17, h - 14, 8), fill=f"url(#{p}g)", stroke=INK,
                 stroke_width=1.0)
    return defs, body


def combo_fill(p):
    """The meter's glowing fill (28 x 240), shown from the bottom up; colder at the bottom,
    fiery at the top."""
    w, h = 28, 240
    defs = linear(f"{p}f", [(0, "#ff3a1a"), (0.1, "#ff7a1a"), (0.36, "#ffc83a"),
                            (0.66, "#3ad0a0"), (1, "#1a8ac8")], 0, 0, 0, 1)
    defs += linear(f"{p}s", [(0, "#ffffff", 0.0), (0.35, "#ffffff", 0.55), (1, "#ffffff", 0.0)],
                   0, 0, 1, 0)
    body = path(rounded_rect(6.5, 7, 15, h - 13, 7.5), fill=f"url(#{p}f)")
    body += path(rounded_rect(8.5, 7, 6, h - 13, 3), fill=f"url(#{p}s)")
    return defs, body


def combo_labels(p):
    """Drawn over the fill (30 x 242): glass shine and the marks of x2, x3 and x4."""
    w, h = 30, 242
    defs = linear(f"{p}s", [(0, "#ffffff", 0.0), (0.5, "#ffffff", 0.28), (1, "#ffffff", 0.0)],
                  0, 0, 1, 0)
    body = path(rounded_rect(9, 9, 5, h - 18, 2.5), fill=f"url(#{p}s)")
    for fraction, label in ((0.32, "2"), (0.64, "3"), (0.92, "4")):
        y = 1 + (1 - fraction) * 240
        body += rect(4, y - 1, 22, 2, fill=INK, opacity=0.85)
        body += rect(4, y - 1, 22, 0.8, fill="#fff0c0", opacity=0.9)
        body += circle(26.5, y + 7, 5.2, fill="#f0c55a", stroke=INK, stroke_width=0.9)
        body += text(26.5, y + 10.3, label, 8.5, family=SANS, fill=INK)
    body += path(rounded_rect(6.5, 7, 17, h - 14, 8), fill="none", stroke="#ffffff",
                 stroke_width=0.6, opacity=0.35)
    return defs, body


def multiplier_label(p, n):
    """The x2, x3 and x4 labels (64 x 34) that float up from the meter."""
    colours = {2: ("#fff4c0", "#f0b030"), 3: ("#ffe0a0", "#f07a1a"), 4: ("#ffd0c0", "#e8301a")}
    top, bottom = colours[n]
    defs = glow_filter(f"{p}gl", 2.5, "#fff0a0", 0.7)
    d, body = embossed_text(p, 32, 26, f"x{n}", 26, top, bottom, stroke=3.2, shadow=False)
    return defs + d, group(body, filter=f"url(#{p}gl)")


def bonus_label(p, words, w, top="#fff6c8", bottom="#f0b030"):
    defs = glow_filter(f"{p}gl", 2.2, "#fff0a0", 0.6)
    d, body = embossed_text(p, w / 2, 23, words, 19, top, bottom, stroke=3.0, shadow=False)
    return defs + d, group(body, filter=f"url(#{p}gl)")


def papyrus_fill(p, x, y, w, h, base, seed, fibres=True, dark=None):
    """A papyrus sheet: an even fibre texture (its grain runs across, so it may be tiled)."""
    dark = dark or mix(base, "#8a6a30", 0.5)
    defs = noise_filter(f"{p}pn", "0.006 0.18", 3, seed, 0.7, -0.25, w=str(x + w), h=str(y + h))
    defs += noise_filter(f"{p}pm", "0.05", 4, seed + 1, 0.45, -0.12, w=str(x + w), h=str(y + h))
    body = rect(x, y, w, h, fill=base)
    if fibres:
        body += rect(x, y, w, h, fill=dark, opacity=0.35, filter=f"url(#{p}pn)")
    body += rect(x, y, w, h, fill=dark, opacity=0.25, filter=f"url(#{p}pm)")
    return defs, body


def window_frame(p, w, h, base=PAPYRUS, seed=5, rosettes=True, frame=12):
    """A papyrus window in a bronze frame `frame` pixels wide, with small rosettes in the
    corners."""
    defs = linear(f"{p}fr", [(0, "#ffe8b0"), (0.4, "#c89040"), (1, "#5c3414")], 0, 0, 1, 1)
    body = path(rounded_rect(0, 0, w, h, frame), fill=f"url(#{p}fr)")
    body += path(rounded_rect(0.5, 0.5, w - 1, h - 1, frame), fill="none", stroke=INK,
                 stroke_width=1.0)
    body += path(rounded_rect(2.5, 2.5, w - 5, h - 5, frame - 2), fill="none", stroke="#fff0c0",
                 stroke_width=0.8, opacity=0.6)
    d, paper = papyrus_fill(p, frame, frame, w - 2 * frame, h - 2 * frame, base, seed)
    defs += d
    defs += f'<clipPath id="{p}cp"><path d="{rounded_rect(frame, frame, w - 2 * frame, h - 2 * frame, 4)}"/></clipPath>'
    body += group(paper, clip_path=f"url(#{p}cp)")
    body += path(rounded_rect(frame, frame, w - 2 * frame, h - 2 * frame, 4), fill="none",
                 stroke=INK, stroke_width=1.2)
    # Soft inner shadow from the frame.
    defs += linear(f"{p}is", [(0, "#000", 0.22), (1, "#000", 0)], 0, 0, 0, 1)
    body += rect(frame + 1, frame + 1, w - 2 * frame - 2, 6, fill=f"url(#{p}is)")
    if rosettes:
        for cx, cy in ((frame / 2, frame / 2), (w - frame / 2, frame / 2), (frame / 2, h - frame / 2),
                       (w - frame / 2, h - frame / 2)):
            body += circle(cx, cy, frame * 0.42, fill="#f0c55a", stroke=INK, stroke_width=0.8)
            body += path(star(cx, cy, frame * 0.34, frame * 0.14, 4, 45), fill="#8a5a14")
    return defs, body


def dialog_box(p):
    """The big window (540 x 415) behind the options, highscores and change-player dialogs."""
    defs, body = window_frame(p, 540, 415, base="#e2c98e", seed=21, frame=10)
    return defs, body


def small_window(p):
    """The message window (365 x 216)."""
    defs, body = window_frame(p, 365, 216, base="#eedcab", seed=9, frame=12)
    return defs, body


def menu_window(p):
    """The in-game menu (250 x 280): a marble tablet with a bronze frame and a fish crest;
    its buttons sit at x 55, y 40 to 236."""
    w, h = 250, 280
    defs = linear(f"{p}m", [(0, "#fbf8f0"), (0.6, "#e4ded0"), (1, "#b8b0a0")], 0, 0, 1, 1)
    defs += linear(f"{p}fr", [(0, "#ffe8b0"), (0.4, "#c89040"), (1, "#5c3414")], 0, 0, 1, 1)
    defs += noise_filter(f"{p}n", "0.03 0.05", 4, 31, 0.5, -0.2, w="250", h="280")
    defs += drop_shadow(f"{p}s", 2, 3, 3, 0.5)
    body = path(rounded_rect(4, 14, w - 8, h - 18, 16), fill=f"url(#{p}fr)", stroke=INK,
                stroke_width=1.1)
    body += path(rounded_rect(13, 23, w - 26, h - 36, 10), fill=f"url(#{p}m)", stroke=INK,
                 stroke_width=1.0)
    body += path(rounded_rect(13, 23, w - 26, h - 36, 10), fill="#8a8270", opacity=0.55,
                 filter=f"url(#{p}n)")
    body += meander(26, 250, 200, 7, "#a88a50", 1.1)
    body += path(f"M95,14 C100,3 150,3 155,14 Z", fill=f"url(#{p}fr)", stroke=INK,
                 stroke_width=1.0)
    body += circle(125, 14, 12, fill=f"url(#{p}fr)", stroke=INK, stroke_width=1.0)
    body += circle(125, 14, 8.5, fill=AEGEAN_DARK, stroke=INK, stroke_width=0.8)
    d, e = stones.fish_emblem(f"{p}e", ("#fff3b8", "#f0c55a", "#9a6414"), 125, 14, 0.34)
    defs += d
    body += e
    return defs, group(body, filter=f"url(#{p}s)")


def hint_window(p):
    """The hint window (250 x 140): deep blue glass in a gold frame, for white text."""
    w, h = 250, 140
    defs = linear(f"{p}g", [(0, "#1f5a8e", 0.96), (1, "#082442", 0.96)], 0, 0, 0, 1)
    defs += linear(f"{p}fr", [(0, "#fff0b8"), (0.5, "#d49a2e"), (1, "#6a400c")], 0, 0, 1, 1)
    body = path(rounded_rect(2, 3, w - 3, h - 3, 14), fill="#000", opacity=0.35)
    body += path(rounded_rect(0.5, 0.5, w - 3, h - 3, 14), fill=f"url(#{p}fr)", stroke=INK,
                 stroke_width=1.0)
    body += path(rounded_rect(5, 5, w - 12, h - 12, 10), fill=f"url(#{p}g)", stroke=INK,
                 stroke_width=0.8)
    body += path(rounded_rect(7, 7, w - 16, 22, 8), fill="#ffffff", opacity=0.08)
    body += path(star(18, 18, 7, 2.6, 4, 0), fill="#ffd860", stroke=INK, stroke_width=0.6)
    return defs, body


def hint_arrow(p):
    """The hint arrow (44 x 50), pointing at its bottom left corner."""
    defs = linear(f"{p}g", [(0, "#fff6c0"), (0.5, "#f4c040"), (1, "#b06a0c")], 0, 0, 1, 1)
    body = path("M1,49 L8,28 L13,33 L35,5 C37,2.5 41,3.5 41.5,7 C42,9 41,11 40,12 L19,39 L24,43 Z",
                fill=f"url(#{p}g)", stroke=INK, stroke_width=1.3, stroke_linejoin="round")
    body += path("M5,44 L9.5,31 L14.5,36 L36.5,8", fill="none", stroke="#ffffff",
                 stroke_width=1.0, opacity=0.7)
    return defs, body


def checkbox(p):
    """Off and on faces side by side (52 x 26): a bronze-rimmed socket, the on face holding a
    golden tick."""
    defs = linear(f"{p}r", [(0, "#ffe8b0"), (0.5, "#c08a3a"), (1, "#5c3414")], 0, 0, 1, 1)
    defs += linear(f"{p}i", [(0, "#0a2036"), (1, "#1f4a78")], 0, 0, 0, 1)
    defs += linear(f"{p}t", [(0, "#fff6c0"), (0.5, "#f4c040"), (1, "#b06a0c")], 0, 0, 1, 1)
    body = ""
    for cell in (0, 1):
        x = cell * 26
        body += path(rounded_rect(x + 1, 1, 24, 24, 6), fill=f"url(#{p}r)", stroke=INK,
                     stroke_width=1.0)
        body += path(rounded_rect(x + 5, 5, 16, 16, 3.5), fill=f"url(#{p}i)", stroke=INK,
                     stroke_width=0.8)
        if cell == 1:
            body += path(f"M{x + 6},13 L{x + 11},19 L{x + 22},4 L{x + 11},15 Z",
                         fill=f"url(#{p}t)", stroke=INK, stroke_width=1.1, stroke_linejoin="round")
    return defs, body


def slider_track(p):
    """Three cells (156 x 14): left end, middle (tiled), right end of a bronze groove."""
    defs = linear(f"{p}r", [(0, "#ffe2a0"), (0.5, "#b8782e"), (1, "#4a2a0e")], 0, 0, 0, 1)
    defs += linear(f"{p}g", [(0, "#04101e"), (1, "#1c4670")], 0, 0, 0, 1)
    body = ""
    cell = 52
    for i in range(3):
        x = i * cell
        left = 0.5 if i == 0 else -8
        right = cell - 0.5 if i == 2 else cell + 8
        clip = f'<clipPath id="{p}c{i}"><rect x="{x}" y="0" width="{cell}" height="14"/></clipPath>'
        defs += clip
        seg = path(rounded_rect(x + left, 1, right - left, 12, 6), fill=f"url(#{p}r)", stroke=INK,
                   stroke_width=1.0)
        seg += path(rounded_rect(x + left + 3.5, 4.5, right - left - 7, 5, 2.5), fill=f"url(#{p}g)",
                    stroke=INK, stroke_width=0.7)
        body += group(seg, clip_path=f"url(#{p}c{i})")
    return defs, body


def slider_thumb(p):
    """The slider's knob (22 x 26): a golden coin on edge."""
    defs = linear(f"{p}g", [(0, "#fff6c8"), (0.5, "#f0c048"), (1, "#8a5a0c")], 0, 0, 1, 1)
    body = path(rounded_rect(2, 2.5, 19, 23, 7), fill="#000", opacity=0.35)
    body += path(rounded_rect(1, 1, 19, 23, 7), fill=f"url(#{p}g)", stroke=INK, stroke_width=1.0)
    for y in (8, 12.5, 17):
        body += rect(6, y, 9, 1.5, rx=0.7, fill="#7a4a0c", opacity=0.8)
    body += path(rounded_rect(3.5, 3, 8, 5, 2.5), fill="#ffffff", opacity=0.5)
    return defs, body


def loader_bar(p):
    """The loading bar's fill (400 x 20), shown from the left."""
    defs = linear(f"{p}g", [(0, "#fff6c8"), (0.45, "#f0c048"), (0.55, "#d8962a"), (1, "#7a4a0c")],
                  0, 0, 0, 1)
    body = path(rounded_rect(0.5, 0.5, 399, 19, 9.5), fill=f"url(#{p}g)", stroke=INK,
                stroke_width=1.0)
    for x in range(12, 400, 24):
        body += path(f"M{x},3 l8,14", stroke="#ffffff", stroke_width=3, opacity=0.18)
    body += path(rounded_rect(4, 2.5, 392, 5, 2.5), fill="#ffffff", opacity=0.45)
    return defs, body


def loader_frame(p):
    """The loading bar's frame (412 x 32), drawn over the bar; its middle stays open."""
    defs = linear(f"{p}g", [(0, "#ffe8b0"), (0.45, "#c08a3a"), (1, "#4a2a0e")], 0, 0, 0, 1)
    outer = rounded_rect(0.5, 0.5, 411, 31, 15.5)
    inner = rounded_rect(6, 6, 400, 20, 10)
    body = path(outer + " " + inner, fill=f"url(#{p}g)", fill_rule="evenodd", stroke=INK,
                stroke_width=1.0)
    body += path(inner, fill="none", stroke=INK, stroke_width=1.0)
    for cx in (3, 409):
        pass
    return defs, body


def scroll(p, kind):
    """A level scroll (143 x 112): rolls in columns 0-16 and 123-142, the paper between them;
    "over" glows warmer; "select" is the additive glow drawn over the chosen one."""
    w, h = 143, 112
    if kind == "select":
        defs = (f'<filter id="{p}b" x="-20%" y="-20%" width="140%" height="140%">'
                f'<feGaussianBlur stdDeviation="3"/></filter>')
        body = rect(0, 0, w, h, fill="#000000")
        body += path(rounded_rect(8, 4, 127, 104, 6), fill="none", stroke="#ffb020",
                     stroke_width=6, filter=f"url(#{p}b)")
        body += path(rounded_rect(10, 6, 123, 100, 5), fill="none", stroke="#ffe890",
                     stroke_width=2.0)
        for x in (8, 133):
            body += ellipse(x, 56, 7, 52, fill="#a06010", opacity=0.9, filter=f"url(#{p}b)")
        return defs, body
    paper = "#f6e6bc" if kind == "normal" else "#fff2cc"
    defs = linear(f"{p}roll", [(0, "#6a3c14"), (0.3, "#e0b070"), (0.55, "#b07a3a"), (1, "#4a2608")],
                  0, 0, 1, 0)
    defs += linear(f"{p}knob", [(0, "#fff0b8"), (0.5, "#e0a840"), (1, "#6a400c")], 0, 0, 1, 1)
    d, paper_body = papyrus_fill(p, 14, 6, 115, 100, paper, 17 if kind == "normal" else 18)
    defs += d
    body = rect(15, 7, 115, 100, fill="#000", opacity=0.3)
    body += paper_body
    body += rect(14, 6, 115, 100, fill="none", stroke="#8a6a30", stroke_width=1.0)
    body += rect(14, 6, 115, 3, fill="#8a6a30", opacity=0.25)
    if kind == "over":
        body += rect(14, 6, 115, 100, fill="#ffd860", opacity=0.15)
    body += rect(9.5, 7.5, 121, 91, fill="none", stroke="#a07840", stroke_width=1.0)
    for x0, x1 in ((1, 16), (124, 141)):
        cx = (x0 + x1) / 2
        body += path(rounded_rect(x0, 5, x1 - x0, 102, 4), fill=f"url(#{p}roll)", stroke=INK,
                     stroke_width=1.0)
        for y in (18, 94):
            body += rect(x0, y, x1 - x0, 1.2, fill=INK, opacity=0.4)
        for y in (3, 109):
            body += ellipse(cx, y, (x1 - x0) / 2 + 1, 3.2, fill=f"url(#{p}knob)", stroke=INK,
                            stroke_width=0.9)
    return defs, body


def map_point(p, kind):
    """A map marker (26 x 26): "open" not reached yet, "done" reached, "hover" under the mouse."""
    defs = ""
    if kind == "open":
        defs += radial(f"{p}g", [(0, "#f0ece4"), (0.7, "#a8a090"), (1, "#5a5448")], 0.4, 0.35, 0.7)
        body = circle(13.5, 14, 10, fill="#000", opacity=0.35)
        body += circle(13, 13, 9.5, fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
        body += circle(13, 13, 4, fill="#7a7266", stroke=INK, stroke_width=0.8)
        return defs, body
    if kind == "done":
        defs += radial(f"{p}g", [(0, "#fff6c8"), (0.6, "#f0c048"), (1, "#8a5a0c")], 0.4, 0.35, 0.7)
        body = circle(13.5, 14, 10, fill="#000", opacity=0.35)
        body += circle(13, 13, 9.5, fill=f"url(#{p}g)", stroke=INK, stroke_width=1.2)
        body += path(star(13, 13, 6.5, 2.7, 5, -90), fill="#c8302a", stroke=INK, stroke_width=0.7)
        return defs, body
    # Under the mouse: the colours turn round (a gold star on red) inside a bright white ring,
    # so the point stands out from the reached ones at a glance.
    defs += radial(f"{p}g", [(0, "#ff9a80"), (0.6, "#e0301e"), (1, "#7a0e08")], 0.4, 0.35, 0.7)
    body = circle(13, 13, 12.2, fill="none", stroke="#ffffff", stroke_width=1.6)
    body += circle(13, 13, 10.6, fill="none", stroke=INK, stroke_width=2.2)
    body += circle(13, 13, 10.6, fill="none", stroke="#fffbe0", stroke_width=1.4)
    body += circle(13, 13, 9, fill=f"url(#{p}g)", stroke=INK, stroke_width=0.8)
    body += path(star(13, 13, 7, 3, 5, -90), fill="#ffd23a", stroke=INK, stroke_width=0.7)
    return defs, body


def chariot(p):
    """The One-Side map vehicle (56 x 40): a horse and a golden chariot; wheels on y 37."""
    defs = linear(f"{p}h", [(0, "#e8b880"), (0.5, "#a8642a"), (1, "#4a2608")], 0, 0, 1, 1)
    defs += linear(f"{p}c", [(0, "#fff2b8"), (0.5, "#e0a840"), (1, "#6a400c")], 0, 0, 1, 1)
    defs += drop_shadow(f"{p}s", 1, 1.5, 1, 0.5)
    body = ellipse(28, 37.5, 26, 2.5, fill="#000", opacity=0.3)
    # Horse, facing left, at a trot: a long head on an arched neck, a mane, slim legs.
    legs = (("M14,22 L13.5,30 L12.8,36.5", "M17.5,23 L19.5,29 L17,32.5"),
            ("M28.5,22.5 L29.5,30 L29,36.5", "M25.5,23.5 L24,30 L22.3,36"))
    for front, raised in legs:
        for d in (front, raised):
            body += path(d, fill="none", stroke=INK, stroke_width=3.4, stroke_linecap="round",
                         stroke_linejoin="round")
    for front, raised in legs:
        for d in (front, raised):
            body += path(d, fill="none", stroke="#8a4c1e", stroke_width=1.8,
                         stroke_linecap="round", stroke_linejoin="round")
    body += path("M31.5,15 C35.5,16.5 35.5,23 33.5,29", fill="none", stroke="#2a1406",
                 stroke_width=2.6, stroke_linecap="round")
    body += path("M2,10.8 C0.8,9.4 1.2,7.2 3,6 L7,2.2 L8.2,0.4 L9.6,2.6 C11.2,3.6 13,6.2 14.5,10 "
                 "C16,13 19,13.5 23,13.5 C27,13.5 30,13 31.5,15 C33,17 32.6,21 31,23.6 "
                 "C30,24.6 27,24.6 25,24.2 L17,24.2 C14.5,24.2 13,22 12,19 C11,16 9.6,13.2 "
                 "7.6,11.8 C6,12.2 4,12.2 2,10.8 Z", fill=f"url(#{p}h)", stroke=INK,
                 stroke_width=1.0, stroke_linejoin="round")
    body += path("M9.6,2.6 C12.2,4 14.2,7.6 15.6,11.4 C14,10.6 12.6,8 10.6,5.6 Z", fill="#2a1406",
                 stroke="#2a1406", stroke_width=1.0, stroke_linejoin="round")
    body += circle(5.8, 5.6, 0.8, fill=INK)
    body += circle(2.2, 8.6, 0.45, fill=INK)
    body += path("M4,9.6 L13,14.6 L34,18.5", fill="none", stroke="#c8302a", stroke_width=1.1)
    # Chariot body and wheel.
    body += path("M33,12 H50 C52,12 53,14 52.5,16 L50,27 H36 Z", fill=f"url(#{p}c)", stroke=INK,
                 stroke_width=1.0, stroke_linejoin="round")
    body += path("M36,16 H49", stroke="#8a5a14", stroke_width=1.0)
    body += circle(43, 28.5, 8.5, fill="none", stroke=INK, stroke_width=3.2)
    body += circle(43, 28.5, 8.5, fill="none", stroke="#e0a840", stroke_width=1.8)
    for a in range(0, 180, 45):
        r = math.radians(a)
        body += path(f"M{fmt(43 + 8 * math.cos(r))},{fmt(28.5 + 8 * math.sin(r))} "
                     f"L{fmt(43 - 8 * math.cos(r))},{fmt(28.5 - 8 * math.sin(r))}",
                     stroke="#6a400c", stroke_width=1.1)
    body += circle(43, 28.5, 2, fill="#f0c55a", stroke=INK, stroke_width=0.7)
    body += path("M45,12 L47,3 L49,12", fill="#c8302a", stroke=INK, stroke_width=0.8)
    return defs, group(body, filter=f"url(#{p}s)")


def map_ship(p):
    """The Two-Side map vehicle (52 x 54): a slim galley under sail, its keel on y 50. The
    first ten columns stay empty, so that standing on a point it leaves the number of the
    point before it readable."""
    defs = linear(f"{p}h", [(0, "#dca060"), (0.5, "#8a5a2a"), (1, "#40220c")], 0, 0, 1, 1)
    defs += linear(f"{p}s", [(0, "#ffffff"), (1, "#e2d6b8")], 0, 0, 1, 1)
    defs += drop_shadow(f"{p}sh", 1, 1.5, 1, 0.5)
    body = path("M12,50 q4.5,-3 9,0 t9,0 t9,0 t9,0", fill="none", stroke="#e8f6ff",
                stroke_width=1.6, opacity=0.9)
    body += path("M30,4 V40", stroke=INK, stroke_width=3)
    body += path("M30,4 V40", stroke="#8a5a2a", stroke_width=1.6)
    body += path("M19,9 C25,11 35,11 41,9 C42.2,16 42.2,25 40.2,31 C34,33 26,33 19.8,31 "
                 "C17.8,25 17.8,16 19,9 Z", fill=f"url(#{p}s)", stroke=INK, stroke_width=1.1)
    body += path("M18.5,16 C25,18.2 35,18.2 41.6,16 L41.5,21 C35,23.2 25,23.2 18.6,21 Z",
                 fill="#2a78b0")
    body += path("M12,36 C17,38 40,38 49,33 C48,42 44,47 38,47 H21 C16,47 13,42 12,36 Z",
                 fill=f"url(#{p}h)", stroke=INK, stroke_width=1.1, stroke_linejoin="round")
    body += path("M49,33 L51,28 L47.5,30", fill="none", stroke=INK, stroke_width=1.0)
    body += path("M14.5,40 H46.5", stroke="#f0c060", stroke_width=0.9)
    body += circle(43.5, 38.5, 1.5, fill="#fff", stroke=INK, stroke_width=0.6)
    body += path("M30,4 L37,6 L30,8 Z", fill="#c8302a", stroke=INK, stroke_width=0.6)
    return defs, group(body, filter=f"url(#{p}sh)")
