#!/usr/bin/env bash
# Starts KIVRA on a file. Without a display (a server, a CI box) it runs under a virtual one.
set -euo pipefail
program=$1; shift
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi
echo "run-kivra: no display; starting KIVRA under Xvfb" >&2
exec xvfb-run -a -s "-screen 0 1600x1000x24" "$program" "$@"
