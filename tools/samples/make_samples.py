#!/usr/bin/env python3
# Generates the sample chapters that ship with Tavio in data/Htm/.
#
# The chapters are "print version" pages of an (invented) beginner course
# "Programujeme v Pythonu" from the (invented) web magazine Kódovna.  The
# lesson texts live in lesson_texts.py as UTF-8 in a small markup (see
# render_body below); this script wraps them in the magazine's page frame,
# encodes them as Windows-1250 and draws the pictures of each chapter into its
# asset folder "<name>_soubory" with ImageMagick's `convert`.
#
# The pages deliberately carry what the program has to cope with:
#   * title headings in several forms (hyphen, en dash, no blank after the
#     dash, a heading split over two lines, "&amp;" in the title, lower-case
#     tags, an "<H2 class=...>" line before the real heading),
#   * auto-print body tags and upper-case <SCRIPT> blocks for the clean-files
#     tool, and one lower-case <script> block that the tool must leave alone,
#   * CR LF line ends, except in the files marked lf=True,
#   * relative links to the neighbouring chapters, links to the web.
#
# Usage:  python3 tools/samples/make_samples.py [output folder]
# The default output folder is data/Htm beside this script's repository root.
# The script removes and recreates the chapter files and asset folders it
# owns (names NNNN.htm / NNNN-PP.htm and their _soubory folders) and nothing
# else.  tools/samples/check_samples.py verifies the result.

import os
import re
import shutil
import subprocess
import sys
import textwrap

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lesson_texts  # noqa: E402

SITE = "http://www.kodovna.example"
FORUM = "http://forum.kodovna.example"
COUNTER = "http://pocitadlo.kodovna.example"
MAGAZINE = "Kódovna"
SERIES = "Programujeme v Pythonu"
AUTHOR = "Vítězslav Pelikánek"

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT = FONT_DIR + "DejaVuSans.ttf"
FONT_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
FONT_MONO = FONT_DIR + "DejaVuSansMono.ttf"

CHAPTER_NAME = re.compile(r"^\d{4}(-\d{2})?\.htm$")
ASSET_DIR = re.compile(r"^\d{4}(-\d{2})?_soubory$")


# --------------------------------------------------------------------------
# Pictures
# --------------------------------------------------------------------------

def _font(path):
    return path if os.path.exists(path) else "DejaVu-Sans"


def _im_text(text):
    # -annotate expands % escapes and backslashes
    return text.replace("\\", "\\\\").replace("%", "%%")


def _convert(args, out):
    fmt = os.path.splitext(out)[1].lower()
    tail = ["+dither", "-strip", "-define", "png:exclude-chunks=date,time"]
    if fmt == ".gif":
        tail += ["-colors", "32"]
    elif fmt == ".png":
        tail += ["-colors", "48"]
        out = "png8:" + out
    elif fmt == ".jpg":
        tail += ["-quality", "78", "-sampling-factor", "2x2"]
    subprocess.run(["convert"] + args + tail + [out], check=True)


def _text(x, y, text, size=12, color="black", font=FONT):
    return ["-font", _font(font), "-pointsize", str(size), "-fill", color,
            "-stroke", "none", "-annotate", "+%d+%d" % (x, y), _im_text(text)]


def _shape(draw, fill="white", stroke="black", width=1):
    return ["-fill", fill, "-stroke", stroke, "-strokewidth", str(width),
            "-draw", draw]


def _arrow(x1, y1, x2, y2):
    """A line with a small head at (x2, y2); horizontal or vertical only."""
    args = _shape("line %d,%d %d,%d" % (x1, y1, x2, y2), "none", "#333333", 2)
    if x1 == x2:
        d = 1 if y2 > y1 else -1
        head = "%d,%d %d,%d %d,%d" % (x2, y2, x2 - 5, y2 - 8 * d, x2 + 5, y2 - 8 * d)
    else:
        d = 1 if x2 > x1 else -1
        head = "%d,%d %d,%d %d,%d" % (x2, y2, x2 - 8 * d, y2 - 5, x2 - 8 * d, y2 + 5)
    return args + _shape("polygon " + head, "#333333", "#333333", 1)


def pic_logo(out):
    args = ["-size", "180x44", "xc:#1F3A68"]
    args += _shape("rectangle 0,36 180,44", "#F0A020", "none", 0)
    args += _text(10, 27, "KÓDOVNA", 22, "white", FONT_BOLD)
    args += _text(137, 31, "magazín", 9, "#F0C060")
    _convert(args, out)
    return 180, 44


