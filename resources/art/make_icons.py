#!/usr/bin/env python3
"""Draws the program's 16 x 16 toolbar, menu and tree icons as small flat SVG files.

All icons share one palette and a few building blocks (page, folder, flag,
badges), so change them here and run

    python3 make_icons.py            # writes into icons/ beside this script
    python3 make_icons.py OUTDIR

instead of editing the generated files by hand. The application icon
(icons/app-icon.svg) is drawn separately and is not touched by this script.
Shapes sit on the half-pixel grid so that 1-unit strokes stay crisp at 16 px.
"""
import os, sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")

# palette
INK = "#2e3b4e"
PAPER = "#ffffff"
EDGE = "#5d6b7c"
FOLD = "#d5dde6"
LINE = "#8d9bab"
FOLDER = "#f3c04f"
FOLDER_BACK = "#dba437"
FOLDER_EDGE = "#9c6f14"
BLUE = "#2d7dd2"
BLUE_DARK = "#1c5a9e"
BLUE_PALE = "#d6e9fa"
GREEN = "#3aa55c"
GREEN_DARK = "#237a3e"
RED = "#d9393b"
RED_DARK = "#9e2224"
YELLOW = "#ffd84d"
YELLOW_DARK = "#b8930f"
TEAL = "#17998f"
TEAL_DARK = "#0e6b64"
WOOD = "#c48e55"
WOOD_DARK = "#7a5527"
NOTE = "#fff1a0"
NOTE_EDGE = "#b09422"

HEAD = '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">\n'

def svg(*parts):
    return HEAD + "".join("  " + p + "\n" for p in parts if p) + "</svg>\n"

def path(d, fill="none", stroke=None, sw=None, extra=""):
    s = f'<path d="{d}" fill="{fill}"'
    if stroke:
        s += f' stroke="{stroke}"'
    if sw is not None:
        s += f' stroke-width="{sw}"'
    if extra:
        s += " " + extra
    return s + "/>"

def rect(x, y, w, h, fill, stroke=None, extra=""):
    s = f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{fill}"'
    if stroke:
        s += f' stroke="{stroke}"'
    if extra:
        s += " " + extra
    return s + "/>"

def circle(cx, cy, r, fill, stroke=None, sw=None):
    s = f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}"'
    if stroke:
        s += f' stroke="{stroke}"'
    if sw is not None:
        s += f' stroke-width="{sw}"'
    return s + "/>"

def g(transform, *parts):
    return f'<g transform="{transform}">' + "".join(parts) + "</g>"

RJ = 'stroke-linejoin="round"'
RC = 'stroke-linecap="round" stroke-linejoin="round"'

# ---------------------------------------------------------------- shapes
def page(x=2.5, lines=True, heading=True):
    # document page with a folded corner, 11 x 15
    p = [path(f"M{x} .5h7l4 4v11h-11z", PAPER, EDGE, extra=RJ),
         path(f"M{x+7} .5v4h4", FOLD, EDGE, extra=RJ)]
    if lines:
        if heading:
            p.append(rect(x + 1.5, 3, 4, 1, BLUE))
        for y in (6, 8, 10, 12):
            p.append(rect(x + 1.5, y, 8 if y != 12 else 5, 1, LINE))
    return p

def small_page(x, y):
    # 8 x 10 page, top-left at (x, y) on the pixel grid
    return [path(f"M{x+.5} {y+.5}h5l3 3v7h-8z", PAPER, EDGE, extra=RJ),
            path(f"M{x+5.5} {y+.5}v3h3", FOLD, EDGE, extra=RJ),
            rect(x + 2, y + 5, 5, 1, LINE), rect(x + 2, y + 7, 5, 1, LINE)]

def folder_closed(dy=0):
    return [path(f"M.5 {2.5+dy}h5l1.5 1.5h8.5v{10.5}h-15z", FOLDER_BACK, FOLDER_EDGE, extra=RJ),
            path(f"M.5 {5.5+dy}h15v{8.5}h-15z", FOLDER, FOLDER_EDGE, extra=RJ)]

