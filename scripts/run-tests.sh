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
# A test that fails is run once more before it counts: the sound server's client library can abort
# a process whose server is killed under it (the lost-device test does so on purpose), which is
# the library's fault, not the test's finding. A test that fails twice fails the run.
ctest --output-on-failure --parallel "$(nproc)" --timeout $((600 * ${KIVRA_TEST_TIME_SCALE:-1})) \
  --repeat until-pass:2
