#!/usr/bin/env bash
# Lays a sample event (participant list and award table) into a program folder that has no list yet,
# so that `make run` opens a stage with something to draw. The files come from assets/sample/make_sample.py.
set -euo pipefail
app="${1:?usage: sample-event.sh PROGRAM_DIR}"
here="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$app/config"
if [ ! -e "$app/config/set.dat" ] && [ -d "$here/assets/sample" ]; then
  for f in set.dat jiangx.dat shezhijx.dat config.ini; do
    [ -e "$here/assets/sample/$f" ] && [ ! -e "$app/config/$f" ] && cp "$here/assets/sample/$f" "$app/config/$f"
  done
  echo "sample-event: laid a sample event into $app/config"
fi
exit 0
