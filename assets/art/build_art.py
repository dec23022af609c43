#!/usr/bin/env python3
"""Writes the SVG source of every game image, and lists them for the build.

    build_art.py list                 one "stem width height" line per picture
    build_art.py svg OUTDIR           writes OUTDIR/<stem>.svg (files that did not change
                                      are left alone, so only changed pictures are rendered)
    build_art.py layout               the image table of LAYOUT.md
    build_art.py manifest             the image lines of properties/resources.xml

Standard library only. The pictures are drawn by the modules beside this file.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import chrome  # noqa: E402
import pictures  # noqa: E402
import scenes  # noqa: E402
import stones  # noqa: E402
from svgkit import document, translate  # noqa: E402


class Art:
    """One picture file: its identifier (None for files the manifest does not name), size,
    cell grid, how it is drawn and why it has this size."""

    def __init__(self, ident, stem, width, height, draw, where, reason, cols=1, rows=1,
                 group="Game", anim=None):
        self.ident = ident
        self.stem = stem
        self.width = width
        self.height = height
        self.draw = draw
        self.where = where
        self.reason = reason
        self.cols = cols
        self.rows = rows
        self.group = group
        self.anim = anim


def strip(frame_fn, count, cell_w, cell_h):
    def draw(p):
        defs, body = "", ""
        for i in range(count):
            d, b = frame_fn(f"{p}c{i}", i)
            defs += d
            body += translate(i * cell_w, 0, b)
        return defs, body
    return draw


def stone_with(style, kind):
    return lambda p: stones.stone(p, style, kind)


def catalogue():
    A = Art
    out = []
    # Group TitleScreen.
    out += [
        A("IMAGE_LOADER_BAR", "loader_bar", 400, 20, chrome.loader_bar,
          "loading screen, top 450, centred; only the filled part", "loading screen: bar at y 450, between "
          "the logo (y 330) and the text at y 500", group="TitleScreen"),
        A("IMAGE_LOADER_QUARROW", "loader_quarrow", 480, 110, scenes.logo_loader,
          "loading screen at (400 - w/2, 330)", "loading screen: from y 330 to above the bar at 450",
          group="TitleScreen"),
        A("IMAGE_LOGO_BIG", "logo_big", 520, 200, scenes.logo_big,
          "bound, not drawn by the game", "loading screen: free; sized for a splash", group="TitleScreen"),
    ]
    # Group Game, in identifier order.
    out += [
        A("IMAGE_ARROW", "arrow", 44, 50, chrome.hint_arrow,
          "hint window at (0, H - 20), tip at its bottom left", "in-game dialogs: arrow at (0, H-20) in a "
          "window H+30 high, so at most 50 high; its tip is the window's bottom left, the point"),
    ]
    for state, suffix in (("normal", ""), ("disable", "_DISABLE"), ("down", "_DOWN"),
                          ("over", "_OVER")):
        out.append(A(f"IMAGE_BIG_BUTTON{suffix}", f"big_button{suffix.lower()}", 174, 50,
                     (lambda s: lambda p: chrome.button_face(p, 174, 50, s, 14, shadow_rows=4))(state),
                     "main menu mode buttons at (313, 314), (313, 370), widget h - 4; how-to-"
                     "play Close at (310, 550)", "main menu: x 313 centred on 400 gives 174; rows "
                     "56 apart; in-game dialogs: Close at y 550 ends by y 600"))
    for state, suffix in (("disable", "_DISABLE"), ("down", "_DOWN")):
        out.append(A(f"IMAGE_BUTTON{suffix}", f"button{suffix.lower()}", 104, 30,
                     (lambda s: lambda p: chrome.button_face(p, 104, 30, s, 9))(state),
                     "panel buttons Undo (578, 538), Hint (578, 568), Reshuffle (128, 568), "
                     "widget h - 2; message dialog buttons", "board panel: rows 30 apart, Undo/Hint "
                     "end before the menu button at x 693"))
    for state, suffix in (("normal", ""), ("down", "_DOWN"), ("over", "_OVER")):
        out.append(A(f"IMAGE_BUTTON_MENU{suffix}", f"button_menu{suffix.lower()}", 96, 56,
                     (lambda s: lambda p: chrome.menu_button(p, s))(state),
                     "panel menu button at (693, 540), its own size",
                     "board panel: from x 693 and y 540 within the 800 x 600 screen"))
    for state, suffix in (("normal", "_NORMAL"), ("over", "_OVER")):
        out.append(A(f"IMAGE_BUTTON{suffix}", f"button{suffix.lower()}", 104, 30,
                     (lambda s: lambda p: chrome.button_face(p, 104, 30, s, 9))(state),
                     "as IMAGE_BUTTON_DOWN; also nine-sliced for dialog buttons (Options "
                     "CLOSE 332 wide)", "board panel as above; in-game dialogs: hint Close at (120, 110)"))
    out += [
        A("IMAGE_CHARIOT", "chariot", 56, 40, chrome.chariot,
          "One-Side map at (point x - w/2, point y - 35)", "level map: offset -35, wheels on the point"),
        A("IMAGE_CHECKBOX", "checkbox", 52, 26, chrome.checkbox,
          "off half, on half; box at (290, 500) on how-to-play, options boxes",
          "in-game dialogs / options dialog: two faces side by side; the label at (x + 30, y + 20) fits a 26 box",
          cols=2),
        A("IMAGE_COMBO_METER", "combo_meter", 30, 242, chrome.combo_frame,
          "meter at (760, 270)", "scoring: x2/x3/x4 labels at y 405/329/260 sit on the 32/64/92 % "
          "marks of a 240-high fill; ends above the panel at 520"),
        A("IMAGE_COMBO_METER_LABELS", "combo_meter_labels", 30, 242, chrome.combo_labels,
          "over the fill at (760, 270)", "board: same place and size as the casing"),
        A("IMAGE_COMBO_METER_ON", "combo_meter_on", 28, 240, chrome.combo_fill,
          "fill at (761, 271 + (1 - level) h), bottom part", "board: fill offset (1, 1) inside "
          "the 30 x 242 casing"),
        A("IMAGE_COMPLETE_WND", "complete_wnd", scenes.COMPLETE_W, scenes.COMPLETE_H,
          scenes.complete_window, "all-levels-complete dialog, centred, insets 80: drawn as "
          "its four corner pieces (440 x 380 at (80, 80))", "game screens: insets 80 and a box in nine "
          "pieces; columns 240-399 and rows 200-359 of the image are never shown"),
        A("IMAGE_CROP_DECK", "crop_deck", 124, 62, lambda p: chrome.deck_place(p, "crops"),
          "Two-Side deck seat at (-2, 538) while redeals remain", "board: deck at (5, 540), "
          "stones up to (99, 590), the count centred on x 106 at y 590"),
        A("IMAGE_DECK_PLACE", "deck_place", 124, 62, lambda p: chrome.deck_place(p, "deck"),
          "One-Side deck seat at (-2, 538)", "board: as IMAGE_CROP_DECK"),
        A("IMAGE_DIALOG_BOX", "dialog_box", 540, 415, chrome.dialog_box,
          "options (540 x 415, insets 80/50), highscores (W + 200 x H), change player, exit "
          "question; nine-sliced", "options dialog: 540 x 415; highscores: rows to y 310 "
          "and Ok at y 350 need H 415; frame kept within 16 px for smaller stretches"),
    ]
    for style, suffix in (("ivory", ""), ("marble", "2"), ("terracotta", "3")):
        out.append(A(f"IMAGE_FISH_BACK{suffix}", f"fish_back{suffix}", stones.STONE_W,
                     stones.STONE_H, stone_with(style, "back"),
                     "face-down stone at its drawing position; deck stones",
                     "stones: 80 x 50 top at (7, 0), 7 px edge to the lower left"))
    out += [
        A("IMAGE_FISH_BORDER", "fish_border", 95, 65, stones.border,
          "background cache at (draw left - 4, draw top - 4) under each resting stone",
          "board: (x + 7 layer - 44, y - 7 layer - 29): 4 px around the 87 x 57 stone"),
        A("IMAGE_FISH_JOKER", "fish_joker", stones.STONE_W, stones.STONE_H,
          stone_with("joker", "face"), "face-up joker", "stones as a face"),
        A("IMAGE_FISH_JOKER_BACK", "fish_joker_back", stones.STONE_W, stones.STONE_H,
          stone_with("joker", "back"), "face-down joker", "stones as a face"),
        A("IMAGE_FISH_JOKER_ROTATE", "fish_joker_rotate", stones.FLIP_CELL_W * 13,
          stones.FLIP_CELL_H, lambda p: stones.flip_strip(p, "joker"),
          "joker flip, frame at (draw left - 3, draw top - 17)", "board: 13 frames, 4 ticks each; "
          "the stone at (3, 17) of a 93 x 80 cell", cols=13),
    ]
    for style, suffix in (("ivory", ""), ("marble", "2"), ("terracotta", "3")):
        out.append(A(f"IMAGE_FISH_L{suffix}", f"fish_l{suffix}", stones.STONE_W, stones.STONE_H,
                     stone_with(style, "face"), "face-up stone; pictures at (6, 0), (46, 0); "
                     "preview at (12, 31)", "stones / board: 80 x 50 top at (7, 0), halves 40 x 50, "
                     "7 px edge"))
    out += [
        A("IMAGE_FISH_LOCK0", "fish_lock0", 96, 66, stones.lock_chains,
          "on a locked face-down stone at (-3, -6)", "stones: offset (-3, -6), covers the stone"),
        A("IMAGE_FISH_LOCK1", "fish_lock1", 76, 50, stones.lock_pyramid,
          "at (9, -38)", "stones: offset (9, -38), centred on the stone (x 47), rises 38 above it"),
        A("IMAGE_FISH_LOCK2", "fish_lock2", 64, 60, stones.lock_orb,
          "at (15, -3)", "stones: offset (15, -3), centred on the stone"),
    ]
    for style, suffix in (("ivory", ""), ("marble", "2"), ("terracotta", "3")):
        out.append(A(f"IMAGE_FISH_OVER{suffix}", f"fish_over{suffix}", stones.STONE_W,
                     stones.STONE_H, stone_with(style, "over"), "face under the mouse",
                     "stones as a face"))
    for style, suffix in (("ivory", ""), ("marble", "2"), ("terracotta", "3")):
        out.append(A(f"IMAGE_FISH_ROTATE{suffix}", f"fish_rotate{suffix}",
                     stones.FLIP_CELL_W * 13, stones.FLIP_CELL_H,
                     (lambda s: lambda p: stones.flip_strip(p, s))(style),
                     "flip strip at (draw left - 3, draw top - 17)",
                     "board: 13 frames; pictures grow over frames 7-12", cols=13))
    out += [
        A("IMAGE_HOW_TO_PLAY1", "how_to_play1", 800, 600, lambda p: scenes.how_to_play(p, True),
          "how-to-play page, One-Side, at (0, 0)", "in-game dialogs: whole screen; clear below y 490 for "
          "the box (290, 500) and Close (310, 550)"),
        A("IMAGE_HOW_TO_PLAY2", "how_to_play2", 800, 600, lambda p: scenes.how_to_play(p, False),
          "how-to-play page, Two-Side", "in-game dialogs as above"),
        A("IMAGE_KEY_ANIM", "key_anim", 56 * stones.KEY_FRAMES, 44,
          strip(stones.key_frame, stones.KEY_FRAMES, 56, 44), "key 0 on a stone at (6, 9), "
          "bobbing 3 px", "stones: offset (6, 9); the key stands on the seam of the halves (x 47)",
          cols=stones.KEY_FRAMES, anim=("loop", 4)),
        A("IMAGE_LOGO_SMALL", "logo_small", 150, 60, scenes.logo_small,
          "main menu, right edge at x 790, top at y 460", "main menu: right edge 790, top 460"),
    ]
    for kind, suffix in (("open", ""), ("done", "_COMPLETE"), ("hover", "_SELECT")):
        out.append(A(f"IMAGE_MAP_POINT{suffix}", f"map_point{suffix.lower()}", 26, 26,
                     (lambda k: lambda p: chrome.map_point(p, k))(kind),
                     "centred on a map point; its number at (+2, +23)",
                     "level map: points 30-40 px apart, hover radius 20, number 23 px below"))
    out += [
        A("IMAGE_NO_CROPS", "no_crops", 124, 62, lambda p: chrome.deck_place(p, "none"),
          "Two-Side deck seat without redeals", "board: as IMAGE_CROP_DECK"),
        A("IMAGE_PANEL", "panel", 800, 80, chrome.panel_bottom, "game screen at (0, 520)",
          "board: from y 520 to the bottom"),
        A("IMAGE_PANEL_LINE", "panel_line", 104, 84, lambda p: chrome.line_front(p, False),
          "over the Two-Side play line at (348, 516)", "board: at (348, 516), centred on x 400, "
          "to the bottom; the clasp covers the inner halves only"),
        A("IMAGE_PANEL_LINE_LAG", "panel_line_lag", 104, 84, chrome.line_back,
          "under the play line at (348, 516)", "board: same place as IMAGE_PANEL_LINE"),
        A("IMAGE_PANEL_LINE_OSS", "panel_line_oss", 102, 81,
          lambda p: chrome.line_front(p, True), "over the One-Side line at (305, 519)",
          "board: from x 305 to the last stone's exposed right picture at x 446"),
        A("IMAGE_PANEL_UP", "panel_up", 800, 26, chrome.panel_top, "game screen at (0, 0)",
          "board: texts at y 17; IMAGE_PREVIEW starts at y 26"),
        A("IMAGE_PLAYLINE", "playline", 184, 60, chrome.play_line_tray,
          "Two-Side at (400 - w/2, 540); One-Side right half at (400, 540)",
          "stones: end stones centred at (358, 565) and (440, 565), 87 x 57 images"),
        A("IMAGE_PREVIEW", "preview", 110, 70, chrome.preview_frame,
          "background cache at (0, 26) with the preview option",
          "board: the hovered stone at (12, 31) and its pictures at (18, 31), (58, 31)"),
        A("IMAGE_PYRAMID_ANIM", "pyramid_anim", 94 * stones.KEY_FRAMES, 50,
          strip(stones.pyramid_frame, stones.KEY_FRAMES, 94, 50),
          "key 1 at (0, -55) over a stone", "stones: offset (0, -55); centred on x 47 of the stone",
          cols=stones.KEY_FRAMES, anim=("loop", 4)),
        A("IMAGE_ROCK_PLACE", "rock_place", 94, 58, chrome.rock_place,
          "Two-Side pile seat at (0, 460 - 60 i)", "board / deck: piles 60 apart, the first stone at "
          "(5, 459 - 60 i)"),
        A("IMAGE_SCROLL", "scroll", 143, 112, lambda p: chrome.scroll(p, "normal"),
          "level map strip at (30 + 150 k, 432); rolls cut out when closed",
          "level map: 143 wide with rolls in columns 0-16 and 123-142; thumbnail 120 x 90 at (10, 8), "
          "text at y 103; ends above the buttons at 548"),
        A("IMAGE_SCROLL_OVER", "scroll_over", 143, 112, lambda p: chrome.scroll(p, "over"),
          "scroll under the mouse or selected", "level map as IMAGE_SCROLL"),
        A("IMAGE_SCROLL_SELECT", "scroll_select", 143, 112, lambda p: chrome.scroll(p, "select"),
          "drawn additively over the selected scroll", "level map as IMAGE_SCROLL; black adds nothing"),
        A("IMAGE_SHIP", "ship", 52, 54, chrome.map_ship,
          "Two-Side map at (point x - w/2, point y - 50)", "level map: offset -50, keel on the point"),
        A("IMAGE_SLIDER_THUMB", "slider_thumb", 22, 26, chrome.slider_thumb,
          "options sliders; slider height", "options dialog: the slider is as high as the thumb"),
        A("IMAGE_SLIDER_TRACK", "slider_track", 156, 14, chrome.slider_track,
          "options sliders at (x + 80, y + 130) and (x + w - 80 - 156, y + 130)",
          "options dialog / dialogs: three equal cells; two tracks side by side in the 380 between the insets",
          cols=3),
        A("IMAGE_SPHERE_ANIM", "sphere_anim", 58 * stones.KEY_FRAMES, 40,
          strip(stones.sphere_frame, stones.KEY_FRAMES, 58, 40),
          "key 2 at (18, -35) over a stone", "stones: offset (18, -35); centred on x 47",
          cols=stones.KEY_FRAMES, anim=("loop", 4)),
        A("IMAGE_TITLE", "title", 800, 600, scenes.title_screen, "main menu at (0, 0)",
          "main menu: whole screen; light stele behind the black welcome line at y 125 and the "
          "buttons at x 300-500, y 130-540"),
    ]
    for index in range(26):
        out.append(A(f"IMAGE_TYP{index}", f"typ{index}", 40, 50,
                     (lambda i: lambda p: pictures.picture(i, p))(index),
                     f"stone picture {index} ({pictures.NAMES[index]}), centred in a 40 x 50 half",
                     "board: pictures centred in the 40 x 50 halves at (6, 0) and (46, 0)"))
    out += [
        A("IMAGE_W_HINT", "w_hint", 250, 140, chrome.hint_window,
          "hint window at (29, 0)", "in-game dialogs: text box (59, 30) W - 60 wide, Close at (120, 110); "
          "shown at x 490 it must end by x 800 (W + 29 <= 310)"),
        A("IMAGE_W_MAP", "w_map", 800, 600, scenes.level_map, "level map at (0, 0)",
          "level map: points within x 101-699, y < 400; scrolls from y 432; buttons at y 548"),
        A("IMAGE_W_MENU", "w_menu", 250, 280, chrome.menu_window,
          "in-game menu at (275, 160)", "board panel / in-game dialogs: the menu window is 250 x 280, buttons at "
          "x 55, y 40-236"),
        A("IMAGE_W_SMALL", "w_small", 365, 216, chrome.small_window,
          "message, continue, game-over and name dialogs, centred; nine-sliced",
          "main menu / in-game dialogs: buttons at x 30 and 195 (140 wide) give 365; name dialog buttons at "
          "h - 60; the exit question's three lines and two buttons need 216"),
    ]
    for n in (2, 3, 4):
        out.append(A(f"IMAGE_x{n}", f"x{n}", 64, 34,
                     (lambda k: lambda p: chrome.multiplier_label(p, k))(n),
                     f"label floating from (745, {dict([(2, 405), (3, 329), (4, 260)])[n]})",
                     "scoring: starts at x 745 over the meter's left edge"))
    bonus = [
        ("IM_BONUS_100", "bonus_100", "+100", 110),
        ("IM_BONUS_200", "bonus_200", "+200", 110),
        ("IM_BONUS_CROP", "bonus_crop", "Extra Deal!", 150),
        ("IM_BONUS_JOKER", "bonus_joker", "Joker!", 110),
        ("IM_BONUS_PLACE", "bonus_place", "New Pile!", 140),
        ("IM_BONUS_RESHUFFLE", "bonus_reshuffle", "+1 Reshuffle", 160),
    ]
    for ident, stem, words, width in bonus:
        out.append(A(ident, stem, width, 34,
                     (lambda t, w: lambda p: chrome.bonus_label(p, t, w))(words, width),
                     "bonus label from (stone x - w/2, 530) rising", "scoring: centred on the stone"))
    out += [
        A("IM_BONUS_STAR", "bonus_star", 24 * 8, 24, strip(stones.bonus_star_frame, 8, 24, 24),
          "bonus sparkles at (draw left + 0..49, draw top + 20 - 0..39)",
          "scoring: frames advance every 4th update and restart", cols=8, anim=("loop", 4)),
        A("IM_BONUS_STONE", "bonus_stone", 150, 34,
          lambda p: chrome.bonus_label(p, "Extra Stone!", 150), "bonus label", "scoring"),
        A("IM_B_CHANGE_PLAYER", "b_change_player", 200, 32,
          lambda p: chrome.change_player_button(p, False), "main menu at (300, 130)",
          "main menu: at (300, 130) under the welcome line, centred on x 400"),
    ]
    for state, suffix in (("normal", ""), ("disable", "_DISABLE"), ("down", "_DOWN"),
                          ("over", "_OVER")):
        out.append(A(f"IM_B_DIALOG{suffix}", f"b_dialog{suffix.lower()}", 140, 38,
                     (lambda s: lambda p: chrome.button_face(p, 140, 38, s, 11))(state),
                     "buttons the screens make (menu x 55, map (230, 548)/(430, 548), main menu "
                     "x 338); widget h - 2", "in-game dialogs: x 55 in the 250 menu gives 140; level map: Play "
                     "and Main Menu symmetric about 400 give 140; rows 40 apart"))
    out += [
        A("IM_B_MENU", "b_menu", 140, 38,
          lambda p: chrome.button_face(p, 140, 38, "normal", 11, label="Menu"),
          "bound, not drawn by the game", "sized as IM_B_DIALOG"),
        A("IM_B_OVER_CHANGE_PLAYER", "b_over_change_player", 200, 32,
          lambda p: chrome.change_player_button(p, True), "change-player button, over and down",
          "main menu as IM_B_CHANGE_PLAYER"),
        A("IM_B_OVER_MENU", "b_over_menu", 140, 38,
          lambda p: chrome.button_face(p, 140, 38, "over", 11, label="Menu"),
          "bound, not drawn by the game", "sized as IM_B_DIALOG"),
    ]
    # Files that the manifest does not name.
    for stem, draw, words in scenes.BACKGROUNDS:
        out.append(A(None, stem, 800, 600, draw, f"level background: {words}",
                     "board: the background cache is 800 x 600"))
    out += [
        A(None, "ostravel", 420, 260, scenes.ostravel_logo, "studio logo screen (logos.xml), "
          "centred on (400, 300)", "free"),
        A(None, "loading_emblem", 300, 230, scenes.loading_emblem, "loading phase (logos.xml), "
          "centred on (400, 200)", "loading screen: above the logo at y 330"),
        A(None, "loader_frame", 412, 32, chrome.loader_frame, "loading phase (logos.xml), "
          "centred on (400, 460) over the bar", "loading screen: 6 px around the 400 x 20 bar at y 450"),
        A(None, "icon", 256, 256, scenes.app_icon, "application icon, also at 16-128",
          "desktop icon sizes"),
    ]
    return out


def render(art):
    defs, body = art.draw(art.stem + "_")
    return document(art.width, art.height, body, defs)


def write_if_changed(file_name, content):
    try:
        with open(file_name, encoding="utf-8") as existing:
            if existing.read() == content:
                return False
    except OSError:
        pass
    temporary = file_name + ".tmp"
    with open(temporary, "w", encoding="utf-8") as out:
        out.write(content)
    os.replace(temporary, file_name)
    return True


def layout_table(arts):
    lines = ["| identifier | file | size | cells | where drawn | what fixes the size |",
             "|---|---|---|---|---|---|"]
    for art in arts:
        ident = f"`{art.ident}`" if art.ident else "(file only)"
        cells = f"{art.cols} x {art.rows}" if art.cols * art.rows > 1 else "1"
        file = "icons/hicolor/256x256/apps/quarrow.png" if art.stem == "icon" else \
            f"images/{art.stem}.png"
        lines.append(f"| {ident} | {file} | {art.width} x {art.height} | {cells} | "
                     f"{art.where} | {art.reason} |")
    return "\n".join(lines) + "\n"


def manifest_lines(arts, group):
    out = []
    for art in arts:
        if art.ident is None or art.group != group:
            continue
        extra = ""
        if art.cols > 1:
            extra += f' cols="{art.cols}"'
        if art.rows > 1:
            extra += f' rows="{art.rows}"'
        if art.anim:
            extra += f' anim="{art.anim[0]}" framedelay="{art.anim[1]}"'
        out.append(f'    <Image id="{art.ident}" path="{art.stem}.png"{extra}/>')
    return "\n".join(out) + "\n"


def main(argv):
    arts = catalogue()
    if len(argv) >= 2 and argv[1] == "list":
        for art in arts:
            print(art.stem, art.width, art.height)
        return 0
    if len(argv) >= 3 and argv[1] == "svg":
        folder = argv[2]
        os.makedirs(folder, exist_ok=True)
        only = set(argv[3:])
        changed = 0
        for art in arts:
            if only and art.stem not in only:
                continue
            changed += write_if_changed(os.path.join(folder, art.stem + ".svg"), render(art))
        print(f"build_art: {changed} of {len(arts)} pictures changed")
        return 0
    if len(argv) >= 2 and argv[1] == "layout":
        sys.stdout.write(layout_table(arts))
        return 0
    if len(argv) >= 3 and argv[1] == "manifest":
        sys.stdout.write(manifest_lines(arts, argv[2]))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
