#!/usr/bin/env bash
# Builds the program and its Debian package (build/tavio_<version>_<arch>.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
cpack -G DEB
ls -1 "$PWD"/tavio_*.deb
