#!/usr/bin/env bash
# Installs the Debian packages that building and running need, asking apt only
# for those that are missing.
#   scripts/deps.sh          building and running (scripts/run.sh)
#   scripts/deps.sh --tests  and what only the tests use besides: the PDF
#                            reader, a CUPS scheduler with a PDF printer,
#                            clang for the fuzzers, LibreOffice Calc and
#                            universal-ctags for the platform-name check
#                            (scripts/test.sh)
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  libudev-dev libwxgtk3.2-dev libgtk-3-dev
  xvfb xauth fonts-liberation xdg-utils tzdata
  libx11-dev libxtst-dev librsvg2-dev
  libcups2-dev libqpdf-dev
)

test_packages=(
  poppler-utils
  cups cups-client printer-driver-cups-pdf
  clang libclang-rt-dev
  universal-ctags
  locales
  libreoffice-calc-nogui
)

case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *) echo "usage: scripts/deps.sh [--tests]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
