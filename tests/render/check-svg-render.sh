#!/usr/bin/env bash
# Checks SVG pictures with real tools: each file must be well-formed XML
# (xmllint) and must render with rsvg-convert to a PNG that is not blank
# (ImageMagick measures the spread of its grey levels).
# Usage: check-svg-render.sh FOLDER [MIN_FILES]
set -euo pipefail

folder=$1
min_files=${2:-1}
for tool in xmllint rsvg-convert convert; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (scripts/install-deps.sh)"; exit 1; }
done

count=0
for svg in "$folder"/*.svg; do
  [[ -e $svg ]] || break
  xmllint --noout --nonet "$svg"
  png=${svg%.svg}.png
  rsvg-convert --width 600 --background-color white -o "$png" "$svg"
  spread=$(convert "$png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
  if ! awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'; then
    echo "$png is blank (grey level spread $spread)"
    exit 1
  fi
  echo "ok: $svg (grey level spread $spread)"
  count=$((count + 1))
done
if ((count < min_files)); then
  echo "only $count SVG files in $folder, expected at least $min_files"
  exit 1
fi
