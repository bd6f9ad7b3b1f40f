#!/usr/bin/env bash
# with-display.sh <command...>: runs the command on an X display of its own:
# a private Xvfb server that picks a free display number itself (-displayfd)
# and ends with the command. Programs that share a display disturb each other
# (an open menu holds the pointer and keyboard, windows cover each other).
set -euo pipefail
dir="$(mktemp -d "${TMPDIR:-/tmp}/with-display.XXXXXX")"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>"$dir/log" &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
# Xvfb writes the number, and a line end, once it accepts connections.
until [ "$(tail -c1 "$dir/display" | wc -l)" -eq 1 ]; do
  if ! kill -0 "$xvfb" 2>/dev/null; then
    echo "with-display.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
  fi
  sleep 0.05
done
status=0
DISPLAY=":$(head -n1 "$dir/display")" "$@" || status=$?
exit "$status"