def pic_console(out, title, lines):
    w = 460
    h = 40 + 16 * len(lines)
    args = ["-size", "%dx%d" % (w, h), "xc:#C0C0C0"]
    args += _shape("rectangle 2,2 %d,22" % (w - 3), "#0A246A", "none", 0)
    args += _text(8, 17, title, 11, "white", FONT_BOLD)
    args += _shape("rectangle %d,5 %d,19" % (w - 20, w - 6), "#D4D0C8", "#404040")
    args += _text(w - 17, 17, "x", 11, "black", FONT_BOLD)
    args += _shape("rectangle 4,25 %d,%d" % (w - 5, h - 5), "black", "#808080")
    for i, line in enumerate(lines):
        args += _text(10, 40 + 16 * i, line, 11, "#D8D8D8", FONT_MONO)
    _convert(args, out)
    return w, h


def pic_flow(out, nodes, loop=False, sides=(), swap=False):
    """nodes: list of (kind, text); kind is 'oval', 'box', 'io' or 'if'.
    sides: (index of an 'if' node, text of the box on its right branch);
    the right branch is "ne" (no), or "ano" (yes) when swap is set."""
    w = 440 if sides else 300
    step = 62
    h = 20 + step * len(nodes)
    cx = 150
    down, right = ("ne", "ano") if swap else ("ano", "ne")
    args = ["-size", "%dx%d" % (w, h), "xc:white"]
    for i, (kind, text) in enumerate(nodes):
        top = 14 + step * i
        if kind == "oval":
            args += _shape("roundrectangle %d,%d %d,%d 18,18" % (cx - 60, top, cx + 60, top + 36), "#E6F0FF", "#1F3A68", 2)
        elif kind == "if":
            args += _shape("polygon %d,%d %d,%d %d,%d %d,%d" % (cx, top - 4, cx + 95, top + 18, cx, top + 40, cx - 95, top + 18), "#FFF4D0", "#A07000", 2)
        elif kind == "io":
            args += _shape("polygon %d,%d %d,%d %d,%d %d,%d" % (cx - 80, top, cx + 95, top, cx + 80, top + 36, cx - 95, top + 36), "#E8FFE8", "#207020", 2)
        else:
            args += _shape("rectangle %d,%d %d,%d" % (cx - 90, top, cx + 90, top + 36), "#F4F4F4", "#333333", 2)
        tw = int(len(text) * 6.3)
        args += _text(cx - tw // 2, top + 23, text, 11)
        if i + 1 < len(nodes):
            args += _arrow(cx, top + (40 if kind == "if" else 36), cx, top + step)
            if kind == "if":
                args += _text(cx + 6, top + 56, down, 10, "#207020" if down == "ano" else "#B02020")
    for idx, text in sides:
        top = 14 + step * idx
        args += _arrow(cx + 95, top + 18, cx + 140, top + 18)
        args += _text(cx + 100, top + 12, right, 10, "#207020" if right == "ano" else "#B02020")
        args += _shape("rectangle %d,%d %d,%d" % (cx + 140, top, cx + 285, top + 36), "#F4F4F4", "#333333", 2)
        args += _text(cx + 148, top + 23, text, 11)
    if loop:
        # from the last node back to the condition (the second node)
        last = 14 + step * (len(nodes) - 1) + 18
        first = 14 + step + 18
        args += _shape("polyline %d,%d %d,%d %d,%d" % (cx - 90, last, cx - 130, last, cx - 130, first), "none", "#333333", 2)
        args += _arrow(cx - 130, first, cx - 96, first)
    _convert(args, out)
    return w, h


def pic_cells(out, title, cells, indexes=None):
    """A row of memory cells: cells is a list of (label above, value inside)."""
    cw = 74
    w = 30 + cw * len(cells)
    h = 118 if indexes else 100
    args = ["-size", "%dx%d" % (w, h), "xc:white"]
    args += _text(12, 18, title, 12, "#1F3A68", FONT_BOLD)
    for i, (label, value) in enumerate(cells):
        x = 15 + cw * i
        args += _text(x + 4, 42, label, 11, "#555555")
        args += _shape("rectangle %d,50 %d,86" % (x, x + cw - 6), "#E6F0FF", "#1F3A68", 2)
        args += _text(x + 8, 74, value, 12, "black", FONT_MONO)
        if indexes:
            args += _text(x + (cw - 6) // 2 - 4, 106, str(indexes[i]), 11, "#B02020", FONT_MONO)
    _convert(args, out)
    return w, h


def pic_window(out, title, rows):
    """A form window; rows are ('label', text), ('entry', text), ('button', text),
    ('check', text), ('list', [items]), ('display', text) or ('keys', text)
    (one button per character)."""
    w = 340
    y = 40
    body = []
    for kind, value in rows:
        if kind == "label":
            body += _text(16, y + 14, value, 11)
            y += 24
        elif kind == "entry":
            body += _shape("rectangle 16,%d 310,%d" % (y, y + 22), "white", "#808080")
            body += _text(22, y + 16, value, 11, "black", FONT_MONO)
            y += 32
        elif kind == "display":
            body += _shape("rectangle 16,%d 310,%d" % (y, y + 26), "white", "#808080")
            body += _text(300 - int(len(value) * 9.7), y + 19, value, 14, "black", FONT_MONO)
            y += 36
        elif kind == "keys":
            for i, key in enumerate(value):
                x = 16 + 75 * i
                body += _shape("rectangle %d,%d %d,%d" % (x, y, x + 69, y + 28), "#D4D0C8", "#404040")
                body += _text(x + 30, y + 19, key, 12, "black", FONT_BOLD)
            y += 34
        elif kind == "check":
            body += _shape("rectangle 16,%d 28,%d" % (y + 2, y + 14), "white", "#404040")
            body += _text(20, y + 13, "x", 10, "black", FONT_BOLD)
            body += _text(36, y + 13, value, 11)
            y += 24
        elif kind == "list":
            body += _shape("rectangle 16,%d 310,%d" % (y, y + 16 * len(value) + 6), "white", "#808080")
            for i, item in enumerate(value):
                body += _text(22, y + 15 + 16 * i, item, 11)
            y += 16 * len(value) + 16
        else:
            bw = int(len(value) * 7.5) + 24
            body += _shape("rectangle 16,%d %d,%d" % (y, 16 + bw, y + 26), "#D4D0C8", "#404040")
            body += _text(28, y + 18, value, 11)
            y += 36
    h = y + 10
    args = ["-size", "%dx%d" % (w, h), "xc:#D4D0C8"]
    args += _shape("rectangle 0,0 %d,%d" % (w - 1, h - 1), "none", "#404040")
    args += _shape("rectangle 2,2 %d,24" % (w - 3), "#0A246A", "none", 0)
    args += _text(8, 18, title, 11, "white", FONT_BOLD)
    args += _shape("rectangle %d,5 %d,20" % (w - 22, w - 7), "#D4D0C8", "#404040")
    args += _text(w - 19, 18, "x", 11, "black", FONT_BOLD)
    _convert(args + body, out)
    return w, h


def pic_table(out, header, rows):
    cols = len(header)
    widths = [max(len(str(r[c])) for r in [header] + rows) * 8 + 16 for c in range(cols)]
    w = sum(widths) + 2
    h = 24 * (len(rows) + 1) + 2
    args = ["-size", "%dx%d" % (w, h), "xc:white"]
    args += _shape("rectangle 0,0 %d,23" % (w - 1), "#1F3A68", "none", 0)
    for r, row in enumerate([header] + rows):
        x = 0
        for c, cell in enumerate(row):
            args += _shape("rectangle %d,%d %d,%d" % (x, 24 * r, x + widths[c], 24 * r + 24), "none", "#808080")
            color = "white" if r == 0 else "black"
            font = FONT_BOLD if r == 0 else FONT_MONO
            args += _text(x + 8, 24 * r + 17, str(cell), 11, color, font)
            x += widths[c]
    _convert(args, out)
    return w, h


PICTURE_KINDS = {
    "console": pic_console,
    "flow": pic_flow,
    "cells": pic_cells,
    "window": pic_window,
    "table": pic_table,
}


# --------------------------------------------------------------------------
# Text markup
# --------------------------------------------------------------------------

def escape_code(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quot;"))


def _inline(text):
    return re.sub(r"`([^`]+)`", lambda m: "<code>%s</code>" % escape_code(m.group(1)), text)


def _wrap(text, width=110):
    return textwrap.wrap(text, width, break_long_words=False, break_on_hyphens=False)


def render_body(markup, name, sizes):
    """Turns lesson markup into HTML lines.

    Blocks are separated by blank lines:
      = text          a <h3> heading
      ```             a code sample up to the next ``` line (escaped into <pre>)
      * text          list items (one per line)
      ! text          a framed tip; an upper-case label before ":" is bold
      [[file|text]]   a picture of this chapter with its caption
      <...            raw HTML, copied as it is
      anything else   a paragraph; `code` becomes <code> with entities
    """
    out = []
    lines = textwrap.dedent(markup).strip("\n").split("\n")
    i = 0
    figure = 0
    while i < len(lines):
        line = lines[i]
        if not line.strip():
            i += 1
            continue
        if line.startswith("```"):
            j = i + 1
            code = []
            while not lines[j].startswith("```"):
                code.append(lines[j])
                j += 1
            out.append("<pre>" + escape_code(code[0]))
            out.extend(escape_code(c) for c in code[1:])
            out[-1] += "</pre>"
            i = j + 1
            continue
        block = []
        while i < len(lines) and lines[i].strip() and not lines[i].startswith("```"):
            block.append(lines[i])
            i += 1
        first = block[0]
        if first.startswith("= "):
            out.append("<h3>%s</h3>" % _inline(" ".join(block)[2:]))
        elif first.startswith("* "):
            out.append("<ul>")
            items = []
            for b in block:
                if b.startswith("* "):
                    items.append(b[2:])
                else:
                    items[-1] += " " + b.strip()
            for item in items:
                wrapped = _wrap("<li>%s</li>" % _inline(item))
                out.extend(wrapped)
            out.append("</ul>")
        elif first.startswith("! "):
            out.append('<table width="100%" border="0" cellpadding="6" cellspacing="0"><tr><td bgcolor="#FFF4D0">')
            tip = _inline(" ".join(b.strip() for b in block)[2:])
            label, colon, rest = tip.partition(":")
            if colon and label == label.upper() and len(label) < 30:
                tip = "<b>%s:</b>%s" % (label, rest)
            out.extend(_wrap(tip))
            out.append("</td></tr></table>")
        elif first.startswith("[["):
            for b in block:
                fname, caption = b.strip()[2:-2].split("|", 1)
                figure += 1
                w, h = sizes[fname]
                out.append('<p align="center"><img src="%s_soubory/%s" width="%d" height="%d" border="0" alt="%s"><br>'
                           % (name, fname, w, h, escape_code(caption)))
                out.append("<i>Obr. %d: %s</i></p>" % (figure, caption))
        elif first.startswith("<"):
            out.extend(block)
        else:
            out.extend(_wrap("<p>%s</p>" % _inline(" ".join(b.strip() for b in block))))
    return out


# --------------------------------------------------------------------------
# Page frame
# --------------------------------------------------------------------------

STYLE = """<style type="text/css">
<!--
body { font-family: Verdana, Arial, Helvetica, sans-serif; font-size: 10pt; margin: 12px; }
h2 { font-size: 16pt; color: #1F3A68; margin-bottom: 4px; }
h3 { font-size: 12pt; color: #1F3A68; margin-top: 18px; }
pre { font-family: "Courier New", Courier, monospace; font-size: 9pt; background-color: #F4F4F4;
      border: 1px solid #C0C0C0; padding: 6px; }
code { font-family: "Courier New", Courier, monospace; color: #003366; }
.info { font-size: 8pt; color: #606060; }
.perex { font-weight: bold; }
.navigace { font-size: 9pt; text-align: center; }
.paticka { font-size: 8pt; color: #808080; }
-->
</style>"""

HEAD_SCRIPT = """<SCRIPT LANGUAGE="JavaScript" TYPE="text/javascript">
<!--
var adresaClanku = "%(url)s";
function zpetNaClanek() {
  window.location.href = adresaClanku;
}
function nastavStatus() {
  window.status = "%(magazine)s - tisková verze";
  return true;
}
//-->
</SCRIPT>"""

AD_SCRIPT = """<SCRIPT LANGUAGE="JavaScript" TYPE="text/javascript">
<!--
var nahoda = Math.round(Math.random() * 1000000);
document.write('<a href="http://reklama.kodovna.example/klik.php?pozice=tisk&amp;n=' + nahoda + '">');
document.write('<img src="http://reklama.kodovna.example/banner.php?pozice=tisk&amp;n=' + nahoda + '" width="468" height="60" border="0" alt="Reklama"></a>');
//--></SCRIPT>"""


def counter_script(article_id):
    return [
        '<SCRIPT LANGUAGE="JavaScript" SRC="%s/pocitadlo.js?clanek=%d"></SCRIPT>' % (COUNTER, article_id),
        '<NOSCRIPT><img src="%s/pocitadlo.gif?clanek=%d" width="1" height="1" border="0" alt=""></NOSCRIPT>' % (COUNTER, article_id),
    ]


NORMAL_BODY = '<body bgcolor="#FFFFFF" text="#000000" link="#003399" vlink="#663399">'


def nav_line(prev_name, next_name):
    parts = []
    if prev_name:
        parts.append('<a href="%s">&laquo; Předchozí díl</a>' % prev_name)
    parts.append('<a href="%s/serialy/python/">Obsah seriálu</a>' % SITE)
    if next_name:
        parts.append('<a href="%s">Následující díl &raquo;</a>' % next_name)
    return '<p class="navigace">' + " | ".join(parts) + "</p>"


def build_page(ch, prev_name, next_name, sizes):
    name = ch["name"]
    url = "%s/clanky/%d/" % (SITE, ch["id"])
    lines = [
        "<html>",
        "<head>",
        '<meta http-equiv="Content-Type" content="text/html; charset=windows-1250">',
        '<meta name="author" content="%s">' % AUTHOR,
        '<meta name="keywords" content="Python, programování, seriál, %s">' % ch["keywords"],
        "<title>%s - %s: %s</title>" % (MAGAZINE, SERIES, ch["title"]),
        '<link rel="stylesheet" type="text/css" href="%s/styly/tisk.css">' % SITE,
    ]
    lines += STYLE.split("\n")
    if ch.get("head_script"):
        lines += (HEAD_SCRIPT % {"url": url, "magazine": MAGAZINE}).split("\n")
    lines.append("</head>")
    lines.append(ch.get("body_tag", NORMAL_BODY))
    if ch.get("counter"):
        lines += counter_script(ch["id"])
    lines += [
        '<table width="100%" border="0" cellspacing="0" cellpadding="2"><tr>',
        '<td><a href="%s/"><img src="%s_soubory/logo.gif" width="180" height="44" border="0" alt="%s"></a></td>'
        % (SITE, name, MAGAZINE),
        '<td align="right" class="info">Tisková verze článku<br><a href="%s">%s</a></td>' % (url, url),
        "</tr></table>",
    ]
    if ch.get("ad"):
        lines += ['<p align="center">'] + AD_SCRIPT.split("\n") + ["</p>"]
    if ch.get("section_heading"):
        lines.append('<H2 class="rubrika">Seriál: %s</H2>' % SERIES)
    lines += [
        '<p class="info">Autor: <a href="mailto:vitezslav.pelikanek@kodovna.example">%s</a> | Publikováno: %s | '
        'Rubrika: <a href="%s/rubriky/programovani/">Programování</a></p>' % (AUTHOR, ch["date"], SITE),
        '<hr size="1" noshade>',
    ]
    lines += ch["heading"]
    lines += _wrap('<p class="perex">%s</p>' % _inline(ch["perex"]))
    lines += render_body(ch["body"], name, sizes)
    lines += [
        '<hr size="1" noshade>',
        nav_line(prev_name, next_name),
        '<p class="paticka">&copy; 2009 %s &ndash; magazín o programování. Všechna práva vyhrazena. Článek najdete na adrese '
        '<a href="%s">%s</a>,<br>' % (MAGAZINE, url, url),
        'diskusi k seriálu vedeme ve <a href="%s/python/">fóru čtenářů</a>. Přetiskování a další šíření jen se souhlasem redakce.</p>'
        % FORUM,
        "</body>",
        "</html>",
    ]
    for l in lines:
        if l != l.rstrip():
            raise ValueError("%s: trailing blank in %r" % (name, l))
    eol = "\n" if ch.get("lf") else "\r\n"
    return (eol.join(lines) + eol).encode("cp1250")


# --------------------------------------------------------------------------

def clean_output(folder):
    for entry in os.listdir(folder):
        path = os.path.join(folder, entry)
        if os.path.isfile(path) and CHAPTER_NAME.match(entry):
            os.remove(path)
        elif os.path.isdir(path) and ASSET_DIR.match(entry):
            shutil.rmtree(path)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "Htm")
    os.makedirs(folder, exist_ok=True)
    clean_output(folder)
    chapters = lesson_texts.CHAPTERS
    names = [ch["name"] + ".htm" for ch in chapters]
    if names != sorted(names):
        raise ValueError("chapters are not in file name order")
    for i, ch in enumerate(chapters):
        name = ch["name"]
        assets = os.path.join(folder, name + "_soubory")
        os.makedirs(assets)
        sizes = {"logo.gif": pic_logo(os.path.join(assets, "logo.gif"))}
        for fname, kind, params in ch["pictures"]:
            sizes[fname] = PICTURE_KINDS[kind](os.path.join(assets, fname), **params)
        prev_name = names[i - 1] if i > 0 else None
        next_name = names[i + 1] if i + 1 < len(names) else None
        data = build_page(ch, prev_name, next_name, sizes)
        with open(os.path.join(folder, names[i]), "wb") as f:
            f.write(data)
        print("%-12s %6d bytes  %s" % (names[i], len(data), ch["title"]))


if __name__ == "__main__":
    main()
