#!/usr/bin/env bash
# Builds a folder of sample photos with known duplicates: distinct drawn scenes, and for
# two thirds of them copies that were resized, recompressed, converted to PNG/WebP/HEIC,
# cropped by 3%, brightened or copied byte for byte. Writes DIR/expected-groups.txt: one
# line per group, the paths (relative to DIR) of the photos that belong together.
#
# Usage: tools/make-samples.sh DIR [SCENES]   (default 100 scenes, about 215 photos)
# SAMPLE_SIZE=WxH sets the pixel size of the scenes (default 1600x1200).
# Does nothing when DIR already holds the same set.
set -euo pipefail

dir=${1:?usage: make-samples.sh DIR [SCENES]}
scenes=${2:-100}
[[ $scenes =~ ^[0-9]+$ && $scenes -ge 1 ]] || { echo "make-samples.sh: SCENES must be a positive number" >&2; exit 2; }
command -v convert >/dev/null || { echo "make-samples.sh: ImageMagick's convert is needed (tools/install-deps.sh)" >&2; exit 3; }

size=${SAMPLE_SIZE:-1600x1200}
[[ $size =~ ^[0-9]+x[0-9]+$ ]] || { echo "make-samples.sh: SAMPLE_SIZE must look like 4000x3000" >&2; exit 2; }
stamp="samples v2 scenes=$scenes size=$size"
if [[ -f $dir/expected-groups.txt && "$(head -n1 "$dir/expected-groups.txt")" == "# $stamp" ]]; then
  echo "$dir"
  exit 0
fi
# Another set made here before: remove its files (and only those), or strays would form
# groups that expected-groups.txt does not list.
if [[ -f $dir/expected-groups.txt && "$(head -c 10 "$dir/expected-groups.txt")" == "# samples " ]]; then
  rm -rf "$dir/copies" "$dir/exported" "$dir/expected-groups.txt"
  find "$dir" -maxdepth 1 -type f -name 's[0-9][0-9][0-9]*.jpg' -delete
fi
mkdir -p "$dir/copies" "$dir/exported"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# One scene and its copies; prints the group line (or nothing for a scene without copies).
make_scene() {
  local i=$1 dir=$2 font=$3 size=$4
  local n; n=$(printf '%03d' "$i")
  local base="s$n.jpg"
  # Fast PNG: the samples are about content, not file size.
  local png="-define png:compression-level=1 -define png:compression-filter=0"
  local text=() resize=()
  [[ $size != 1600x1200 ]] && resize=(-resize "$size!")
  [[ -f $font ]] && text=(-font "$font" -pointsize 110 -fill white -stroke black -strokewidth 3 -annotate "+$((80 + i * 37 % 600))+$((900 + i * 53 % 200))" "No. $n")
  # A small fractal blown up is as distinct as a large one at a fraction of the cost.
  # Coarse light and dark masses drawn small set scenes apart at the scale a similarity
  # measure looks at; the fractal and the shapes make them photo-like.
  local half=("0,0 79,119" "80,0 159,119" "0,0 159,59" "0,60 159,119")
  local shade=("rgba(0,0,0,0.55)" "rgba(255,255,255,0.5)")
  convert -seed "$((i * 7919 + 17))" -size 160x120 plasma:fractal \
    -fill "${shade[$(( i / 4 % 2 ))]}" -draw "rectangle ${half[$(( i % 4 ))]}" \
    -fill "${shade[$(( (i / 8 + 1) % 2 ))]}" -draw "circle $(( 20 + i * 37 % 120 )),$(( 15 + i * 23 % 90 )) $(( 45 + i * 37 % 120 )),$(( 15 + i * 23 % 90 ))" \
    -blur 0x0.8 -resize '1600x1200!' \
    -fill "rgba($((i * 41 % 256)),$((i * 97 % 256)),$((i * 13 % 256)),0.75)" \
    -draw "circle $((200 + i * 71 % 1000)),$((200 + i * 29 % 600)) $((300 + i * 71 % 1000)),$((330 + i * 29 % 600))" \
    -fill "rgba($((255 - i * 23 % 256)),$((i * 57 % 256)),200,0.7)" \
    -draw "rectangle $((100 + i * 43 % 900)),$((500 + i * 19 % 300)) $((500 + i * 43 % 900)),$((800 + i * 19 % 300))" \
    -fill "rgba(20,20,20,0.6)" \
    -draw "polygon $((800 + i * 11 % 600)),100 $((1500 - i * 17 % 300)),$((300 + i * 7 % 400)) $((700 + i * 31 % 500)),$((600 + i * 3 % 300))" \
    "${text[@]}" "${resize[@]}" -quality 92 "$dir/$base"
  # Camera data makes the photo an original, so the default "original photos only" scan finds it.
  if command -v exiv2 >/dev/null; then
    exiv2 -M"set Exif.Image.Make Mirelle" -M"set Exif.Image.Model Sample Camera" \
      -M"set Exif.Photo.DateTimeOriginal 2024:05:$(printf %02d $(( i % 28 + 1 ))) 10:00:00" "$dir/$base" 2>/dev/null || true
  fi
  (( i % 3 == 0 )) && return 0
  local files=("$base")
  case $(( i % 7 )) in
    0) cp "$dir/$base" "$dir/copies/s$n.jpg"; files+=("copies/s$n.jpg")
       convert "$dir/$base" -resize 50% -quality 88 "$dir/exported/s$n-half.jpg"; files+=("exported/s$n-half.jpg") ;;
    1) convert "$dir/$base" -quality 60 "$dir/exported/s$n-q60.jpg"; files+=("exported/s$n-q60.jpg")
       convert "$dir/$base" $png "$dir/exported/s$n.png"; files+=("exported/s$n.png") ;;
    2) convert "$dir/$base" -quality 85 "$dir/exported/s$n.webp"; files+=("exported/s$n.webp")
       convert "$dir/$base" -gravity center -crop 97%x97%+0+0 +repage -quality 90 "$dir/exported/s$n-crop.jpg"; files+=("exported/s$n-crop.jpg") ;;
    3) convert "$dir/$base" -modulate 115 -quality 90 "$dir/exported/s$n-bright.jpg"; files+=("exported/s$n-bright.jpg")
       cp "$dir/$base" "$dir/copies/s$n.jpg"; files+=("copies/s$n.jpg") ;;
    4) # HEIC encoding is slow: a smaller export, as phones share them.
       convert "$dir/$base" -resize 40% -quality 60 "$dir/exported/s$n.heic"; files+=("exported/s$n.heic") ;;
    5) convert "$dir/$base" -gravity center -crop 97%x97%+0+0 +repage -quality 75 "$dir/exported/s$n-crop.jpg"; files+=("exported/s$n-crop.jpg") ;;
    6) convert "$dir/$base" -resize 75% $png "$dir/exported/s$n.png"; files+=("exported/s$n.png")
       convert "$dir/$base" -modulate 112 -quality 80 "$dir/copies/s$n-bright.jpg"; files+=("copies/s$n-bright.jpg") ;;
  esac
  echo "${files[*]}"
}
export -f make_scene

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
seq 1 "$scenes" | xargs -P "$(nproc)" -I{} bash -c 'make_scene "$@"' _ {} "$dir" "$font" "$size" > "$tmp"
{
  echo "# $stamp"
  echo "# One group a line: paths relative to this folder, separated by spaces."
  sort "$tmp"
} > "$dir/expected-groups.txt"
echo "$dir"
