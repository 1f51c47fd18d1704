#!/usr/bin/env bash
# Pictures of every screen at three window sizes, in English and German, light and dark:
# one folder per combination below the output folder (default: screenshots).
# Usage: tools/screenshot/shoot-all.sh [<build folder>] [<output folder>]
set -euo pipefail
build=${1:-build}
out=${2:-screenshots}
tool="$build/bin/mirelle-screenshot"
[ -x "$tool" ] || { echo "build the mirelle-screenshot target first ($tool)" >&2; exit 1; }
run() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 2600x1500x24" "$@"; fi
}
for size in 1024x640 1600x1000 2560x1440; do
  for lang in en de; do
    for palette in light dark; do
      dir="$out/$size-$lang-$palette"
      flags=(--size "$size" --lang "$lang")
      [ "$palette" = dark ] && flags+=(--dark)
      run "$tool" "${flags[@]}" "$dir" >/dev/null
      echo "$dir"
    done
  done
done
