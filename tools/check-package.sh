#!/usr/bin/env bash
# Builds the Debian package from a finished build, installs it on this machine with apt and
# runs it from the installed paths: the validators, mirelle-cli on generated samples, and
# the window started from its menu entry's Exec line under Xvfb. Used by .ci/run; it
# installs system-wide, so run it only where that is wanted (CI, a test machine).
#
# Usage: tools/check-package.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"

cmake --build "$build" --target appstream_screenshot >/dev/null
rm -f "$build"/mirelle_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$PWD/$build"/mirelle_*.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1)); screenshot: $build/packaging/screenshots/mirelle-results.png"
dpkg-deb -f "$deb" Depends
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$deb" </dev/null >/dev/null

tmp=$(mktemp -d /tmp/mpackage-XXXXXX)
xvfb_pid= app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

desktop=/usr/share/applications/org.mirelle.Mirelle.desktop
for f in /usr/bin/mirelle /usr/bin/mirelle-cli "$desktop" /usr/share/metainfo/org.mirelle.Mirelle.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/org.mirelle.Mirelle.svg /usr/share/icons/hicolor/48x48/apps/org.mirelle.Mirelle.png \
    /usr/share/man/man1/mirelle-cli.1.gz /usr/share/bash-completion/completions/mirelle-cli \
    /usr/share/zsh/vendor-completions/_mirelle-cli /usr/share/kio/servicemenus/mirelle-find-similar.desktop; do
  [ -e "$f" ] || fail "not installed: $f"
done
desktop-file-validate "$desktop"
appstreamcli validate --no-net --no-color /usr/share/metainfo/org.mirelle.Mirelle.metainfo.xml >/dev/null

# Nothing of the machine's user is touched: every folder the programs write lies in $tmp.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
export XDG_RUNTIME_DIR=$tmp/runtime TMPDIR=$tmp USERNAME=packagecheck
unset MIRELLE_SCAN_ENGINE DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

mirelle-cli --version
SAMPLE_SIZE=640x480 tools/make-samples.sh "$tmp/samples" 6 >/dev/null
mirelle-cli scan --quiet --all-images --min-size 0 --threshold 80 -o "$tmp/scan.json" "$tmp/samples"
groups=$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["groups"]))' "$tmp/scan.json")
expected=$(grep -vc '^#' "$tmp/samples/expected-groups.txt")
[ "$groups" -eq "$expected" ] || fail "the installed mirelle-cli found $groups groups, the samples hold $expected"

# The window, as the menu starts it (field codes dropped, the samples as its folder).
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n1)
read -r -a command <<<"${exec_line//%[fFuU]/}"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$tmp/display")
: >"$tmp/window.log"
QT_LOGGING_RULES="*.info=false;XStartTimeLog.info=true" "${command[@]}" "$tmp/samples" 2>"$tmp/window.log" &
app_pid=$!
for _ in $(seq 300); do
  grep -q 'Init End' "$tmp/window.log" && break
  kill -0 "$app_pid" 2>/dev/null || { cat "$tmp/window.log" >&2; fail "the window ended at start"; }
  sleep 0.1
done
grep -q 'Init End' "$tmp/window.log" || fail "the window did not come up"
# Up is not enough: it must stay up while the screens load and the thumbnails start.
sleep 3
kill -0 "$app_pid" 2>/dev/null || { cat "$tmp/window.log" >&2; fail "the window ended"; }
echo "package ok: ${command[*]} ran from $(command -v "${command[0]}")"
