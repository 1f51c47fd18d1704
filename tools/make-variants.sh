#!/usr/bin/env bash
# Turns real photographs into groups of copies as they pile up on a user's disk, to
# check which copy the proposed marks keep. Each photo becomes PHOTO-original.jpg with
# camera data, and beside it one copy per kind:
#   same pixels: backup (byte copy), meta (a tag changed), orient (orientation tag 6),
#                png, tiff, bmp
#   degraded:    web (half size), quarter (quarter size), messenger (1280 px, quality 75,
#                no metadata), q40 (quality 40), blur, bright, contrast, grey, gif,
#                crop (4% cut away), big15, big2 and big3 (enlarged 1.5, 2 and 3 times,
#                camera data kept), big15plain and big2plain (the same without metadata)
# Edited copies (blur, bright, contrast, crop) name an editor in their Software tag.
#
# Usage: tools/make-variants.sh OUT [PHOTOS [MAX_SIDE]]
#   PHOTOS: how many photographs to take (default all found), MAX_SIDE: the originals'
#   long side in pixels (default 2000). VARIANT_SOURCES=DIR takes the photographs of DIR
#   instead of those of the Debian packages listed below (tools/install-deps.sh).
# Prints OUT. Exit 3 when ImageMagick, exiv2 or the photographs are missing.
set -euo pipefail

out=${1:?usage: make-variants.sh OUT [PHOTOS [MAX_SIDE]]}
want=${2:-0}
side=${3:-2000}
[[ $want =~ ^[0-9]+$ && $side =~ ^[0-9]+$ && $side -ge 64 ]] || { echo "make-variants.sh: PHOTOS and MAX_SIDE are numbers" >&2; exit 2; }
for tool in convert exiv2; do
  command -v "$tool" >/dev/null || { echo "make-variants.sh: $tool is needed (tools/install-deps.sh)" >&2; exit 3; }
done