def folder_open(dy=0):
    return [path(f"M.5 {14.5+dy}V{2.5+dy}h5L7 {4+dy}h6.5v{3.5}", FOLDER_BACK, FOLDER_EDGE, extra=RJ),
            path(f"M2.5 {7.5+dy}v-2h10v2", PAPER, EDGE),
            path(f"M.5 {14.5+dy}l3-7h12l-3 7z", FOLDER, FOLDER_EDGE, extra=RJ)]

def flag_small():
    # marker flag standing in the folder's upper right corner
    return [path("M10.5 9V.5", "none", INK, extra='stroke-linecap="round"'),
            path("M11 .5h4.5l-1.2 2 1.2 2H11z", RED, RED_DARK, extra=RJ)]

def flag_big():
    return [path("M3.5 15V1", "none", INK, sw=1.5, extra='stroke-linecap="round"'),
            path("M4.5 1.5h9l-2 3 2 3h-9z", RED, RED_DARK, extra=RJ)]

def badge_plus(cx=12.5, cy=12.5):
    x, y = cx - 1, cy - 3
    return path(f"M{x} {y}h2v2h2v2h-2v2h-2v-2h-2v-2h2z", GREEN, GREEN_DARK, extra=RJ)

def badge_cross():
    return [circle(12, 12, 3.5, RED, RED_DARK),
            path("M10.5 10.5l3 3M13.5 10.5l-3 3", "none", PAPER, sw=1.5, extra='stroke-linecap="round"')]

def pencil():
    # pencil lying from the lower left to the upper right
    return [path("M7.5 15.5l.7-2.8 6-6 2.1 2.1-6 6z", YELLOW, INK, extra=RJ),
            path("M7.5 15.5l.7-2.8 2.1 2.1z", INK, INK, extra=RJ),
            path("M12.7 8.2l2.1 2.1", "none", INK)]

def ribbon(x=2.5, w=7, h=14):
    return path(f"M{x} .5h{w}v{h}l-{w/2} -3.5-{w/2} 3.5z", BLUE, BLUE_DARK, extra=RJ)

def arrow_right(x0, x1, cy, fill=GREEN, edge=GREEN_DARK):
    # horizontal block arrow from x0 (tail) to x1 (tip), 7 px tall head
    hx = x1 - 3.5
    return path(f"M{x0} {cy-1.5}H{hx}V{cy-3.5}L{x1} {cy}L{hx} {cy+3.5}V{cy+1.5}H{x0}z", fill, edge, extra=RJ)

def arrow_left(x0, x1, cy, fill=GREEN, edge=GREEN_DARK):
    # tip at x0, tail at x1
    hx = x0 + 3.5
    return path(f"M{x1} {cy-1.5}H{hx}V{cy-3.5}L{x0} {cy}L{hx} {cy+3.5}V{cy+1.5}H{x1}z", fill, edge, extra=RJ)

def note(x=.5):
    return [path(f"M{x} 1.5h9v9l-3 3h-6z", NOTE, NOTE_EDGE, extra=RJ),
            path(f"M{x+9} 10.5h-3v3", "none", NOTE_EDGE, extra=RJ),
            rect(x + 1.5, 4, 6, 1, NOTE_EDGE), rect(x + 1.5, 6, 6, 1, NOTE_EDGE), rect(x + 1.5, 8, 4, 1, NOTE_EDGE)]

def magnifier(cx=6.5, cy=6.5, r=4.5, hx=14.5, hy=14.5):
    return [path(f"M{cx + r*0.7:.2f} {cy + r*0.7:.2f}L{hx} {hy}", "none", INK, sw=2.5, extra='stroke-linecap="round"'),
            circle(cx, cy, r, BLUE_PALE, INK, 1.5),
            path(f"M{cx - r*0.55:.2f} {cy - r*0.05:.2f}a{r*0.55:.2f} {r*0.55:.2f} 0 0 1 {r*0.5:.2f} -{r*0.5:.2f}", "none", PAPER, sw=1.2, extra='stroke-linecap="round"')]

