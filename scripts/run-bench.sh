#!/usr/bin/env bash
# Runs every benchmark of the build folder; each prints its figure beside its reference.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/start-audio.sh"
export QT_QPA_PLATFORM=offscreen
shopt -s nullglob
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
