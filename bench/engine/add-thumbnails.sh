#!/usr/bin/env bash
# Embeds an EXIF thumbnail in every JPEG of a folder as cameras write them: the photo
# fitted into 160x120 (its long side across), baseline JPEG in IFD1.
# Usage: bench/engine/add-thumbnails.sh FOLDER [ONLY_GLOB]
set -euo pipefail
dir=${1:?usage: add-thumbnails.sh FOLDER [GLOB]}
glob=${2:-*.jpg}
for tool in convert exiv2; do
  command -v "$tool" >/dev/null || { echo "add-thumbnails.sh: $tool is needed" >&2; exit 3; }
done
one() {
  local f=$1 t=${1%.*}-thumb.jpg
  convert -define jpeg:size=640x640 "$f" -auto-orient -thumbnail '160x160' -strip -quality 75 "$t"
  # The thumbnail is stored as the camera stored the frame: undo the orientation the
  # conversion applied so that the tag turns both alike.
  case $(exiv2 -q -K Exif.Image.Orientation -Pv "$f" 2>/dev/null || echo 1) in
    6) convert "$t" -rotate 270 "$t" ;;
    8) convert "$t" -rotate 90 "$t" ;;
    3) convert "$t" -rotate 180 "$t" ;;
  esac
  exiv2 -q -it "$f" && rm -f "$t"
}
export -f one
find "$dir" -maxdepth 1 -type f -name "$glob" ! -name '*-thumb.jpg' -print0 | xargs -0 -n 1 -P 2 bash -c 'one "$0"'
