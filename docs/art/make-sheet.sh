#!/usr/bin/env bash
# make-sheet.sh <build-dir>: redraws docs/art/sheet.png (every picture, named)
# and docs/art/face.png (the face empty, with a sample reading laid on it as
# the view draws one, and idle) from the artdump tool. Needs ImageMagick.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: make-sheet.sh <build-dir>}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/bin/artdump" "$work" >/dev/null

# Each picture gets a caption with its number and size; small ones are scaled
# up so their pixels can be judged. Rows: display, keys, logo and tool bar,
# icons, faces.
cd "$work"
tile() {  # tile <png> <caption> <scale>
  convert "$1" -background '#AAAFC3' -flatten -scale "$3" -bordercolor white -border 6 \
    \( -size x14 -background white -fill black -pointsize 11 "label:$2" \) -gravity center -append "$1.tile.png"
  echo "$1.tile.png"
}
row() { convert -background white -gravity south "$@" +append -bordercolor white -border 4 "row$((++rows)).png"; }
rows=0
digits=()
for d in 0 1 2 3 4 5 6 7 8 9; do digits+=("$(tile bitmap-$((132 + d))-digit-$d.png "$((132 + d)) 25x53" 300%)"); done
row "${digits[@]}" "$(tile bitmap-131-decimal-point.png '131 7x8' 500%)" "$(tile bitmap-142-bar-segment.png '142 1x7' 500%)"
keys=()
for f in bitmap-149-*.png bitmap-15[0-4]-*.png; do
  keys+=("$(tile "$f" "$(echo "$f" | cut -d- -f2) $(identify -format %wx%h "$f")" 400%)")
done
row "${keys[@]}"
row "$(tile bitmap-155-logo.png '155 105x26' 300%)" "$(tile bitmap-128-toolbar.png 'bitmap 128 119x15' 400%)"
row "$(tile icon-128-icon-main.png 'icon 128 32x32' 400%)" "$(tile icon-156-icon-about.png 'icon 156 32x32' 400%)" \
  "$(tile icon-129-icon-document.png 'icon 129 32x32' 400%)" "$(tile icon-129-icon-document-16.png 'icon 129 16x16' 800%)"
row "$(tile bitmap-130-meter-face.png '130 195x461' 100%)" "$(tile bitmap-157-idle-face.png '157 195x461' 100%)"
convert -background white row*.png -gravity west -append "$here/sheet.png"

# A reading as the face drawing places it: "105.3" at y 116, the point at
# (120, 159), a 37-step bar, the time, range labels and a few annunciators.
# The view draws the texts in Arial; Liberation Sans stands in for it here.
sans=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
bold=/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf
bar=()
for i in $(seq 1 37); do
  x=$((50 + 2 * i))
  bar+=(bitmap-142-bar-segment.png -geometry "+$x+81" -composite)
  if [ $((i % 5)) -eq 0 ]; then bar+=(bitmap-142-bar-segment.png -geometry "+$x+72" -composite); fi
done
convert bitmap-130-meter-face.png \
  bitmap-133-digit-1.png -geometry +43+116 -composite bitmap-132-digit-0.png -geometry +68+116 -composite \
  bitmap-137-digit-5.png -geometry +93+116 -composite bitmap-135-digit-3.png -geometry +125+116 -composite \
  bitmap-131-decimal-point.png -geometry +120+159 -composite \
  bitmap-142-bar-segment.png -geometry +50+72 -composite bitmap-142-bar-segment.png -geometry +50+81 -composite \
  "${bar[@]}" -fill black \
  -font "$bold" -pointsize 20 -annotate +66+110 "12:34:56" \
  -font "$sans" -pointsize 9 -annotate +122+109 "TIME" -pointsize 10 -annotate +47+71 "30" -annotate +132+71 "80" \
  -pointsize 8 -annotate +95+58 "FAST" -annotate +45+58 "MAX" -annotate +95+176 "dBA" -annotate +65+176 "REC" \
  reading.png
convert bitmap-130-meter-face.png reading.png bitmap-157-idle-face.png -background '#AAAFC3' -splice 10x0 +append \
  -scale 200% "$here/face.png"
