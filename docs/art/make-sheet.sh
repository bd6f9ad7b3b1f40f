#!/usr/bin/env bash
# make-sheet.sh <build-dir>: redraws docs/art/sheet.png (every picture, named)
# and docs/art/face.png (the face empty, with a sample reading laid on it as
# the view draws one, and idle) with the artdump tool of that build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: make-sheet.sh <build-dir>}"
cmake --build "$build" --target artdump >/dev/null
"$build/bin/artdump" --sheet "$here/sheet.png" "$here/face.png"
