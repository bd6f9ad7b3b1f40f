#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures and builds the tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDECIBAR_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
