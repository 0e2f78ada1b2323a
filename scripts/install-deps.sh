#!/usr/bin/env bash
# Installs every Debian package KIVRA needs to build, run and test. Idempotent: packages already
# present are left alone, so a second run costs one dpkg query.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6 widgets and multimedia
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6 libqt6multimediawidgets6
  qt6-qpa-plugins qml6-module-qtmultimedia libqt6opengl6-dev libgl-dev
  # media back end for Qt Multimedia
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-pulseaudio
  # the player's clip types: .wmv and .asf (asfdemux), .mpg program streams (mpegpsdemux)
  gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad
  # images, audio and video libraries
  libfreeimage-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  libfluidsynth-dev timgm6mb-soundfont
  # FFTW, for the spectrum benchmark's reference only
  libfftw3-dev
  # external programs the application runs
  lame
  # fonts so Chinese captions render; Qt's own texts in Chinese (Debian 12 has them for Qt 5 only)
  fonts-noto-cjk qttranslations5-l10n
  # test harness: X server, audio server, real tools that make and check files
  xvfb xauth pulseaudio pulseaudio-utils sox ffmpeg imagemagick
  # desktop integration and the Debian package: icon rendering, validators, dpkg-shlibdeps
  librsvg2-bin desktop-file-utils appstream shared-mime-info dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
