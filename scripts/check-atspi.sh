#!/usr/bin/env bash
# What a screen reader sees of the main window: runs the program under a virtual
# display with the accessibility bus on, walks its tree over AT-SPI and fails when a
# control that takes the focus has no name, or when the page tabs are not there.
# Needs xvfb, dbus, at-spi2-core and python3-pyatspi (scripts/install-deps.sh), with
# the system's own Python, where that package installs.
# Run: scripts/check-atspi.sh [path/to/tavio]     (default build/app/tavio)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-$here/build/app/tavio}"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }
for tool in xvfb-run dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh)" >&2; exit 2; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing python3-pyatspi (scripts/install-deps.sh)" >&2; exit 2; }

world="$(mktemp -d)"
trap 'rm -rf "$world"' EXIT
mkdir -p "$world/home" "$world/run"
chmod 700 "$world/run"

cat > "$world/walk.py" <<'PY'
import sys, time
import pyatspi

def find_app(name, seconds=40):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name.lower() and app.childCount > 0:
                frame = app[0]
                # The window is there once its pages are.
                if frame is not None and frame.childCount > 0:
                    return app
        time.sleep(0.5)
    return None

def walk(node, depth, out):
    try:
        state = node.getState()
        role = node.getRoleName()
        name = node.name or ""
    except Exception:
        return
    if not state.contains(pyatspi.STATE_SHOWING):
        return
    out.append((depth, role, name, state.contains(pyatspi.STATE_FOCUSABLE)))
    # Rows of trees and lists are the program's data: the first few tell enough.
    limit = 5 if role in ("tree", "tree table", "list", "table") else node.childCount
    for i in range(min(node.childCount, limit)):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)

app = find_app(sys.argv[1])
if app is None:
    seen = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
    print("FAIL: the program did not appear on the accessibility bus (there: %s)" % seen)
    sys.exit(1)
out = []
walk(app[0], 0, out)
unnamed = 0
for depth, role, name, focusable in out:
    mark = ""
    if role == "page tab" and not name.strip():
        # The chapter's tab before a chapter is open: hidden on screen, but the
        # toolkit lists hidden tabs all the same.
        mark = "   (the hidden chapter tab)"
    elif focusable and not name.strip() and role not in ("table cell", "list item", "tree item", "filler", "panel", "scroll bar"):
        mark = "   <- no name"
        unnamed += 1
    print("%s%s: %s%s" % ("  " * depth, role, name, mark))
names = [name for _, _, name, _ in out]
missing = [t for t in ("Seznam souborů", "Vlastní seznam souborů", "Vyhledat text v souborech") if t not in names]
print()
print("%d objects shown, %d focusable without a name, page tabs missing: %s" % (len(out), unnamed, missing or "none"))
sys.exit(1 if unnamed or missing else 0)
PY

cat > "$world/run.sh" <<'SH'
#!/usr/bin/env bash
set -u
# The bus that screen readers listen on, and the toolkit told to speak on it.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
"$PROGRAM" >"$WORLD/program.log" 2>&1 &
app=$!
/usr/bin/python3 "$WORLD/walk.py" "$(basename "$PROGRAM")"
rc=$?
kill "$app" 2>/dev/null
wait "$app" 2>/dev/null
kill "$launcher" 2>/dev/null
exit $rc
SH
chmod +x "$world/run.sh"

env HOME="$world/home" XDG_RUNTIME_DIR="$world/run" XDG_CONFIG_HOME="$world/home/.config" \
    XDG_DATA_HOME="$world/home/.local/share" LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 \
    QTWEBENGINE_DISABLE_SANDBOX=1 PROGRAM="$program" WORLD="$world" \
    xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$world/run.sh"
