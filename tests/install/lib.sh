# Shared by the install checks: each check reports what is wrong and the script goes on, so one
# run lists every fault; `finish` ends the script with the verdict.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

ICON_SIZES="16 24 32 48 64 128 256"

# The files an installation holds under its prefix "usr", one a line, sorted.
installed_files() {
  local id=$1
  {
    echo usr/bin/kivra
    echo usr/libexec/kivra/kivra-imageworker
    echo "usr/share/applications/$id.desktop"
    echo "usr/share/metainfo/$id.metainfo.xml"
    echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
    for s in $ICON_SIZES; do echo "usr/share/icons/hicolor/${s}x$s/apps/$id.png"; done
    echo usr/share/man/man1/kivra.1.gz
    echo usr/share/kivra/samples/tuning-fork-440.wav
  } | LC_ALL=C sort
}

# A scratch folder removed when the script ends.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kivra-install-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
