#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh             the suite in an ordinary build
#   scripts/test.sh --sanitize  the suite again under ThreadSanitizer and
#                               under AddressSanitizer with UBSan
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh --tests

run_suite() {
  local dir="$1"; shift
  scripts/build.sh "$dir" "$@"
  ctest --test-dir "$dir" --output-on-failure -j4
}

if [ "${1:-}" = "--sanitize" ]; then
  # Mutex misuse reports are off: GLib takes some of its locks inside code the
  # checker ignores and releases them from code it sees. Races are reported.
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 report_mutex_bugs=0 suppressions=$root/scripts/tsan.supp"
  export ASAN_OPTIONS="detect_leaks=1 abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
  # GTK's accessibility bridge leaks what it sets up at start, where the
  # stacks are too short to name it; no test needs a screen reader.
  export NO_AT_BRIDGE=1
  run_suite build-tsan -DDECIBAR_SANITIZE=thread
  run_suite build-asan -DDECIBAR_SANITIZE=address
else
  run_suite build
fi
