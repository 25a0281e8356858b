#!/usr/bin/env bash
# Serves the demo series on 127.0.0.1:8150, the server the program's profile names,
# so that "Nástroje -> Aktualizace ..." of a freshly built program finds new chapters
# and a new program version.
#
#   scripts/serve-demo.sh [build folder]      (default: build)
#
# The served folder (<build folder>/demo-series) is put together on every start:
#   - demo/series/ (update.ini, files.ini, whats.new, user.nfo, help.zip and the new
#     chapters under htm/, stored without extension as the series' server keeps them),
#   - the chapters that ship with the program (data/Htm), likewise without extension,
#     unless demo/series has a newer copy of one,
#   - help.zip, holding the help file that ships with the program (data/Tavio.hlp),
#   - the program file: the repository cannot ship a built binary, so the freshly
#     built <build folder>/app/tavio is copied in as the program file "tavio",
#   - update.ini.sig and files.ini.sig, made with the demo key demo/update-demo-key.pem
#     (update.ini gets the program file's size and hash first).
# python3's standard static server answers with Content-Length and takes the
# program's HTTP/1.0 requests.
#
# TAVIO_DEMO_PORT and TAVIO_DEMO_DIR choose another port and served folder (tests).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
port="${TAVIO_DEMO_PORT:-8150}"
served="${TAVIO_DEMO_DIR:-$build/demo-series}"

rm -rf "$served"
mkdir -p "$served"
cp -r "$root/demo/series/." "$served/"
for chapter in "$root"/data/Htm/*.htm; do
  base="$(basename "$chapter" .htm)"
  [ -e "$served/htm/$base" ] || cp "$chapter" "$served/htm/$base"
  [ -e "$served/htm/${base}_soubory" ] || cp -r "$root/data/Htm/${base}_soubory" "$served/htm/"
done
python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[1], "Tavio.hlp")' "$root/data/Tavio.hlp" "$served/help.zip"
if [ -f "$build/app/tavio" ]; then
  cp "$build/app/tavio" "$served/tavio"
  program=tavio
else
  echo "No program at $build/app/tavio: build it first, or the program update will fail." >&2
  program=
fi
# Signed with the demo key, whose public half the program carries; update.ini then
# names the program file's size and hash.
"$root/scripts/sign-series.sh" "$root/demo/update-demo-key.pem" "$served" $program

echo "Serving $served on http://127.0.0.1:$port/ (Ctrl+C ends)" >&2
exec python3 -m http.server --bind 127.0.0.1 "$port" --directory "$served"
