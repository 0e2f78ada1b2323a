#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR with prefix /usr, as the Debian package does, and
# checks the tree: exactly the expected files, a program that runs from there, icons of the size
# their folder names, the demo sound intact, and a tree the AppStream validator accepts as a
# whole (the metainfo finds its desktop file).
#   check-install-tree.sh BUILD_DIR APP_ID VERSION SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/lib.sh"
build=$1 id=$2 version=$3 source=$4
root=$scratch/root

if ! DESTDIR=$root cmake --install "$build" --prefix /usr >"$scratch/log" 2>&1; then
  cat "$scratch/log" >&2
  fail "cmake --install failed"
  finish
fi

(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/got"
installed_files "$id" >"$scratch/want"
diff -u "$scratch/want" "$scratch/got" >&2 || fail "the installed files differ from the expected (above)"

[ -x "$root/usr/bin/kivra" ] || fail "usr/bin/kivra is not executable"
out=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$root/usr/bin/kivra" --version 2>&1)
[ "$out" = "kivra $version" ] || fail "installed kivra --version printed '$out'"

for s in $ICON_SIZES; do
  png=$root/usr/share/icons/hicolor/${s}x$s/apps/$id.png
  [ -f "$png" ] || continue
  got=$(identify -format '%wx%h' "$png" 2>&1)
  [ "$got" = "${s}x$s" ] || fail "$s px icon is $got"
done

cmp -s "$source/samples/tuning-fork-440.wav" "$root/usr/share/kivra/samples/tuning-fork-440.wav" ||
  fail "the installed demo sound differs from samples/tuning-fork-440.wav"

desktop=$root/usr/share/applications/$id.desktop
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the desktop file's icon is not $id"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_program" ] || fail "the desktop file starts '$exec_program', not installed"

zcat "$root/usr/share/man/man1/kivra.1.gz" 2>/dev/null | grep -q "KIVRA $version" ||
  fail "the manual page does not carry version $version"

out=$(appstreamcli validate-tree --no-net "$root/usr" 2>&1) || fail "appstreamcli validate-tree: $out"
finish
