#!/usr/bin/env bash
# `make icons`: renders the drawings in app/icons/ into the .ico files that
# app/kelvane.rc embeds, and docs/icons.png, the README's picture of them.
#   scripts/render-icons.sh
# Each icon is drawn four times: NAME.svg on the 32-pixel grid and NAME-16,
# NAME-20 and NAME-24.svg redrawn on their own grids. An image is rendered
# from the drawing whose grid its size is a whole multiple of (40 and 48 from
# the 20 and 24 ones, 64 and 256 from the 32 one), so every edge falls on a
# whole pixel; the script checks that no pixel came out blended.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
drawings="$root/app/icons"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

names=(kelvane unfold fold)  # in the order kelvane.rc embeds them
# size:drawing, the drawing as its file name's ending
images=(16:-16 20:-20 24:-24 32: 40:-20 48:-24 64: 256:)

fail() { echo "render-icons.sh: $*" >&2; exit 1; }

for name in "${names[@]}"; do
  pngs=()
  for image in "${images[@]}"; do
    size=${image%%:*}
    drawing="$drawings/$name${image#*:}.svg"
    png="$work/$name-$size.png"
    rsvg-convert --width "$size" --height "$size" "$drawing" --output "$png"
    # A drawing's own colours and full transparency, nothing in between.
    colours=$(grep -o 'fill="#[0-9a-f]*"' "$drawing" | sort -u | wc -l)
    found=$(convert "$png" -format '%k' info:)
    [ "$found" -le $((colours + 1)) ] ||
      fail "$drawing at $size pixels has $found colours, not at most $((colours + 1)): an edge off the pixel grid"
    pngs+=("$png")
  done
  # 32 bits with alpha up to 64 pixels, the 256-pixel image as PNG.
  icotool --create --bit-depth=32 --output="$drawings/$name.ico" "${pngs[@]:0:7}" \
    --raw="${pngs[7]}"
  echo "wrote app/icons/$name.ico"
done

# docs/icons.png: the three icons at 16, 24 and 32 pixels on a light strip
# and on a dark one, as a light and a dark button bar would show them.
strip() {
  local background="$1" name size cells=()
  cells+=(-size 12x48 "xc:$background")
  for name in "${names[@]}"; do
    for size in 16 24 32; do
      cells+=("(" "$work/$name-$size.png" -background "$background" -gravity center
              -extent "$((size + 8))x48" ")")
    done
    cells+=(-size 16x48 "xc:$background")
  done
  convert "${cells[@]}" +append "$2"
}
strip '#f0f0f0' "$work/light.png"
strip '#2b2b2b' "$work/dark.png"
convert "$work/light.png" "$work/dark.png" -append -strip \
  -define png:exclude-chunks=date,time "$root/docs/icons.png"
echo "wrote docs/icons.png"
