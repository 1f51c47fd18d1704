#!/usr/bin/env bash
# What the removal guard costs: mirelle-cli apply --permanent on N exact copies of a 12 MP
# photo (each file with its own bytes), where every removal first reads the whole file and
# checks the kept copy. Prints the apply time, its time per file, and the time a plain read
# of the same files takes (the floor for a check that reads every byte).
# Usage: bench_apply_guard.sh path/to/mirelle-cli [COPIES]   (default 1000)
set -euo pipefail
CLI=$(realpath "$1")
copies=${2:-1000}
work=$(mktemp -d /tmp/bench-apply-guard.XXXXXX)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache \
       XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME" "$work/template"

convert -seed 7 -size 4000x3000 plasma:fractal -quality 92 "$work/original.jpg"
cp -p "$work/original.jpg" "$work/template/IMG_0000.jpg"
for i in $(seq 1 "$copies"); do
  # Bytes after the end of the image keep the pixels and make each file's content its own.
  { cat "$work/original.jpg"; printf 'copy %d' "$i"; } > "$work/template/copy_$i.jpg"
done
now() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { print b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }

# The scan and the removals see the same paths: a hard-linked copy of the template each time.
cp -al "$work/template" "$work/photos"
"$CLI" scan -q --all-images --min-size 1K -o "$work/scan.json" "$work/photos"
proposed=$(python3 -c 'import json,sys; print(sum(p["proposed"] for g in json.load(open(sys.argv[1]))["groups"] for p in g["photos"]))' "$work/scan.json")
bytes=$(du -sb "$work/template" | cut -f1)

t0=$(now); cat "$work/photos"/*.jpg > /dev/null; t1=$(now)
read_s=$(elapsed "$t0" "$t1")
t0=$(now); "$CLI" apply -q --dry-run "$work/scan.json" > /dev/null 2>&1; t1=$(now)
dry_s=$(elapsed "$t0" "$t1")
t0=$(now); "$CLI" apply -q --permanent "$work/scan.json" > /dev/null 2>&1; t1=$(now)
apply_s=$(elapsed "$t0" "$t1")
left=$(ls "$work/photos" | wc -l)

printf 'files: %d (%d proposed), %.0f MB, page cache warm\n' "$((copies + 1))" "$proposed" "$(ratio "$bytes" 1000000)"
printf 'plain read of every file:      %6.2f s\n' "$read_s"
printf 'apply --dry-run (checks only): %6.2f s\n' "$dry_s"
printf 'apply --permanent:             %6.2f s  (%.2f ms per removed file)\n' "$apply_s" "$(ratio "$apply_s" "$proposed" | awk '{ print $1 * 1000 }')"
printf 'files left: %d\n' "$left"
