#!/usr/bin/env bash
# fuzz.sh [--build-dir DIR] [--seconds N] [--no-build] [--fresh-corpus] [--seed N]
# Runs the libFuzzer targets (tests/fuzz) at the same time, each for N seconds
# (default 300), and prints each one's executions and findings. The targets
# are built by the ordinary build in DIR (default build, the one
# scripts/test.sh makes) when clang is installed; this script configures DIR
# if needed and builds only them, unless --no-build.
# Each target's corpus is DIR/fuzz/corpus/<target>, kept from run to run, and
# seeded with tests/fuzz/corpus/<target>; --fresh-corpus starts from the seeds
# alone. --seed N starts every target from that random seed, so that the
# suite's short run takes the same path each time; by default each run picks
# its own. A finding's input is left in DIR/fuzz/findings/ and the exit status
# is 1. Exit status 77: the targets are not built (no clang).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"
seconds=300
build=1
fresh=0
seed=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) dir="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --no-build) build=0; shift ;;
    --fresh-corpus) fresh=1; shift ;;
    --seed) seed="$2"; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--seconds N] [--no-build] [--fresh-corpus] [--seed N]" >&2; exit 2 ;;
  esac
done
targets=(fuzz_data_file fuzz_records fuzz_receive)
bin="$dir/fuzz/bin"

if [ $build = 1 ]; then
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECIBAR_WERROR=ON >/dev/null
  fi
  if ! cmake --build "$dir" --target help | grep -q '^fuzzers:'; then
    echo "fuzzing skipped: no clang++ that links libFuzzer (install clang and libclang-rt-dev: scripts/deps.sh --tests)"
    exit 77
  fi
  cmake --build "$dir" --target fuzzers >/dev/null
fi
for target in "${targets[@]}"; do
  if [ ! -x "$bin/$target" ]; then
    echo "fuzzing skipped: $bin/$target is not built (it needs clang++ that links libFuzzer: scripts/deps.sh --tests)"
    exit 77
  fi
done

work="$dir/fuzz/runs"
findings="$dir/fuzz/findings"
mkdir -p "$work" "$findings"
run() {
  local target="$1" corpus
  if [ $fresh = 1 ]; then
    corpus="$work/$target-corpus"
    rm -rf "$corpus"
  else
    corpus="$dir/fuzz/corpus/$target"
  fi
  mkdir -p "$corpus"
  # New inputs go to the first folder; the committed seeds are only read.
  ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
    "$bin/$target" -max_total_time="$seconds" -seed="$seed" -max_len=65536 -timeout=30 -rss_limit_mb=2048 -entropic_scale_per_exec_time=1 \
    -print_final_stats=1 -artifact_prefix="$findings/$target-" \
    "$corpus" "$root/tests/fuzz/corpus/$target" >"$work/$target.log" 2>&1
}

pids=()
for target in "${targets[@]}"; do
  run "$target" &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  target="${targets[$i]}"
  log="$work/$target.log"
  result="in $seconds s, no finding"
  if ! wait "${pids[$i]}"; then
    status=1
    result="then a FINDING stopped it: see $log and $findings/"
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  echo "$target: ${runs:-?} executions $result"
done
exit $status
