#!/usr/bin/env bash
# Engine benchmark: first scan and cached rescan of generated 12 MP JPEGs, and
# the grouping of 100,000 synthetic photos, and the cost of rotation matching with
# the burst figures over 20,000 small generated photos, and what keeping scan
# thumbnails adds per photo.
# Usage: bench/engine/run.sh [count] [burst bench count]
# The photos go to a temporary folder outside the repository, removed at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
COUNT=${1:-2000}
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" --target ScanEngine bench_engine_makejpegs bench_engine_scan bench_engine_group bench_engine_burst bench_engine_thumbs >/dev/null

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/photos" "$WORK/home"
echo "generating $COUNT JPEGs of 4000x3000 in $WORK/photos"
start=$(date +%s)
"$BUILD_DIR/bin/bench_engine_makejpegs" "$WORK/photos" "$COUNT"
echo "  done in $(( $(date +%s) - start )) s, $(du -sh "$WORK/photos" | cut -f1)"
# The engine's cache goes to the temporary home, never the user's.
HOME="$WORK/home" XDG_CACHE_HOME="$WORK/home/cache" "$BUILD_DIR/bin/bench_engine_scan" "$WORK/photos"
"$BUILD_DIR/bin/bench_engine_thumbs" "$WORK/photos"
"$BUILD_DIR/bin/bench_engine_group"
# Paints its photos into its own temporary folder and home.
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="mirelle.*=false" "$BUILD_DIR/bin/bench_engine_burst" "${2:-20000}"
