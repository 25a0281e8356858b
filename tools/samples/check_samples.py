#!/usr/bin/env python3
# Checks the sample chapters in data/Htm/ (or the folder given as argument):
# names and numbering, Windows-1250 text, the chapter titles as the reader
# derives them, asset folders and pictures, links, the auto-print and script
# lines the clean-files tool removes, line ends and sizes.
# Prints one line per problem and exits with status 1 when there is any.

import os
import re
import sys

# title as read from the first "<H2>" line, and the catalogue caption
EXPECTED = {
    "0001.htm": (" Úvod do programování", "0001.htm [ Úvod do programování ]"),
    "0002-01.htm": (" Instalace Pythonu", "0002-01.htm [ Instalace Pythonu ]"),
    "0002-02.htm": (" První program", "0002-02.htm [ První program ]"),
    "0002-03.htm": (" Interaktivní režim", "0002-03.htm [ Interaktivní režim ]"),
    "0003.htm": ("Proměnné", "0003.htm [Proměnné ]"),
    "0004-01.htm": (" Čísla a operátory", "0004-01.htm [ Čísla a operátory ]"),
    "0004-02.htm": (" Pravdivostní hodnoty a porovnávání", "0004-02.htm [ Pravdivostní hodnoty a porovnávání ]"),
    "0005.htm": (" Podmínky", "0005.htm [ Podmínky ]"),
    "0006.htm": (" Vícenásobné větvení", "0006.htm [ Vícenásobné větvení ]"),
    "0007-01.htm": (" Cyklus while", "0007-01.htm [ Cyklus while ]"),
    "0007-02.htm": (" Cyklus for", "0007-02.htm [ Cyklus for ]"),
    "0008.htm": (" Funkce", "0008.htm [ Funkce ]"),
    "0009-01.htm": (" Seznamy", "0009-01.htm [ Seznamy ]"),
    "0009-02.htm": (" N-tice a slovníky", "0009-02.htm [ N-tice a slovníky ]"),
    "0010.htm": (" Vstup &amp; výstup", "0010.htm [ Vstup & výstup ]"),
    "0011.htm": ("Řetězce", "0011.htm [Řetězce ]"),
    "0012-01.htm": (" Objekty a třídy", "0012-01.htm [ Objekty a třídy ]"),
    "0012-02.htm": (" Metody &amp; atributy", "0012-02.htm [ Metody &amp; atributy ]"),
    "0012-03.htm": (" Dědičnost", "0012-03.htm [ Dědičnost ]"),
    "0013.htm": (" Práce se soubory", "0013.htm [ Práce se soubory ]"),
    "0014-01.htm": (" Formuláře", "0014-01.htm [ Formuláře ]"),
    "0014-02.htm": ("Ovládací prvky formuláře", "0014-02.htm [Ovládací prvky formuláře ]"),
    "0015.htm": (" Události", "0015.htm [ Události ]"),
    "0016.htm": (" Závěrečný projekt: kalkulačka", "0016.htm [ Závěrečný projekt: kalkulačka ]"),
}
LF_ONLY = {"0005.htm", "0012-02.htm"}
BIG_FILE = "0011.htm"
PRINT_TAGS = ("<BODY ONLOAD=WINDOW.PRINT()>", '<BODY ONLOAD="WINDOW.PRINT()">')
MAGAZINE = "http://www.kodovna.example/"
NAME = re.compile(r"^(\d{4})(?:-(\d{2}))?\.htm$")

problems = []


def problem(text):
    problems.append(text)


def split_lines(text):
    lines = re.split(r"\r\n|\r|\n", text)
    return lines[:-1] if lines[-1] == "" else lines


def read_title(lines):
    """The chapter title taken from the first line that begins with <H2>."""
    for n, line in enumerate(lines):
        if line[:4].upper() == "<H2>":
            break
    else:
        return ""
    dash = dash_at(line)
    if line.endswith(">"):
        end = line.rfind("<")
        title = line[dash + 1:end] if dash >= 0 else line[:end]
    else:
        title = line[dash + 1:] if dash >= 0 else line
        if n + 1 < len(lines):
            title += lines[n + 1].strip()[:-5]
    return title[:1].upper() + title[1:]


def dash_at(line):
    return line.find("-") if "-" in line else line.find("\u2013")


def caption(name, title):
    if "-" in name:
        return name + " [" + title + " ]"
    return name + " [" + (title + " ]").replace("&amp;", "&")


def ascii_upper(text):
    return "".join(c.upper() if c.isascii() else c for c in text)


def clean(lines):
    """What the clean-files tool leaves of a file:
    (kept lines, dropped script lines, number of print tags removed)."""
    kept = [l for l in lines if not any(t in ascii_upper(l.strip()) for t in PRINT_TAGS)]
    tags = len(lines) - len(kept)
    out, dropped, inside = [], [], False
    for line in kept:
        if "<SCRIPT" in line:
            inside = True
        if "</SCRIPT>" in line:
            inside = False
            dropped.append(line)
        elif not inside:
            out.append(line)
        else:
            dropped.append(line)
    return out, dropped, tags


def chapter_file(folder, number, part=None):
    name = "%04d" % number + ("" if part is None else "-%02d" % part) + ".htm"
    return name if os.path.isfile(os.path.join(folder, name)) else None


def next_chapter(folder, name):
    m = NAME.match(name)
    n = int(m.group(1))
    if m.group(2):
        found = chapter_file(folder, n, int(m.group(2)) + 1)
        if found:
            return found
    return chapter_file(folder, n + 1) or chapter_file(folder, n + 1, 1)


