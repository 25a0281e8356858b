#!/usr/bin/env bash
# Installs the package built by scripts/package.sh, starts the installed program on
# a virtual display as a new user would, checks that its window comes up with the
# shipped chapters, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls -1t build/tavio_*.deb | head -n1)
[ "$(id -u)" -eq 0 ] || { echo "package-test.sh: needs root" >&2; exit 1; }

home=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  dpkg -r tavio >/dev/null 2>&1 || true
  rm -rf "$home"
}
trap cleanup EXIT

dpkg -i "$deb" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get -f install -y -q >/dev/null
dpkg -s tavio | grep -q '^Status: install ok installed'
test -x /usr/bin/tavio
test -f /usr/share/applications/cz.marrowick.Tavio.desktop
test -f /usr/share/icons/hicolor/scalable/apps/tavio.svg
test -f /usr/share/metainfo/cz.marrowick.Tavio.metainfo.xml
shipped=$(ls /usr/share/tavio/Htm/*.htm | wc -l)
[ "$shipped" -gt 0 ]

# A user who never ran the program: its own home, settings and data folders.
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd /
  /usr/bin/tavio >"$HOME/tavio.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 60); do
    # The main window, not the splash before it (451 x 301).
    if xwininfo -root -tree 2>/dev/null | grep "(\"tavio\" \"Tavio\")" \
        | grep -oE "[0-9]+x[0-9]+\+" | awk -Fx "\$1 > 500 { found = 1 } END { exit !found }"; then
      ok=$(ls "$XDG_DATA_HOME"/Marrowick/Tavio/Htm/*.htm 2>/dev/null | wc -l)
      [ "$ok" -ge 1 ] && { kill $pid; wait $pid 2>/dev/null; exit 0; }
    fi
    kill -0 $pid 2>/dev/null || { echo "the installed program ended early:"; cat "$HOME/tavio.log"; exit 1; }
    sleep 0.5
  done
  echo "no window of the installed program came up"; cat "$HOME/tavio.log"; kill $pid; exit 1
'
copied=$(ls "$XDG_DATA_HOME"/Marrowick/Tavio/Htm/*.htm | wc -l)
[ "$copied" -eq "$shipped" ] || { echo "copied $copied of $shipped shipped chapters"; exit 1; }
echo "package test: installed, window up, $copied of $shipped chapters in the user's folder, removed"
