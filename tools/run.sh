#!/usr/bin/env bash
# Installs what is needed, builds, makes the sample photos and starts the program on them.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
args=("$@")
if [ -x tools/make-samples.sh ]; then
  tools/make-samples.sh samples >/dev/null
  [ ${#args[@]} -eq 0 ] && args=("$PWD/samples")
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting under Xvfb." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" build/bin/mirelle "${args[@]}"
fi
exec build/bin/mirelle "${args[@]}"