def tree_glyph():
    return [path("M2.5 4v7.5H5M2.5 7.5H5", "none", EDGE),
            rect(.5, .5, 5, 3, FOLDER, FOLDER_EDGE),
            rect(5.5, 6.5, 4, 2, PAPER, EDGE),
            rect(5.5, 10.5, 4, 2, PAPER, EDGE)]

def floppy_full():
    return [path("M.5 .5h12.5l2.5 2.5v12.5h-15z", BLUE, BLUE_DARK, extra=RJ),
            rect(3.5, .5, 8, 5, "#e4edf6", BLUE_DARK),
            rect(9, 1.5, 1.5, 3, BLUE_DARK),
            rect(2.5, 8.5, 11, 7, PAPER, BLUE_DARK),
            rect(4, 10.5, 8, 1, LINE), rect(4, 12.5, 8, 1, LINE)]

def floppy_badge():
    return [path("M9.5 8.5h5l1 1v6h-6z", BLUE, BLUE_DARK, extra=RJ),
            rect(11, 9, 3, 2, "#e4edf6"),
            rect(10.5, 12.5, 4, 2.5, PAPER)]

def open_folder_badge():
    return [path("M8.5 15.5v-6h2.5l1 1h3v1.5", FOLDER_BACK, FOLDER_EDGE, extra=RJ),
            path("M8.5 15.5l1.5-4h6l-1.5 4z", FOLDER, FOLDER_EDGE, extra=RJ)]

def circ_arrow_badge(color=GREEN, edge=GREEN_DARK):
    # clockwise arrow: head at the top pointing right, arc running round the left
    return [path("M12.5 10.25a2.75 2.75 0 1 0 2.75 2.75", "none", color, sw=1.5),
            path("M12 8v4.5l3-2.25z", color, edge, extra=RJ)]

def clock_face(cx, cy, r, hands=True):
    p = [circle(cx, cy, r, PAPER, BLUE_DARK, 1.5)]
    if hands:
        p.append(path(f"M{cx} {cy - r + 2.5}V{cy}h{r - 2}", "none", INK, sw=1.5, extra=RC))
    return p

def letter_a(x, y, w, h, sw, color=INK):
    # a plain capital A: apex at top centre
    bar = y + h * 0.62
    return path(f"M{x} {y+h}L{x+w/2} {y}L{x+w} {y+h}M{x + w*0.23:.2f} {bar:.2f}H{x + w*0.77:.2f}", "none", color, sw=sw, extra=RJ)

def lines(rows, color=INK):
    return [rect(x, y, w, 2, color) for (x, y, w) in rows]

# ---------------------------------------------------------------- icons
I = {}

I["chapter"] = svg(*page())
I["folder-closed"] = svg(*folder_closed())
I["folder-open"] = svg(*folder_open())
I["folder-marked-closed"] = svg(*folder_closed(), *flag_small())
I["folder-marked-open"] = svg(*folder_open(), *flag_small())
I["mark-folder"] = svg(*flag_big(), badge_plus())
I["unmark-folder"] = svg(*flag_big(), *badge_cross())

I["bookmark-add"] = svg(ribbon(), badge_plus())
I["bookmark-edit"] = svg(ribbon(), *pencil())
I["bookmark-import"] = svg(ribbon(1.5, 6), arrow_left(8.5, 15.5, 8.5))
I["bookmark-export"] = svg(ribbon(1.5, 6), arrow_right(8.5, 15.5, 8.5))
I["notes-import"] = svg(*note(.5), arrow_left(9, 15.5, 11.5))
I["notes-export"] = svg(*note(.5), arrow_right(9, 15.5, 11.5))

