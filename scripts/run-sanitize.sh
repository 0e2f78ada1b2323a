#!/usr/bin/env bash
# make sanitize: builds KIVRA in a folder of its own (Debug, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test of make test there. The sanitizers report and
# carry on, each process (image workers and other child programs included) into a log file of
# its own, so one run shows every fault; the run fails when a test fails or any log holds a
# report.
set -uo pipefail
build=${1:-build-sanitize}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
jobs=${KIVRA_JOBS:-2}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIVRA_SANITIZE=ON || exit 1
fi
cmake --build "$build" -j "$jobs" || exit 1

logs=$(cd "$build" && pwd)/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=0:detect_leaks=1:log_path=$logs/asan:log_exe_name=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=0:print_stacktrace=1:log_path=$logs/ubsan:log_exe_name=1:${UBSAN_OPTIONS:-}"
# Thread-local storage is not scanned for pointers: scanning it crashes LeakSanitizer's tracer
# now and then on Debian 12 ("Tracer caught signal 11"), failing a test that passed. Blocks held
# only from there are listed in the suppressions.
export LSAN_OPTIONS="suppressions=$here/sanitize-leaks.supp:print_suppressions=0:use_tls=0:${LSAN_OPTIONS:-}"
# Checked code runs several times slower: tests stretch the deadlines they wait against.
export KIVRA_TEST_TIME_SCALE=${KIVRA_TEST_TIME_SCALE:-4}

status=0
bash "$here/run-tests.sh" "$build" || status=$?

# A report is an error of either sanitizer or a leak; the note of an allocation refused at the
# image worker's memory cap is the cap working, not a fault.
reports=0
shopt -s nullglob
for log in "$logs"/*; do
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|Sanitizer has encountered a fatal error|runtime error:' "$log"; then
    reports=$((reports + 1))
    echo "== sanitizer report: $log"
    sed -n '1,60p' "$log"
  fi
done
ctestlog=$build/Testing/Temporary/LastTest.log
if [ -f "$ctestlog" ] && grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|Sanitizer has encountered a fatal error|runtime error:' "$ctestlog"; then
  reports=$((reports + 1))
  echo "== sanitizer report in the test output ($ctestlog):"
  grep -nE 'ERROR: (AddressSanitizer|LeakSanitizer)|Sanitizer has encountered a fatal error|runtime error:' "$ctestlog" | head -n 20
fi
echo "sanitize: $reports process(es) with sanitizer reports (logs in $logs)"
[ "$reports" -eq 0 ] || status=1
exit "$status"
