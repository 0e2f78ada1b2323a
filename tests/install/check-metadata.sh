#!/usr/bin/env bash
# The menu entry and the software-centre entry pass the freedesktop.org validators, declare MIME
# types the system knows, cover every file type KIVRA opens, and name this version's release.
#   check-metadata.sh DATA_DIR APP_ID VERSION
set -uo pipefail
. "$(dirname "$0")/lib.sh"
data=$1 id=$2 version=$3
desktop=$data/$id.desktop metainfo=$data/$id.metainfo.xml

out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $out"
grep -E 'error:|warning:' <<<"$out" && fail "desktop-file-validate complains (above)"
# One main category, so that menus list KIVRA once; the others are additional ones.
main="AudioVideo Audio Video Development Education Game Graphics Network Office Science Settings System Utility"
mains=0
for c in $(sed -n 's/^Categories=//p' "$desktop" | tr ';' ' '); do
  for m in $main; do [ "$c" = "$m" ] && mains=$((mains + 1)); done
done
[ "$mains" -eq 1 ] || fail "the desktop file names $mains main categories, not one"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"

# Every declared type is one shared-mime-info knows, under its own name or an alias.
mime=/usr/share/mime
declared=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d')
[ -n "$declared" ] || fail "no MimeType line"
for t in $declared; do
  grep -qx -- "$t" "$mime/types" || grep -q -- "^$t " "$mime/aliases" ||
    fail "MimeType $t is unknown to shared-mime-info"
done

# The sounds of the analyser, the clips of the video player, the images of the image processor.
for ext in wav mp3 avi mpg mpeg asf wmv mp4 mov swf \
           jpg jpeg gif bmp png tif tiff tga ppm pgm pbm ico; do
  type=$(awk -F: -v g="*.$ext" '$3 == g { print $2; exit }' "$mime/globs2")
  if [ -z "$type" ]; then
    fail "shared-mime-info has no type for *.$ext"
  elif ! grep -qx -- "$type" <<<"$declared"; then
    fail "*.$ext is $type, which the desktop file does not declare"
  fi
done

# The newest release listed (the first) is this version, so software centres show it.
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "newest release in the metainfo is '$release', not $version"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
finish