I["find"] = svg(*magnifier())
I["find-next"] = svg(*magnifier(5.5, 5.5, 4, 9.5, 9.5), arrow_right(7.5, 15.5, 12.5, BLUE, BLUE_DARK))
I["find-in-tree"] = svg(*tree_glyph(), *magnifier(11, 10, 3, 15, 14.5))
I["find-on-page"] = svg(*page(1.5, heading=False), *magnifier(10.5, 10, 3, 15, 14.5))
I["search-start"] = svg(*magnifier(6, 6, 4.5, 10, 10), path("M10.5 9.5v6l5-3z", GREEN, GREEN_DARK, extra=RJ))
I["search-stop"] = svg(*magnifier(6, 6, 4.5, 10, 10), rect(10.5, 10.5, 5, 5, RED, RED_DARK))

I["print"] = svg(rect(3.5, .5, 9, 5, PAPER, EDGE),
                 path("M.5 5.5h15v7h-15z", "#c9d3dd", INK, extra=RJ),
                 rect(3.5, 9.5, 9, 6, PAPER, EDGE),
                 rect(5, 11, 6, 1, LINE), rect(5, 13, 4, 1, LINE),
                 rect(12, 7, 2, 1, GREEN))
I["text-size"] = svg(letter_a(.8, 8, 5.4, 6.8, 1.5), letter_a(6.5, 1.5, 8.5, 13.2, 2))
I["font"] = svg(path("M1.5 14.5h4M10.5 14.5h4M3.5 14.5L8 1.5l4.5 13M5.2 10h5.6", "none", BLUE_DARK, sw=1.6, extra=RJ))

_nav = "M1.5 5.5H8V2l6.5 6L8 14v-3.5H1.5z"
I["next-chapter"] = svg(path(_nav, BLUE, BLUE_DARK, extra=RJ))
I["previous-chapter"] = svg(g("matrix(-1 0 0 1 16 0)", path(_nav, BLUE, BLUE_DARK, extra=RJ)))

def move_icon(up):
    rows = [rect(.5, 1.5, 8, 3, PAPER, EDGE), rect(.5, 6.5, 8, 3, BLUE_PALE, BLUE_DARK), rect(.5, 11.5, 8, 3, PAPER, EDGE)]
    arr = path("M12.5 1l3.5 4.5h-2V15h-3V5.5H9z", GREEN, GREEN_DARK, extra=RJ)
    if not up:
        arr = g("matrix(1 0 0 -1 0 16)", arr)
    return svg(*rows, arr)

I["move-up"] = move_icon(True)
I["move-down"] = move_icon(False)

I["create-folder"] = svg(*folder_closed(), badge_plus())
I["rename-folder"] = svg(*folder_closed(), *pencil())
I["delete"] = svg(path("M3.5 3.5l9 9M12.5 3.5l-9 9", "none", RED_DARK, sw=4, extra='stroke-linecap="round"'),
                  path("M3.5 3.5l9 9M12.5 3.5l-9 9", "none", RED, sw=2, extra='stroke-linecap="round"'))
I["move-into-marked-folder"] = svg(*folder_closed(1), *flag_small(),
                                   path("M3 .5v3.5H1l3.5 4 3.5-4H6V.5z", BLUE, BLUE_DARK, extra=RJ))

I["expand-all"] = svg(path("M4 5.5l4-4 4 4M4 10.5l4 4 4-4", "none", BLUE, sw=2, extra=RC),
                      rect(1, 7, 14, 2, INK))
I["collapse-all"] = svg(path("M4 1.5l4 4 4-4M4 14.5l4-4 4 4", "none", BLUE, sw=2, extra=RC),
                        rect(1, 7, 14, 2, INK))
I["tree-save"] = svg(*tree_glyph(), *floppy_badge())
I["tree-open"] = svg(*tree_glyph(), *open_folder_badge())
I["tree-reset"] = svg(*tree_glyph(), *circ_arrow_badge())
I["add-to-custom-list"] = svg(*tree_glyph(), badge_plus())

I["exit"] = svg(path("M1.5 .5h8v15h-8z", WOOD, WOOD_DARK, extra=RJ),
                rect(3, 2, 5, 5, "#d9ab78"), rect(3, 9, 5, 5, "#d9ab78"),
                rect(7, 7.5, 1.5, 1.5, INK),
                arrow_right(8, 15.5, 8, GREEN, GREEN_DARK))
