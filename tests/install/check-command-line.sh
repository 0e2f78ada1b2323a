#!/usr/bin/env bash
# kivra --help and --version answer on the terminal without a display: they must not start the
# window system at all. Without a display, Qt's X11 platform aborts, so a control run that opens
# a file must fail in the same setting.
#   check-command-line.sh KIVRA VERSION
set -uo pipefail
. "$(dirname "$0")/lib.sh"
kivra=$1 version=$2

headless() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$@"; }

for opt in --version -v; do
  out=$(headless "$kivra" "$opt" 2>"$scratch/err"); rc=$?
  [ "$rc" -eq 0 ] || fail "kivra $opt exited with $rc: $(cat "$scratch/err")"
  [ "$out" = "kivra $version" ] || fail "kivra $opt printed '$out', expected 'kivra $version'"
  [ -s "$scratch/err" ] && fail "kivra $opt wrote to stderr: $(cat "$scratch/err")"
done

for opt in --help -h; do
  out=$(headless "$kivra" "$opt" 2>"$scratch/err"); rc=$?
  [ "$rc" -eq 0 ] || fail "kivra $opt exited with $rc: $(cat "$scratch/err")"
  [[ "$(head -n1 <<<"$out")" == "Usage: kivra [FILE]" ]] || fail "kivra $opt: no usage line: $out"
  for word in --help --version KIVRA_LANG; do
    grep -q -- "$word" <<<"$out" || fail "kivra $opt does not mention $word"
  done
done

# The control: anything else starts the window system, which fails here.
if headless timeout 20 "$kivra" "$scratch/none.wav" >/dev/null 2>&1; then
  fail "kivra started without a display: the checks above prove nothing"
fi
finish