def previous_chapter(folder, name):
    m = NAME.match(name)
    n = int(m.group(1))
    if m.group(2) and int(m.group(2)) >= 2:
        return chapter_file(folder, n, int(m.group(2)) - 1)
    found = chapter_file(folder, n - 1)
    if found or n - 1 <= 0:
        return found
    for part in range(10, 0, -1):
        found = chapter_file(folder, n - 1, part)
        if found:
            return found
    return None


def check_file(folder, name, data):
    if not 5 * 1024 <= len(data) <= (70 if name == BIG_FILE else 40) * 1024:
        problem("%s: size %d bytes" % (name, len(data)))
    try:
        data.decode("utf-8")
        problem("%s: decodes as UTF-8" % name)
    except UnicodeDecodeError:
        pass
    text = data.decode("cp1250", errors="strict")
    bare_lf = len(re.findall(rb"(?<!\r)\n", data))
    crlf = data.count(b"\r\n")
    if name in LF_ONLY and (crlf or not bare_lf):
        problem("%s: should have LF line ends only" % name)
    if name not in LF_ONLY and (bare_lf or not crlf):
        problem("%s: should have CR LF line ends only" % name)
    lines = split_lines(text)
    for tag in ("<html>", "<head>", 'charset=windows-1250">', "<title>", "</head>", "</body>", "</html>"):
        if tag not in text:
            problem("%s: %s missing" % (name, tag))
    if not any(l.strip().lower().startswith("<body") for l in lines):
        problem("%s: no body tag" % name)

    title = read_title(lines)
    want = EXPECTED.get(name)
    if want and (title, caption(name, title)) != want:
        problem("%s: title %r caption %r" % (name, title, caption(name, title)))

    assets = os.path.join(folder, name[:-4] + "_soubory")
    pictures = sorted(os.listdir(assets)) if os.path.isdir(assets) else []
    if not 1 <= len(pictures) <= 3:
        problem("%s: %d pictures in its asset folder" % (name, len(pictures)))
    sources = re.findall(r'<img src="([^":]+)"', text)
    for src in sources:
        if not os.path.isfile(os.path.join(folder, src)):
            problem("%s: missing picture %s" % (name, src))
    for pic in pictures:
        if name[:-4] + "_soubory/" + pic not in sources:
            problem("%s: picture %s not used" % (name, pic))

    links = re.findall(r'href="([^"]+)"', text)
    if MAGAZINE not in links:
        problem("%s: no link to the magazine" % name)
    for link in links:
        if link.endswith(".htm") and ":" not in link and not os.path.isfile(os.path.join(folder, link)):
            problem("%s: broken link %s" % (name, link))
    if not any(l.endswith(".htm") and ":" not in l for l in links):
        problem("%s: no link to another chapter" % name)

    cleaned, dropped, tags = clean(lines)
    markup = re.compile(r"</?(head|body|html|h2|p|table|td|tr)\b", re.I)
    if (cleaned[-2:] != ["</body>", "</html>"] or read_title(cleaned) != title
            or any(markup.search(l) for l in dropped)):
        problem("%s: cleaning would damage the page" % name)
    return tags, bool(dropped), any("<script" in l for l in cleaned)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "Htm")
    names = sorted(n for n in os.listdir(folder) if n.endswith(".htm"))
    for n in names:
        if not NAME.match(n):
            problem("%s: not a chapter file name" % n)
    if set(names) != set(EXPECTED):
        problem("files differ from the expected set: %s" % sorted(set(names) ^ set(EXPECTED)))
    for entry in os.listdir(folder):
        if entry.endswith("_soubory") and entry[:-8] + ".htm" not in names:
            problem("%s: asset folder without its chapter" % entry)

    # previous/next navigation walks the whole series in both directions
    walk = [names[0]]
    while next_chapter(folder, walk[-1]):
        walk.append(next_chapter(folder, walk[-1]))
    back = [names[-1]]
    while previous_chapter(folder, back[-1]):
        back.append(previous_chapter(folder, back[-1]))
    if walk != names or back[::-1] != names:
        problem("navigation does not walk the series: %s / %s" % (walk, back[::-1]))
    parts = {}
    for n in names:
        parts.setdefault(n[:4], []).append(n)
    if sum(len(p) > 1 for p in parts.values()) < 4:
        problem("fewer than four multi-part chapters")

    printing = scripts = lower_scripts = 0
    for n in names:
        with open(os.path.join(folder, n), "rb") as f:
            t, s, low = check_file(folder, n, f.read())
        printing += t > 0
        scripts += s
        lower_scripts += low
    if printing < 4 or scripts < 4 or lower_scripts < 1:
        problem("print tags in %d files, script blocks in %d, lower-case scripts in %d"
                % (printing, scripts, lower_scripts))

    heads = []
    for n in names:
        with open(os.path.join(folder, n), "rb") as f:
            heads += [l for l in split_lines(f.read().decode("cp1250")) if l[:4].upper() == "<H2>"]
    forms = {
        "hyphen": any(" - " in h for h in heads),
        "en dash": any("\u2013" in h and "-" not in h for h in heads),
        "no blank after the dash": any(h[dash_at(h) + 1] != " " for h in heads),
        "split heading": any(not h.endswith(">") for h in heads),
        "lower-case tag": any(h.startswith("<h2>") for h in heads),
        "&amp;": sum("&amp;" in h for h in heads) >= 2,
    }
    for form, present in forms.items():
        if not present:
            problem("heading form missing: " + form)

    for p in problems:
        print(p)
    print("%d chapter files, %d problems" % (len(names), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