I["clean-files"] = svg(path("M15 1L9 7", "none", WOOD_DARK, sw=1.75, extra='stroke-linecap="round"'),
                       path("M7 5.5l3.5 3.5-1.5 1.5-1 4.5-7.5-7.5 4.5-1z", YELLOW, YELLOW_DARK, extra=RJ),
                       path("M5.5 8.5L2.5 11.5M7 10L4 13", "none", YELLOW_DARK),
                       path("M12.5 11v4M10.5 13h4", "none", BLUE, sw=1, extra='stroke-linecap="round"'))
I["update"] = svg(circle(6.5, 6.5, 6, "#cfe6fb", BLUE_DARK),
                  path("M.5 6.5h12M6.5 .5v12", "none", BLUE_DARK, sw=.8),
                  '<ellipse cx="6.5" cy="6.5" rx="2.6" ry="6" fill="none" stroke="#1c5a9e" stroke-width=".8"/>',
                  path("M11 8.5h3v3.5h2l-3.5 3.5L9 12h2z", GREEN, GREEN_DARK, extra=RJ))
I["reload"] = svg(path("M8 3.5a5 5 0 1 0 5 5", "none", GREEN, sw=2.2),
                  path("M7.5 .5v6l4-3z", GREEN, GREEN_DARK, extra=RJ))

def qmark(x, y, s, color, sw):
    # question mark, x,y = top-left, s = scale (1 -> 5 x 10 box)
    return [path(f"M{x} {y+2.2*s:.2f}a{2.5*s:.2f} {2.3*s:.2f} 0 1 1 {3.4*s:.2f} {2.15*s:.2f}c-{.6*s:.2f} {.35*s:.2f}-{.9*s:.2f} {.8*s:.2f}-{.9*s:.2f} {1.65*s:.2f}v{.6*s:.2f}", "none", color, sw=sw, extra='stroke-linecap="round"'),
            rect(f"{x + 2.5*s - .9 - sw/2 + .9:.2f}", f"{y + 8.7*s:.2f}", sw, sw, color)]

I["help-topics"] = svg(path("M2.5 .5h10.5v13h-10.5z", BLUE, BLUE_DARK, extra=RJ),
                       path("M2.5 13.5h10.5v2h-10.5z", PAPER, BLUE_DARK),
                       rect(3, 1, 1.5, 12, BLUE_DARK),
                       *qmark(6.3, 2.2, .95, PAPER, 1.6))
I["whats-this"] = svg(path("M1.5 1.5v11l3-2.8 2 4.6 2-.9-2-4.5h4z", PAPER, INK, extra=RJ),
                      *qmark(10, 2, 1, BLUE, 2))
I["home-page"] = svg(rect(2.5, 7.5, 11, 8, "#f4efe6", INK),
                     path("M8 1L15.5 8H.5z", RED, RED_DARK, extra=RJ),
                     rect(6.5, 10.5, 3, 5, BLUE, BLUE_DARK),
                     rect(10.5, 2, 2, 3, RED_DARK))
I["forum"] = svg(path("M5.5 .5h9a1 1 0 0 1 1 1v5.5a1 1 0 0 1-1 1h-1v2.5L11 8H5.5a1 1 0 0 1-1-1V1.5a1 1 0 0 1 1-1z", BLUE, BLUE_DARK, extra=RJ),
                 path("M1.5 5.5h8a1 1 0 0 1 1 1V12a1 1 0 0 1-1 1H5l-2.5 2.5V13h-1a1 1 0 0 1-1-1V6.5a1 1 0 0 1 1-1z", PAPER, INK, extra=RJ),
                 rect(3, 8, 6, 1, LINE), rect(3, 10, 4, 1, LINE))
I["version-history"] = svg(*page(1.5), circle(11.5, 11.5, 4, PAPER, BLUE_DARK, 1.25),
                           path("M11.5 9.2v2.3h1.8", "none", INK, sw=1.2, extra=RC))
