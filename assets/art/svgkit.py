"""Small helpers for writing SVG by hand in Python: documents, gradients, filters, paths.

Every drawing function in this folder returns SVG markup as a string. Ids of gradients and
filters must be unique inside one document, so drawing functions take a prefix (`p`) and
name their definitions after it.
"""

import math

# The palette of the whole game: Mediterranean antiquity at sea.
INK = "#2a1709"          # outlines
INK_SOFT = "#4a2e17"
IVORY = "#f7f0dc"
IVORY_SHADE = "#dfcfa6"
JADE = "#2e8f6c"
JADE_DARK = "#174f3b"
JADE_LIGHT = "#7fd1ad"
GOLD_LIGHT = "#fff0b0"
GOLD = "#f0c55a"
GOLD_MID = "#d49a2e"
GOLD_DARK = "#8a5a14"
BRONZE_LIGHT = "#e0a060"
BRONZE = "#b0702e"
BRONZE_DARK = "#5c3414"
AEGEAN_LIGHT = "#7cc4e8"
AEGEAN = "#2a78b0"
AEGEAN_DARK = "#0f3a60"
AEGEAN_DEEP = "#082442"
TERRACOTTA = "#c8643a"
TERRACOTTA_DARK = "#8a3a1c"
PAPYRUS_LIGHT = "#fbf1d2"
PAPYRUS = "#efdcaa"
PAPYRUS_DARK = "#c9a866"
MARBLE = "#f2eee6"
MARBLE_SHADE = "#c9c2b4"
LAPIS = "#2d4fa8"
LAPIS_DARK = "#16275e"

SERIF = "DejaVu Serif"
SANS = "DejaVu Sans"


def fmt(value):
    """A number written short: at most two decimals, no trailing zeros."""
    if isinstance(value, int):
        return str(value)
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def document(width, height, body, defs=""):
    """A whole SVG file of the given pixel size."""
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}">\n<defs>{defs}</defs>\n{body}\n</svg>\n'
    )


def linear(gid, stops, x1=0, y1=0, x2=0, y2=1, units="objectBoundingBox", extra=""):
    """A linear gradient; stops are (offset, colour) or (offset, colour, opacity)."""
    out = [
        f'<linearGradient id="{gid}" x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" y2="{fmt(y2)}" '
        f'gradientUnits="{units}" {extra}>'
    ]
    out += [_stop(s) for s in stops]
    out.append("</linearGradient>")
    return "".join(out)


def radial(gid, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, units="objectBoundingBox",
           extra=""):
    focus = ""
    if fx is not None:
        focus = f' fx="{fmt(fx)}" fy="{fmt(fy)}"'
    out = [
        f'<radialGradient id="{gid}" cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}"{focus} '
        f'gradientUnits="{units}" {extra}>'
    ]
    out += [_stop(s) for s in stops]
    out.append("</radialGradient>")
    return "".join(out)


def _stop(stop):
    if len(stop) == 3:
        return (f'<stop offset="{fmt(stop[0])}" stop-color="{stop[1]}" '
                f'stop-opacity="{fmt(stop[2])}"/>')
    return f'<stop offset="{fmt(stop[0])}" stop-color="{stop[1]}"/>'


def drop_shadow(fid, dx=1.5, dy=2.0, blur=1.5, opacity=0.45, color="#000"):
    """A filter that puts a soft shadow under its element (light from the top left)."""
    return (
        f'<filter id="{fid}" x="-30%" y="-30%" width="160%" height="160%" '
        f'color-interpolation-filters="sRGB">'
        f'<feGaussianBlur in="SourceAlpha" stdDeviation="{fmt(blur)}"/>'
        f'<feOffset dx="{fmt(dx)}" dy="{fmt(dy)}" result="o"/>'
        f'<feFlood flood-color="{color}" flood-opacity="{fmt(opacity)}"/>'
        f'<feComposite in2="o" operator="in"/>'
        f'<feMerge><feMergeNode/><feMergeNode in="SourceGraphic"/></feMerge></filter>'
    )


def blur_filter(fid, amount):
    return (f'<filter id="{fid}" x="-50%" y="-50%" width="200%" height="200%">'
            f'<feGaussianBlur stdDeviation="{fmt(amount)}"/></filter>')


def glow_filter(fid, blur=3.0, color="#ffe9a0", opacity=0.9):
    """An outer glow in `color` around the element's shape."""
    return (
        f'<filter id="{fid}" x="-50%" y="-50%" width="200%" height="200%" '
        f'color-interpolation-filters="sRGB">'
        f'<feGaussianBlur in="SourceAlpha" stdDeviation="{fmt(blur)}" result="b"/>'
        f'<feFlood flood-color="{color}" flood-opacity="{fmt(opacity)}"/>'
        f'<feComposite in2="b" operator="in" result="g"/>'
        f'<feMerge><feMergeNode in="g"/><feMergeNode in="SourceGraphic"/></feMerge></filter>'
    )


