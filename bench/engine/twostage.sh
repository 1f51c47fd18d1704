#!/usr/bin/env bash
# First scan of a camera-like library with two stages and with one, beside a bare
# `djpeg -scale 1/8 -grayscale` pass over the same files on as many processes as the
# engine has threads: 12 MP JPEGs with camera EXIF and a 160x120 thumbnail, 10 % in
# groups, one in fifty cropped after its thumbnail was written.
# Usage: bench/engine/twostage.sh [count]   (the library goes to a temporary folder)
set -euo pipefail
cd "$(dirname "$0")/../.."
COUNT=${1:-500}
BUILD_DIR=${BUILD_DIR:-build}
command -v djpeg >/dev/null || { echo "twostage.sh: djpeg is needed (libjpeg-turbo-progs)" >&2; exit 3; }
cmake --build "$BUILD_DIR" --target ScanEngine bench_engine_makejpegs bench_engine_twostage >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
echo "generating $COUNT camera JPEGs of 4000x3000 in $WORK"
"$BUILD_DIR/bin/bench_engine_makejpegs" "$WORK" "$COUNT" camera
THREADS=$(( $(nproc) > 2 ? $(nproc) : 2 ))
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
# Cold and warm files alike for all three: read everything once first.
cat "$WORK"/*.jpg >/dev/null
start=$(date +%s.%N)
find "$WORK" -name '*.jpg' -print0 | xargs -0 -n 20 -P "$THREADS" sh -c 'for f; do djpeg -scale 1/8 -grayscale "$f" >/dev/null; done' sh
djpeg_s=$(echo "$(date +%s.%N) - $start" | bc -l)
printf 'djpeg 1/8 grey pass: %.2f s wall on %d processes\n' "$djpeg_s" "$THREADS"
QT_LOGGING_RULES="mirelle.*=false" "$BUILD_DIR/bin/bench_engine_twostage" "$WORK" | tee "$WORK/out.txt"
two_s=$(sed -n 's/^two stages: \([0-9.]*\) s wall.*/\1/p' "$WORK/out.txt")
one_s=$(sed -n 's/^one stage:  \([0-9.]*\) s wall.*/\1/p' "$WORK/out.txt")
printf 'two stages / djpeg pass: %.3f (goal at most 0.3); one stage / djpeg pass: %.3f\n' \
  "$(echo "$two_s / $djpeg_s" | bc -l)" "$(echo "$one_s / $djpeg_s" | bc -l)"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