I["about"] = svg(rect(.5, .5, 15, 15, TEAL, TEAL_DARK, 'rx="3"'),
                 rect(7, 3, 2, 2, PAPER), path("M6 6.5h3v5.5h1.2v1.5H5.8V12H7V8H6z", PAPER))
I["log-info"] = svg(circle(8, 8, 7.25, BLUE, BLUE_DARK),
                    rect(7, 3, 2, 2, PAPER), path("M6 6.5h3v5.5h1.2v1.5H5.8V12H7V8H6z", PAPER))
I["log-ok"] = svg(circle(8, 8, 7.25, GREEN, GREEN_DARK),
                  path("M4.5 8.3l2.4 2.4 4.6-5", "none", PAPER, sw=2, extra=RC))
I["log-error"] = svg(circle(8, 8, 7.25, RED, RED_DARK),
                     path("M5.5 5.5l5 5M10.5 5.5l-5 5", "none", PAPER, sw=2, extra='stroke-linecap="round"'))

# notes editor
I["save"] = svg(*floppy_full())
I["cut"] = svg(path("M5 10L11.5.5M11 10L4.5.5", "none", "#6f7c8a", sw=1.5, extra='stroke-linecap="round"'),
               circle(4, 12.5, 2.5, PAPER, RED, 1.5), circle(12, 12.5, 2.5, PAPER, RED, 1.5),
               circle(8, 5.5, .7, INK))
I["copy"] = svg(*small_page(.5, .5)[:2], rect(2.5, 5.5, 4, 1, LINE),
                path("M6.5 4.5h5l3 3v8h-8z", PAPER, EDGE, extra=RJ),
                path("M11.5 4.5v3h3", FOLD, EDGE, extra=RJ),
                rect(8, 9, 5, 1, LINE), rect(8, 11, 5, 1, LINE), rect(8, 13, 3, 1, LINE))
I["paste"] = svg(path("M.5 2.5h11v13h-11z", WOOD, WOOD_DARK, extra=RJ),
                 rect(3.5, .5, 5, 3, "#b8c2cc", INK),
                 path("M5.5 5.5h6l3 3v7h-9z", PAPER, EDGE, extra=RJ),
                 path("M11.5 5.5v3h3", FOLD, EDGE, extra=RJ),
                 rect(7, 10, 5, 1, LINE), rect(7, 12, 5, 1, LINE))
_undo = [path("M5 5.5h5a4 4 0 0 1 0 8H6", "none", BLUE, sw=2, extra='stroke-linecap="round"'),
         path("M.5 5.5L5.5 1v9z", BLUE, BLUE_DARK, extra=RJ)]
I["undo"] = svg(*_undo)
I["redo"] = svg(g("matrix(-1 0 0 1 16 0)", *_undo))
I["bold"] = svg(path("M3 1.5h5.6c2.2 0 3.6 1.2 3.6 3 0 1.1-.6 2-1.6 2.5 1.5.4 2.4 1.6 2.4 3.1 0 2.1-1.6 3.4-4 3.4H3z"
                     "M5.8 3.8v3h2.6c1 0 1.6-.6 1.6-1.5s-.6-1.5-1.6-1.5z"
                     "M5.8 9v3.7h3c1.1 0 1.8-.7 1.8-1.85S9.9 9 8.8 9z", INK, extra='fill-rule="evenodd"'))
I["italic"] = svg(path("M6.5 1.5h7v2h-2.4l-2.6 9h2.4v2h-7v-2h2.4l2.6-9H6.5z", INK))
I["underline"] = svg(path("M4.5 1.5v6a3.5 3.5 0 0 0 7 0v-6", "none", INK, sw=2, extra='stroke-linecap="square"'),
                     rect(2, 13.5, 12, 2, BLUE))
