#!/usr/bin/env bash
# Builds the programs and starts one of them.
#   scripts/run.sh            Decibar; when no KV415 is plugged in, a simulated
#                             meter is started first and stopped with Decibar
#   scripts/run.sh setwell    Setwell, the installation medium's launcher
#   scripts/run.sh metersim   only the simulated meter (its --help says more)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

case "${1:-decibar}" in
  -h|--help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  decibar|setwell|metersim) program="${1:-decibar}"; [ $# -gt 0 ] && shift ;;
  *) echo "unknown program: $1 (try --help)" >&2; exit 2 ;;
esac

scripts/deps.sh
scripts/build.sh build >/dev/null
bin="$root/build/bin"

if [ "$program" = metersim ]; then
  exec "$bin/metersim" "$@"
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: start this from a desktop session (or over ssh -X)." >&2
  exit 1
fi

if [ "$program" = setwell ]; then
  exec "$bin/setwell" "$@"
fi

# A KV415 shows up as a tty served by the cp210x driver.
meter_plugged_in() {
  compgen -G "/sys/bus/usb-serial/drivers/cp210x/ttyUSB*" >/dev/null
}

sim_pid=""
stop_sim() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap stop_sim EXIT
trap "exit 130" INT TERM HUP

if ! meter_plugged_in; then
  fifo="$(mktemp -u /tmp/metersim-out.XXXXXX)"
  mkfifo "$fifo"
  "$bin/metersim" >"$fifo" &
  sim_pid=$!
  exec 3<"$fifo"
  rm -f "$fifo"
  read -r port device <&3
  echo "No KV415 plugged in: a simulated meter runs on $port ($device)."
  cat <&3 >/dev/null &
fi

"$bin/decibar" "$@"
