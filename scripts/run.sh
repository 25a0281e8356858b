#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the sample chapters
# that ship with it (build/app/Htm).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export LANG=cs_CZ.UTF-8
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the program on a virtual one (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x900x24" build/app/tavio
fi
exec build/app/tavio
