#!/usr/bin/env bash
# fuzz.sh [--build-dir DIR] [--seconds N]
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in DIR
# (default build-fuzz) and runs each for N seconds (default 300) on its corpus
# in DIR/corpus/<target>, seeded with a few valid inputs. Prints each target's
# executions; exits non-zero when a target finds a crash, whose input is then
# left in DIR/crashes/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-fuzz"
seconds=300
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) dir="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    *) echo "usage: $0 [--build-dir DIR] [--seconds N]" >&2; exit 2 ;;
  esac
done
targets=(fuzz_logger_download fuzz_data_file)

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDECIBAR_FUZZ=ON -DDECIBAR_SANITIZE=address -DDECIBAR_WERROR=OFF >/dev/null
cmake --build "$dir" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-2}" --target "${targets[@]}" >/dev/null

mkdir -p "$dir/crashes" "$dir/corpus/fuzz_logger_download" "$dir/corpus/fuzz_data_file"
# Seeds: a download of two blocks after a live frame, an empty logger, and a data file.
printf '\x07\xa5\x0d\x06\x50\x1b\x00\x00\x00\xbb\x00\x7c\xaa\x11\x06\x15\x21\x30\x00\x02\xac\x06\x53\x07\x01\x55\x11\x06\x15\x31\x59\x58\x01\xac\x06\x00\x65\xdd' \
  > "$dir/corpus/fuzz_logger_download/seed-two-blocks"
printf '\x03\xbb\x00\x64\xdd' > "$dir/corpus/fuzz_logger_download/seed-empty"
printf 'VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n15-06-2011,13:30:00, 65.30, dBA\r\n15-06-2011,9:30:00,  5.30, dBC\r\n' \
  > "$dir/corpus/fuzz_data_file/seed-file"

status=0
for target in "${targets[@]}"; do
  log="$dir/$target.log"
  if ! ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1" \
      "$dir/bin/$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/crashes/$target-" "$dir/corpus/$target" >"$log" 2>&1; then
    echo "$target: FAILED, see $log and $dir/crashes/"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  corpus=$(ls "$dir/corpus/$target" | wc -l)
  echo "$target: ${runs:-?} executions in ${seconds} s, corpus of $corpus inputs"
done
exit $status