I["align-left"] = svg(*lines([(1, 1, 14), (1, 5, 9), (1, 9, 14), (1, 13, 9)]))
I["align-center"] = svg(*lines([(1, 1, 14), (4, 5, 8), (1, 9, 14), (4, 13, 8)]))
I["align-right"] = svg(*lines([(1, 1, 14), (6, 5, 9), (1, 9, 14), (6, 13, 9)]))
I["align-justify"] = svg(*lines([(1, 1, 14), (1, 5, 14), (1, 9, 14), (1, 13, 14)]))
_ind_rows = [(1, 1, 14), (7, 5, 8), (7, 9, 8), (1, 13, 14)]
I["indent-more"] = svg(*lines(_ind_rows), path("M1.5 5l4 3-4 3z", BLUE, BLUE_DARK, extra=RJ))
I["indent-less"] = svg(*lines(_ind_rows), path("M5.5 5l-4 3 4 3z", BLUE, BLUE_DARK, extra=RJ))
I["font-colour"] = svg(letter_a(3, 1, 10, 10.5, 2), rect(1, 13, 14, 3, RED))
I["background-colour"] = svg(rect(.5, 12.5, 15, 3, YELLOW, YELLOW_DARK),
                             path("M10.5 .5l5 5-6 6-5-5z", "#6f7c8a", INK, extra=RJ),
                             path("M4.5 6.5l5 5-2 1H5.5l-2-2v-2z", YELLOW, YELLOW_DARK, extra=RJ),
                             path("M3.5 10.5l-2 2h3.5", YELLOW, YELLOW_DARK, extra=RJ))
I["paragraph-colour"] = svg(rect(.5, .5, 15, 15, "#a9d4f5", BLUE_DARK),
                            *lines([(3, 3, 10), (3, 7, 10), (3, 11, 6)]))
I["insert-picture"] = svg(rect(.5, 1.5, 15, 13, "#e3f1fc", INK),
                          path("M1 14l4.5-6 3 3.5 2-2 4.5 4.5z", GREEN, GREEN_DARK, extra=RJ),
                          circle(11.5, 5, 1.75, "#f5a623"))
I["select-all"] = svg(rect(.5, .5, 15, 15, "none", INK, 'stroke-dasharray="2 1"'),
                      rect(3, 3, 10, 10, BLUE_PALE),
                      *lines([(4, 4, 8), (4, 7, 8), (4, 10, 5)], BLUE_DARK))
I["close"] = svg(path("M4.5 4.5l7 7M11.5 4.5l-7 7", "none", "#6f7c8a", sw=2, extra='stroke-linecap="round"'))

# clean-files list
def checkrow(y, checked):
    p = [rect(.5, y + .5, 6, 6, PAPER, INK)]
    if checked:
        p.append(path(f"M2 {y+3.5}l1.5 1.6L6 {y+1.5}", "none", GREEN_DARK, sw=1.6, extra=RC))
    return p

I["check-all"] = svg(*checkrow(0, True), *checkrow(8, True), rect(9, 3, 6, 1, LINE), rect(9, 11, 6, 1, LINE))
I["uncheck-all"] = svg(*checkrow(0, False), *checkrow(8, False), rect(9, 3, 6, 1, LINE), rect(9, 11, 6, 1, LINE))
I["invert-checks"] = svg(*checkrow(0, True), *checkrow(8, False),
                         path("M12 1.5l3 3h-2v7h2l-3 3-3-3h2v-7H9z", BLUE, BLUE_DARK, extra=RJ))
I["clock"] = svg(circle(8, 8, 6.75, PAPER, BLUE_DARK, 1.5),
                 rect(7.5, 2.5, 1, 1.5, LINE), rect(7.5, 12, 1, 1.5, LINE), rect(2.5, 7.5, 1.5, 1, LINE), rect(12, 7.5, 1.5, 1, LINE),
                 path("M8 4.5V8h3", "none", INK, sw=1.5, extra=RC))
I["folder-browse"] = svg(*folder_closed(), rect(4, 10, 2, 2, INK), rect(7, 10, 2, 2, INK), rect(10, 10, 2, 2, INK))

os.makedirs(OUT, exist_ok=True)
for name, text in sorted(I.items()):
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(text)
print(len(I), "icons")
