#!/usr/bin/env bash
# Times mirelle-cli on a generated photo corpus, with peak memory, beside open-source
# peers doing comparable work, and prints the figures and the ratios.
#
# Usage: bench/harness/run.sh [PHOTOS] [SIZE]
#   PHOTOS  about how many photos the corpus holds (default 2000)
#   SIZE    pixel size of the scenes (default 4000x3000, 12 MP)
# Environment: BUILD_DIR (default build), BENCH_DIR (default /tmp/mirelle-bench).
# The corpus is kept between runs; caches and settings live under BENCH_DIR only.
set -euo pipefail
cd "$(dirname "$0")/../.."

photos=${1:-2000}
size=${2:-4000x3000}
[[ $photos =~ ^[0-9]+$ && $photos -ge 10 ]] || { echo "run.sh: PHOTOS must be a number >= 10" >&2; exit 2; }
build=${BUILD_DIR:-build}
work=${BENCH_DIR:-/tmp/mirelle-bench}
# make-samples.sh makes 15 photos per 7 scenes.
scenes=$(( (photos * 7 + 14) / 15 ))
corpus=$work/corpus-$scenes-$size

# The tools: GNU time for peak memory, the peers from Debian.
need=()
[[ -x /usr/bin/time ]] || need+=(time)
command -v findimagedupes >/dev/null || need+=(findimagedupes)
command -v fdupes >/dev/null || need+=(fdupes)
command -v jdupes >/dev/null || need+=(jdupes)
if [[ ${#need[@]} -gt 0 ]]; then
  SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" </dev/null >/dev/null
fi

if [[ ! -x $build/bin/mirelle-cli || ! -f $build/bin/libScanEngine.so ]]; then
  [[ -f $build/CMakeCache.txt ]] || cmake -S . -B "$build" -G Ninja >/dev/null
  cmake --build "$build" --target mirelle-cli ScanEngine >/dev/null
fi
cli=$(realpath "$build/bin/mirelle-cli")

mkdir -p "$work"
echo "corpus: $corpus ($scenes scenes of $size)" >&2
start=$(date +%s)
SAMPLE_SIZE=$size tools/make-samples.sh "$corpus" "$scenes" >/dev/null
count=$(find "$corpus" -type f ! -name expected-groups.txt | wc -l)
bytes=$(du -sb --exclude=expected-groups.txt "$corpus" | cut -f1)
echo "corpus ready in $(( $(date +%s) - start )) s: $count photos, $(( bytes / 1048576 )) MiB" >&2

export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
out=$work/out
mkdir -p "$out"

# measure NAME COMMAND...: wall seconds and peak resident memory, into the results table.
declare -A seconds=()
measure() {
  local name=$1; shift
  local log=$out/time-$name.txt
  if ! /usr/bin/time -v -o "$log" "$@" >"$out/$name.stdout" 2>"$out/$name.stderr"; then
    echo "run.sh: $name failed; see $out/$name.stderr" >&2
  fi
  local secs kb
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i]; print s }' "$log")
  kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log")
  seconds[$name]=$secs
  awk -v n="$name" -v s="$secs" -v k="$kb" 'BEGIN { printf "%-26s %8.2f s %8.1f MiB\n", n, s, k / 1024 }'
}
ratio() { awk -v a="${seconds[$1]}" -v b="${seconds[$2]}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

rm -rf "$XDG_CACHE_HOME" "$work/fid.db"
opts=(-q --all-images --min-size 0)
echo "--- mirelle-cli" >&2
measure first-scan "$cli" scan "${opts[@]}" --threshold 70 "$corpus"
measure cached-rescan "$cli" scan "${opts[@]}" --threshold 70 "$corpus"
measure json-export "$cli" scan "${opts[@]}" --threshold 70 -o "$out/scan.json" "$corpus"
measure regroup-90 "$cli" regroup -q "$out/scan.json" --threshold 90 -o "$out/regroup.json"
echo "--- peers" >&2
measure findimagedupes-first findimagedupes -q -R -f "$work/fid.db" -t 90% "$corpus"
cp "$out/findimagedupes-first.stdout" "$out/findimagedupes.groups"
measure findimagedupes-cached findimagedupes -q -R -f "$work/fid.db" -t 90% "$corpus"
measure findimagedupes-regroup findimagedupes -q -R -f "$work/fid.db" -t 95% "$corpus"
measure fdupes fdupes -r -q "$corpus"
measure jdupes jdupes -r -q "$corpus"

echo "--- ratios (mirelle-cli time / peer time; below 1 is faster)"
echo "first scan     / findimagedupes first run : $(ratio first-scan findimagedupes-first)"
echo "cached rescan  / findimagedupes cached run: $(ratio cached-rescan findimagedupes-cached)"
echo "regroup        / findimagedupes regroup   : $(ratio regroup-90 findimagedupes-regroup)"
echo "cached rescan  / fdupes (exact only)      : $(ratio cached-rescan fdupes)"
echo "cached rescan  / jdupes (exact only)      : $(ratio cached-rescan jdupes)"

# How many of the known groups each found whole, and how many groups it reported.
python3 - "$corpus" "$out/scan.json" "$out/findimagedupes.groups" <<'PY'
import json, os, sys
corpus, scan, fid = sys.argv[1:4]
expected = set()
for line in open(os.path.join(corpus, "expected-groups.txt")):
    if not line.startswith("#") and line.strip():
        expected.add(frozenset(line.split()))
def rel(p): return os.path.relpath(p, corpus)
ours = {frozenset(rel(p["path"]) for p in g["photos"]) for g in json.load(open(scan))["groups"]}
peer = {frozenset(rel(p) for p in l.split()) for l in open(fid) if l.strip()}
for name, got in (("mirelle-cli", ours), ("findimagedupes", peer)):
    print(f"{name:15s} groups found exactly: {len(expected & got)}/{len(expected)}; groups reported: {len(got)}")
PY
