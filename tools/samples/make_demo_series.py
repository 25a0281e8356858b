#!/usr/bin/env python3
# Generates the demo series server in demo/series/: what the series' web server
# holds beyond the chapters that ship with the program.
#
#   update.ini        the newest program version and the number of chapter files
#   files.ini         every chapter file with its asset folder and pictures, the
#                     shipped ones (read from data/Htm) first, then the new ones
#   htm/NNNN[-PP]     the new chapters, stored without extension as the server
#                     keeps them, and htm/NNNN[-PP]_soubory/ with their pictures;
#                     htm/0016 is the last shipped chapter again, now with a link
#                     to the next one
#   whats.new         the news of the new program version
#   user.nfo          the authors' message to the readers
#
# Text files are Windows-1250 with CR LF.  scripts/serve-demo.sh adds the shipped
# chapters, help.zip with the shipped help file and the freshly built program file
# when it serves the folder.
#
# Usage:  python3 tools/samples/make_demo_series.py [output folder]

import hashlib
import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import demo_texts  # noqa: E402
import lesson_texts  # noqa: E402
import make_samples  # noqa: E402

VERSION = (1, 0, 13, 600)
EOL = "\r\n"


def write_text(path, lines):
    with open(path, "wb") as f:
        f.write((EOL.join(lines) + EOL).encode("cp1250"))


def write_chapter(htm, ch, prev_name, next_name):
    name = ch["name"]
    assets = os.path.join(htm, name + "_soubory")
    os.makedirs(assets)
    sizes = {"logo.gif": make_samples.pic_logo(os.path.join(assets, "logo.gif"))}
    for fname, kind, params in ch["pictures"]:
        sizes[fname] = make_samples.PICTURE_KINDS[kind](os.path.join(assets, fname), **params)
    with open(os.path.join(htm, name), "wb") as f:
        f.write(make_samples.build_page(ch, prev_name, next_name, sizes))
    return ["logo.gif"] + [p[0] for p in ch["pictures"]]


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "demo", "series")
    shipped_dir = os.path.join(root, "data", "Htm")
    if os.path.isdir(out):
        shutil.rmtree(out)
    htm = os.path.join(out, "htm")
    os.makedirs(htm)

    # files.ini lists what the server offers, in the order of the local catalogue.
    entries = []
    for name in sorted(n for n in os.listdir(shipped_dir) if n.endswith(".htm")):
        base = name[:-4]
        assets = sorted(os.listdir(os.path.join(shipped_dir, base + "_soubory")))
        entries.append((name, base + "_soubory", assets))

    # The last shipped chapter gets its link to the first new one.
    last = lesson_texts.CHAPTERS[-1]
    new = demo_texts.CHAPTERS
    names = [c["name"] + ".htm" for c in new]
    sizes = {"logo.gif": (180, 44)}
    with tempfile.TemporaryDirectory() as scratch:
        # Only the sizes are wanted: the server keeps the shipped pictures.
        for fname, kind, params in last["pictures"]:
            sizes[fname] = make_samples.PICTURE_KINDS[kind](os.path.join(scratch, fname), **params)
    with open(os.path.join(htm, last["name"]), "wb") as f:
        prev = lesson_texts.CHAPTERS[-2]["name"] + ".htm"
        f.write(make_samples.build_page(last, prev, names[0], sizes))

    for i, ch in enumerate(new):
        prev_name = names[i - 1] if i > 0 else last["name"] + ".htm"
        next_name = names[i + 1] if i + 1 < len(new) else None
        assets = write_chapter(htm, ch, prev_name, next_name)
        entries.append((names[i], ch["name"] + "_soubory", assets))

    # The program never counts the first node of its catalogue as a local chapter
    # (a catalogue of 24 files counts 23, an empty one -1) and fetches from the
    # section after that count. So the first file of the series is section 0 and the
    # numbers of the others follow: a full catalogue then finds nothing new, and an
    # empty one fetches everything.
    # Each file comes with its size and SHA-256 (<key>_size, <key>_sha256), taken of
    # the bytes the server sends: demo/series' copy, else the shipped one.
    def served(rel, shipped_rel):
        own = os.path.join(htm, rel)
        return own if os.path.exists(own) else os.path.join(shipped_dir, shipped_rel)

    def checked(key, path):
        with open(path, "rb") as f:
            data = f.read()
        return ["%s_size=%d" % (key, len(data)), "%s_sha256=%s" % (key, hashlib.sha256(data).hexdigest())]

    ini = []
    for n, (name, folder, assets) in enumerate(entries, start=0):
        ini.append("[%d]" % n)
        ini.append("file=" + name)
        ini += checked("file", served(name[:-4], name))
        # The series' own list writes the folders with a trailing backslash.
        ini.append("dir=" + folder + "\\")
        for k, asset in enumerate(assets, start=1):
            ini.append("file%d=%s" % (k, asset))
            ini += checked("file%d" % k, served(os.path.join(folder, asset), os.path.join(folder, asset)))
        ini.append("")
    write_text(os.path.join(out, "files.ini"), ini[:-1])

    write_text(os.path.join(out, "update.ini"), [
        "[last_version]",
        "major=%d" % VERSION[0],
        "minor=%d" % VERSION[1],
        "release=%d" % VERSION[2],
        "build=%d" % VERSION[3],
        "",
        "[last_file_index]",
        "value=%d" % (len(entries) - 1),
    ])

    write_text(os.path.join(out, "whats.new"), [
        "Verze %d.%d.%d.%d" % VERSION,
        "",
        "- Aktualizace stahuje nové díly druhé řady seriálu.",
        "- Odkazy v informacích pro uživatele se otevírají jedním kliknutím.",
        "- Opravena chyba, kdy se po změně adresáře se soubory neobnovil seznam pro hledání.",
    ])

    write_text(os.path.join(out, "user.nfo"), [
        "Vítejte u druhé řady seriálu Programujeme v Pythonu!",
        "",
        "Nové díly vycházejí každé pondělí na www.kodovna.example/serialy/python/.",
        "Dotazy a připomínky posílejte na redakce@kodovna.example",
        "nebo je pište do fóra http://forum.kodovna.example/python/.",
    ])

    for name, folder, assets in entries[len(entries) - len(new):]:
        print("%-12s %s" % (name, ", ".join(assets)))
    print("files.ini: %d chapter files" % len(entries))


if __name__ == "__main__":
    main()
