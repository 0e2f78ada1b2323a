#!/usr/bin/env bash
# Starts KIVRA under a virtual X server, waits, and saves a screenshot of the whole screen:
#   scripts/screenshot.sh OUT.png [seconds] [kivra arguments...]
set -euo pipefail
out=$1; shift
wait_s=${1:-4}; shift || true
here=$(cd "$(dirname "$0")/.." && pwd)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1400x900x24 >/dev/null 2>&1 &
xpid=$!
trap 'kill $kpid 2>/dev/null || true; kill $xpid 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$here/build/kivra" "$@" >/dev/null 2>&1 &
kpid=$!
sleep "$wait_s"
DISPLAY=$display import -window root "$out"
