#!/usr/bin/env bash
# Builds the Debian package into a temporary folder with the build's CPack configuration and
# checks it with dpkg-deb: its name and version, the files it holds (owned by root), a stripped
# program that runs, and the dependencies that make `apt install ./kivra_*.deb` complete. Last,
# apt resolves those dependencies against this machine's archives without installing anything.
#   check-package.sh BUILD_DIR APP_ID VERSION
set -uo pipefail
. "$(dirname "$0")/lib.sh"
build=$1 id=$2 version=$3
arch=$(dpkg --print-architecture)
deb=$scratch/kivra_${version}_$arch.deb

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/log" 2>&1; then
  cat "$scratch/log" >&2
  fail "cpack failed"
  finish
fi
[ -f "$deb" ] || { fail "no $(basename "$deb") in: $(ls "$scratch")"; finish; }

[ "$(dpkg-deb -f "$deb" Package)" = kivra ] || fail "package name is not kivra"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$arch" ] || fail "package architecture is not $arch"

dpkg-deb -c "$deb" >"$scratch/listing"
awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' "$scratch/listing" | LC_ALL=C sort >"$scratch/got"
installed_files "$id" >"$scratch/want"
diff -u "$scratch/want" "$scratch/got" >&2 || fail "the package's files differ from the expected (above)"
awk '$2 != "root/root" { print }' "$scratch/listing" | grep . >&2 && fail "entries not owned by root (above)"

# Every name the Depends line must hold; version suffixes of library packages vary.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//')
for want in libc6 'libqt6widgets6' 'libqt6multimedia6' \
            'libfreeimage[0-9]+' 'libavformat[0-9]+' qt6-qpa-plugins \
            gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav \
            gstreamer1.0-pulseaudio 'libfluidsynth[0-9]+' timgm6mb-soundfont lame fonts-noto-cjk; do
  grep -Eqx -- "$want" <<<"$depends" || fail "Depends lacks $want: $(dpkg-deb -f "$deb" Depends)"
done

dpkg-deb -x "$deb" "$scratch/root"
program=$scratch/root/usr/bin/kivra
readelf -S "$program" | grep -q '\.debug_info' && fail "the packaged program is not stripped"
out=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$program" --version 2>&1)
[ "$out" = "kivra $version" ] || fail "the packaged kivra --version printed '$out'"

# apt would find every dependency (installed or in the archives) and install the package.
if ! apt-get install --simulate --no-install-recommends "$deb" >"$scratch/apt" 2>&1; then
  cat "$scratch/apt" >&2
  fail "apt cannot install the package"
fi
grep -q '^Inst kivra ' "$scratch/apt" || grep -q '^Reinst kivra\|kivra is already' "$scratch/apt" ||
  fail "apt's plan does not install kivra: $(cat "$scratch/apt")"
finish
