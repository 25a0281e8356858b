#!/usr/bin/env bash
# Signs a series for the on-line update.
#
#   scripts/sign-series.sh KEY.pem FOLDER [PROGRAM]
#
# KEY.pem is the publisher's Ed25519 private key (openssl genpkey -algorithm ed25519).
# With PROGRAM (a file name in FOLDER, e.g. tavio), update.ini first gets the section
# [program_file] with the program file's size and SHA-256, replacing an older one.
# Then update.ini and files.ini in FOLDER get their detached signatures beside them,
# update.ini.sig and files.ini.sig: the 64-byte Ed25519 signature in Base64.
set -euo pipefail
key="$1"
folder="$2"
program="${3:-}"

if [ -n "$program" ]; then
  python3 - "$folder/update.ini" "$folder/$program" <<'PY'
import hashlib, sys
ini, program = sys.argv[1], sys.argv[2]
data = open(program, "rb").read()
lines, skip = [], False
for line in open(ini, "rb").read().decode("cp1250").splitlines():
    if line.strip().startswith("["):
        skip = line.strip().lower() == "[program_file]"
    if not skip:
        lines.append(line)
while lines and not lines[-1].strip():
    lines.pop()
lines += ["", "[program_file]", "size=%d" % len(data), "sha256=" + hashlib.sha256(data).hexdigest()]
open(ini, "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1250"))
PY
fi

for name in update.ini files.ini; do
  [ -f "$folder/$name" ] || continue
  openssl pkeyutl -sign -inkey "$key" -rawin -in "$folder/$name" | base64 -w0 > "$folder/$name.sig"
  echo >> "$folder/$name.sig"
done