def noise_filter(fid, freq, octaves, seed, slope, intercept=0.0, color_matrix=None,
                 x="0", y="0", w="100%", h="100%", kind="fractalNoise"):
    """Turbulence turned into an alpha texture; colour it with the element's fill."""
    matrix = color_matrix or (
        f"0 0 0 0 0  0 0 0 0 0  0 0 0 0 0  {fmt(slope)} 0 0 0 {fmt(intercept)}")
    return (
        f'<filter id="{fid}" x="{x}" y="{y}" width="{w}" height="{h}" '
        f'filterUnits="userSpaceOnUse" color-interpolation-filters="sRGB">'
        f'<feTurbulence type="{kind}" baseFrequency="{freq}" numOctaves="{octaves}" '
        f'seed="{seed}" stitchTiles="stitch" result="n"/>'
        f'<feColorMatrix in="n" type="matrix" values="{matrix}" result="a"/>'
        f'<feComposite in="SourceGraphic" in2="a" operator="in"/></filter>'
    )


def rounded_rect(x, y, w, h, r):
    """Path data of a rounded rectangle."""
    r = min(r, w / 2, h / 2)
    return (
        f"M{fmt(x + r)},{fmt(y)} H{fmt(x + w - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w)},{fmt(y + r)} "
        f"V{fmt(y + h - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w - r)},{fmt(y + h)} "
        f"H{fmt(x + r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x)},{fmt(y + h - r)} "
        f"V{fmt(y + r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + r)},{fmt(y)} Z"
    )


def polygon(points):
    return "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in points) + " Z"


def polyline(points):
    return "M" + " L".join(f"{fmt(x)},{fmt(y)}" for x, y in points)


def smooth(points, closed=True, tension=0.5):
    """A smooth path through the points (Catmull-Rom turned into cubic Beziers)."""
    n = len(points)
    if n < 2:
        return ""
    out = [f"M{fmt(points[0][0])},{fmt(points[0][1])}"]
    count = n if closed else n - 1
    for i in range(count):
        p0 = points[(i - 1) % n] if (closed or i > 0) else points[i]
        p1 = points[i]
        p2 = points[(i + 1) % n]
        p3 = points[(i + 2) % n] if (closed or i + 2 < n) else p2
        k = tension / 3.0 * 2.0
        c1 = (p1[0] + (p2[0] - p0[0]) * k / 2, p1[1] + (p2[1] - p0[1]) * k / 2)
        c2 = (p2[0] - (p3[0] - p1[0]) * k / 2, p2[1] - (p3[1] - p1[1]) * k / 2)
        out.append(f" C{fmt(c1[0])},{fmt(c1[1])} {fmt(c2[0])},{fmt(c2[1])} "
                   f"{fmt(p2[0])},{fmt(p2[1])}")
    if closed:
        out.append(" Z")
    return "".join(out)


def star(cx, cy, outer, inner, points, rotation=-90.0):
    pts = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(rotation + i * 180.0 / points)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def circle(cx, cy, r, **attrs):
    return f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}"{_attrs(attrs)}/>'


def ellipse(cx, cy, rx, ry, **attrs):
    return (f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(rx)}" ry="{fmt(ry)}"'
            f'{_attrs(attrs)}/>')


def rect(x, y, w, h, **attrs):
    return (f'<rect x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}"'
            f'{_attrs(attrs)}/>')


def path(d, **attrs):
    return f'<path d="{d}"{_attrs(attrs)}/>'


def group(body, **attrs):
    return f"<g{_attrs(attrs)}>{body}</g>"


def text(x, y, content, size, family=SERIF, weight="bold", anchor="middle", **attrs):
    content = content.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return (f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="{family}" font-size="{fmt(size)}" '
            f'font-weight="{weight}" text-anchor="{anchor}"{_attrs(attrs)}>{content}</text>')


def _attrs(attrs):
    out = []
    for key, value in attrs.items():
        name = key.rstrip("_").replace("_", "-")
        if isinstance(value, float):
            value = fmt(value)
        out.append(f' {name}="{value}"')
    return "".join(out)


def translate(x, y, body):
    return f'<g transform="translate({fmt(x)},{fmt(y)})">{body}</g>'


def mix(a, b, t):
    """The colour t of the way from a to b (both "#rrggbb")."""
    ca = [int(a[i:i + 2], 16) for i in (1, 3, 5)]
    cb = [int(b[i:i + 2], 16) for i in (1, 3, 5)]
    return "#" + "".join(f"{round(x + (y - x) * t):02x}" for x, y in zip(ca, cb))


def embossed_text(p, x, y, content, size, fill_top, fill_bottom, outline=INK, stroke=3.0,
                  family=SERIF, shadow=True, anchor="middle", letter_spacing=0):
    """Title lettering: a dark rim, a gradient fill and a soft shadow. Returns (defs, body)."""
    defs = linear(f"{p}tg", [(0, fill_top), (1, fill_bottom)], 0, 0, 0, 1)
    if shadow:
        defs += drop_shadow(f"{p}ts", 1.5, 2.5, 1.8, 0.55)
    spacing = f' letter-spacing="{fmt(letter_spacing)}"' if letter_spacing else ""
    rim = text(x, y, content, size, family=family, anchor=anchor, fill=outline, stroke=outline,
               stroke_width=stroke, stroke_linejoin="round")
    face = text(x, y, content, size, family=family, anchor=anchor, fill=f"url(#{p}tg)")
    shine = text(x, y, content, size, family=family, anchor=anchor, fill="none",
                 stroke="#ffffff", stroke_opacity=0.35, stroke_width=0.8)
    if spacing:
        rim = rim.replace("<text ", f"<text{spacing} ")
        face = face.replace("<text ", f"<text{spacing} ")
        shine = shine.replace("<text ", f"<text{spacing} ")
    body = group(rim + face + shine, filter=f"url(#{p}ts)") if shadow else rim + face + shine
    return defs, body