# Photographs only: these packages hold renders and drawings too, which tell little
# about how detail survives copying. Small sets come from the first lines.
packaged=(
  /usr/share/backgrounds/mate/nature/{LadyBird,Storm,Wood,Aqua,Dune,RainDrops,Garden,TwoWings,YellowFlower,FreshFlower,Blinds,GreenMeadow}.jpg
  /usr/share/backgrounds/{Bridge_by_Sander_Klootwijk,Dragonfly_by_Bolly,Picture_0B_by_freespace,Picture_1A_by_freespace}.jpg
  /usr/share/backgrounds/{Wine_by_Jakkub_Mede,aitzgorri_by_Aitzol_Berasategi,free_by_Peter_Nerlich}.jpg
  /usr/share/backgrounds/{friends_by_Aitzol_Berasategi,life_by_Aitzol_Berasategi,picosdeeuropa_by_Aitzol_Berasategi}.jpg
  /usr/share/backgrounds/{seeding_by_Clements_Engelhardt,sunset_by_Aitzol_Berasategi}.jpg
  /usr/share/backgrounds/{Kleiber_by_Lukas_Baubkus,Painting-Colors_by__herobrine7gamer}.jpg
  /usr/share/wallpapers/{BytheWater,ColdRipple,ColorfulCups,DarkestHour,EveningGlow,FallenLeaf}/contents/images/2560x1600.jpg
  /usr/share/wallpapers/{Grey,Kite,OneStandsOut,Path,summer_1am}/contents/images/2560x1600.jpg
  /usr/lib/python3/dist-packages/skimage/data/{astronaut,chelsea,coffee,motorcycle_left,rocket.jpg,brick,grass,gravel,camera,coins}
)
sources=()
if [[ -n ${VARIANT_SOURCES:-} ]]; then
  while IFS= read -r -d '' f; do sources+=("$f"); done \
    < <(find "$VARIANT_SOURCES" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.png' \) -print0 | sort -z)
else
  for f in "${packaged[@]}"; do
    [[ $f == *.* ]] || f=$f.png
    [[ -f $f ]] && sources+=("$f")
  done
fi
(( want > 0 && ${#sources[@]} > want )) && sources=("${sources[@]:0:want}")
(( ${#sources[@]} > 0 )) || { echo "make-variants.sh: no photographs found (tools/install-deps.sh)" >&2; exit 3; }

stamp="variants v4 side=$side photos=${#sources[*]} ${sources[*]}"
if [[ -f $out/.variants && "$(cat "$out/.variants")" == "$stamp" ]]; then
  echo "$out"
  exit 0
fi
mkdir -p "$out"
rm -f "$out"/*-{original,backup,meta,orient,web,quarter,messenger,q40,blur,bright,contrast,grey,crop,big15,big2,big3,big15plain,big2plain}.jpg \
  "$out"/*-{png,tiff,bmp,gif}.* "$out/.variants"

# One photo and its copies. Runs in a child shell: everything it needs comes as arguments.
make_photo() {
  local src=$1 out=$2 side=$3 i=$4
  local stem; stem=$(basename "${src%.*}" | tr -c 'A-Za-z0-9\n' '-' | cut -c1-24)
  [[ $src == */wallpapers/* ]] && stem=$(basename "$(dirname "$(dirname "$(dirname "$src")")")")
  stem=$(printf 'p%02d-%s' "$i" "$stem")
  local o="$out/$stem"
  local day; day=$(printf '%02d' $(( i % 28 + 1 )))
  # Large sources decode at a fraction of their size: the originals are capped anyway.
  # Only large ones: the decoder meets the size hint by enlarging a smaller source,
  # which would make an "original" that is an enlargement itself.
  local hint=()
  if (( $(identify -format '%[fx:max(w,h)]' "$src[0]") > 2 * side )); then
    hint=(-define "jpeg:size=$((2 * side))x$((2 * side))")
  fi
  convert "${hint[@]}" "$src" -auto-orient -strip -colorspace sRGB -type TrueColor \
    -resize "${side}x${side}>" -quality 92 "$o-original.jpg"
  exiv2 -q -M"set Exif.Image.Make Nikon" -M"set Exif.Image.Model D750" \
    -M"set Exif.Photo.DateTimeOriginal 2021:05:$day 10:$(printf '%02d' $(( i % 60 ))):00" "$o-original.jpg"
  local edited=(-M"set Exif.Image.Software GIMP 2.10.34")
  cp "$o-original.jpg" "$o-backup.jpg"
  cp "$o-original.jpg" "$o-meta.jpg" && exiv2 -q -M"set Exif.Image.Artist A. Friend" "$o-meta.jpg"
  cp "$o-original.jpg" "$o-orient.jpg" && exiv2 -q -M"set Exif.Image.Orientation 6" "$o-orient.jpg"
  convert "$o-original.jpg" -define png:compression-level=1 "$o-png.png"
  convert "$o-original.jpg" -compress lzw "$o-tiff.tif"
  convert "$o-original.jpg" "BMP3:$o-bmp.bmp"
  convert "$o-original.jpg" -resize 50% -quality 85 -strip "$o-web.jpg"
  convert "$o-original.jpg" -resize 25% -quality 85 -strip "$o-quarter.jpg"
  convert "$o-original.jpg" -resize '1280x1280>' -quality 75 -strip "$o-messenger.jpg"
  convert "$o-original.jpg" -quality 40 "$o-q40.jpg"
  # A blur that shows at a glance: a fixed share of the photo's size.
  local w; w=$(identify -format '%[fx:max(w,h)]' "$o-original.jpg")
  convert "$o-original.jpg" -gaussian-blur "0x$(( w / 400 + 1 ))" -quality 92 "$o-blur.jpg"
  convert "$o-original.jpg" -modulate 125 -quality 92 "$o-bright.jpg"
  convert "$o-original.jpg" -brightness-contrast 0x35 -quality 92 "$o-contrast.jpg"
  convert "$o-original.jpg" -colorspace Gray -quality 92 "$o-grey.jpg"
  convert "$o-original.jpg" "$o-gif.gif"
  convert "$o-original.jpg" -gravity center -crop 96%x96%+0+0 +repage -quality 92 "$o-crop.jpg"
  for f in blur bright contrast crop; do exiv2 -q "${edited[@]}" "$o-$f.jpg"; done
  # Enlarged as a phone's "enhance" or a print service hands them back: more pixels, no more detail.
  for f in 15:150 2:200; do
    convert "$o-original.jpg" -resize "${f#*:}%" -quality 92 "$o-big${f%:*}.jpg"
    convert "$o-big${f%:*}.jpg" -strip "$o-big${f%:*}plain.jpg"
  done
  convert "$o-original.jpg" -resize 300% -quality 92 "$o-big3.jpg"
}
export -f make_photo
for i in "${!sources[@]}"; do printf '%s\0%s\0' "${sources[$i]}" "$i"; done \
  | xargs -0 -n 2 -P "$(nproc)" bash -c 'make_photo "$1" "$0" '"$side"' "$2"' "$out"
echo "$stamp" > "$out/.variants"
echo "$out"
