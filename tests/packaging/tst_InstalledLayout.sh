#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the programs from there. They must
# find the engine, the plug-ins, the thumbnail library, the screens and the translations
# in bin/../lib/mirelle and bin/../share/mirelle, and a second start must hand its
# folders (relative to where it was started) to the running window.
set -euo pipefail
build=$1
tmp=$(mktemp -d /tmp/minstall-XXXXXX)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$tmp/window.log" ] && cat "$tmp/window.log" >&2; exit 1; }

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/mirelle bin/mirelle-cli \
    lib/mirelle/libScanEngine.so lib/mirelle/libPublicLoader.so lib/mirelle/libMultiLanguage.so \
    lib/mirelle/libMainFrame.so lib/mirelle/libThumbForge.so.0 lib/mirelle/libMirelleComponent.so.0 \
    share/mirelle/MirelleUI.rcc share/mirelle/translations/mirelle_de.qm \
    share/applications/org.mirelle.Mirelle.desktop share/metainfo/org.mirelle.Mirelle.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.mirelle.Mirelle.svg share/icons/hicolor/256x256/apps/org.mirelle.Mirelle.png \
    share/man/man1/mirelle-cli.1.gz share/bash-completion/completions/mirelle-cli \
    share/zsh/vendor-completions/_mirelle-cli; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
readelf -d "$prefix/bin/mirelle" | grep -q 'R.*PATH.*\[\$ORIGIN/../lib/mirelle\]' || fail "RPATH of bin/mirelle"

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
export XDG_RUNTIME_DIR=$tmp/runtime TMPDIR=$tmp USERNAME=installtester QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="*.debug=false;*.info=false;XLoadAppLog.info=true;XStartTimeLog.info=true"
unset MIRELLE_SCAN_ENGINE DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR" "$tmp/photos" "$tmp/more"
chmod 700 "$XDG_RUNTIME_DIR"

# The command line: its engine decodes and groups two copies of the installed icon.
"$prefix/bin/mirelle-cli" --version >/dev/null || fail "mirelle-cli --version"
cp "$prefix/share/icons/hicolor/256x256/apps/org.mirelle.Mirelle.png" "$tmp/photos/a.png"
cp "$tmp/photos/a.png" "$tmp/photos/b.png"
"$prefix/bin/mirelle-cli" scan --quiet --min-size 0 --all-images "$tmp/photos" >"$tmp/scan.json" \
  || fail "mirelle-cli scan exited with $?"
python3 -c 'import json, sys; assert len(json.load(open(sys.argv[1]))["groups"]) == 1' "$tmp/scan.json" \
  || fail "the copies were not grouped: $(cat "$tmp/scan.json")"

# The window: started on a folder, it loads every module and the screens.
: >"$tmp/window.log"
"$prefix/bin/mirelle" "$tmp/photos" 2>"$tmp/window.log" &
pid=$!
for _ in $(seq 300); do
  grep -q 'Init End' "$tmp/window.log" && break
  kill -0 "$pid" 2>/dev/null || fail "the window ended at start"
  sleep 0.1
done
grep -q 'Init End' "$tmp/window.log" || fail "the window did not come up"
if grep -E 'not loaded|not registered' "$tmp/window.log" >&2; then fail "the window misses a part"; fi
grep -qF "$tmp/photos" "$tmp/window.log" || fail "the window did not take its folder"

# A second start hands its folder to the first one and ends.
(cd "$tmp" && "$prefix/bin/mirelle" more 2>/dev/null) || fail "the second start exited with $?"
for _ in $(seq 100); do
  grep -qF "$tmp/more" "$tmp/window.log" && break
  sleep 0.1
done
grep -qF "$tmp/more" "$tmp/window.log" || fail "the running window did not get the second start's folder"
kill -0 "$pid" 2>/dev/null || fail "the first window ended"
echo "installed layout ok"
