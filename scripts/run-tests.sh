#!/usr/bin/env bash
# Runs every test of the build folder with what the tests need: the offscreen Qt platform and a
# private PulseAudio server.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=start-audio.sh
source "$here/start-audio.sh"
export QT_QPA_PLATFORM=offscreen
export KIVRA_LANG=en
cd "$build"
# KIVRA_TEST_TIME_SCALE stretches the limit for slower builds (make sanitize sets it).
ctest --output-on-failure --parallel "$(nproc)" --timeout $((600 * ${KIVRA_TEST_TIME_SCALE:-1}))
