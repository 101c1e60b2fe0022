#!/usr/bin/env bash
# One contact sheet per language of the screenshots the end-to-end suites saved:
# build/screenshots/gallery-en.png from every *-en.png there, gallery-zh.png from every *-zh.png,
# each picture labelled with its file name without the language suffix.
# Usage: tests/e2e/gallery.sh [SCREENSHOT_DIR]
set -euo pipefail
shots=${1:-build/screenshots}
command -v montage >/dev/null || { echo "[FAIL] the tool \"montage\" (ImageMagick) is missing"; exit 1; }
for lang in en zh; do
  args=()
  for file in "$shots"/*-"$lang".png; do
    [ -e "$file" ] || continue
    name=$(basename "$file" "-$lang.png")
    [ "$name" = gallery ] && continue
    args+=(-label "$name" "$file")
  done
  if [ ${#args[@]} -eq 0 ]; then  # the parts run took none in this language (a part by name)
    echo "no *-$lang.png screenshots in $shots: no contact sheet for them"
    continue
  fi
  # Pictures larger than a tile shrink to it; smaller ones keep their size, so texts stay legible.
  montage "${args[@]}" -tile 4x -geometry '760x570>+12+12' -background '#d9d9d9' -fill black \
    -font DejaVu-Sans -pointsize 18 "$shots/gallery-$lang.png"
  echo "$shots/gallery-$lang.png: $((${#args[@]} / 3)) screenshots"
done
