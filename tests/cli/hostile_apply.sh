#!/usr/bin/env bash
# Changes made to the disk between a scan and its removal, as a careless or hostile user
# would make them. Whatever happens, every picture that was on disk before the apply is
# still there after it (compared by sha256 of the contents), and outside files are untouched.
# Usage: hostile_apply.sh path/to/mirelle-cli
set -u
CLI=$(realpath "$1")
command -v convert >/dev/null || { echo "ImageMagick's convert is missing"; exit 1; }
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/.local/share XDG_CACHE_HOME=$WORK/home/.cache \
       XDG_CONFIG_HOME=$WORK/home/.config
mkdir -p "$HOME"
failures=0

picture() { convert -seed "$2" -size 480x360 plasma:fractal -quality 90 "$1"; }
manifest() { find "$@" -type f ! -name '*.json' -print0 2>/dev/null | xargs -0 -r sha256sum | awk '{print $1}' | sort -u; }
scan() { "$CLI" scan -q --all-images --min-size 1K -o "$2" "$1"; }
# The path the saved scan keeps (proposed false) or proposes, in its first group.
pick() { python3 -c 'import json,sys; g=json.load(open(sys.argv[1]))["groups"][0]["photos"]; print([p["path"] for p in g if p["proposed"]==(sys.argv[2]=="proposed")][0])' "$1" "$2"; }
# Rewrites a saved scan with a python expression over its parsed document d.
edit() { python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); exec(sys.argv[2]); json.dump(d,open(sys.argv[1],"w"))' "$1" "$2"; }

# A folder with one picture and its exact copy, another picture alone, scanned.
setup() {
  D=$WORK/$1; P=$D/photos
  mkdir -p "$P/camera" "$P/backup" "$D/outside"
  picture "$P/camera/IMG_1.jpg" 1; cp -p "$P/camera/IMG_1.jpg" "$P/backup/IMG_1.jpg"
  picture "$P/camera/IMG_2.jpg" 2
  echo "notes, not a photo" > "$D/outside/notes.txt"
  scan "$P" "$D/scan.json" || { echo "FAIL $1: scan failed"; failures=$((failures+1)); return 1; }
  KEPT=$(pick "$D/scan.json" kept); PROPOSED=$(pick "$D/scan.json" proposed)
}
before() { manifest "$P" "$D/outside" > "$D/before.txt"; cp "$D/outside/notes.txt" "$D/notes.orig"; }
verify() {
  local name=$1
  manifest "$P" "$D/outside" > "$D/after.txt"
  local lost; lost=$(comm -23 "$D/before.txt" "$D/after.txt" | wc -l)
  if [ "$lost" -ne 0 ] || ! cmp -s "$D/notes.orig" "$D/outside/notes.txt"; then
    echo "FAIL $name: $lost picture(s) lost"; failures=$((failures+1))
  else
    echo "ok   $name"
  fi
}

# Nothing changed: the proposed copy goes and the kept one stays (without this, a guard that
# refused everything would pass every case below).
setup unchanged && {
  before; "$CLI" apply -q --permanent "$D/scan.json"
  if [ -e "$PROPOSED" ] || [ ! -e "$KEPT" ]; then echo "FAIL unchanged: the proposed copy was not removed"; failures=$((failures+1)); fi
  verify unchanged
}
# The kept copy deleted, moved or swapped for a link after the scan.
setup kept-deleted && { rm "$KEPT"; before; "$CLI" apply -q --permanent "$D/scan.json"; verify kept-deleted; }
setup kept-moved && { mv "$KEPT" "$P/camera/renamed.jpg"; before; "$CLI" apply -q --permanent "$D/scan.json"; verify kept-moved; }
setup kept-symlink && { rm "$KEPT"; ln -s "$PROPOSED" "$KEPT"; before; "$CLI" apply -q --permanent "$D/scan.json"; verify kept-symlink; }
# The file to remove replaced by other content of the same size and time.
setup same-size && {
  picture "$D/other.jpg" 9; head -c "$(stat -c %s "$PROPOSED")" "$D/other.jpg" > "$D/cut.jpg"
  cat "$D/cut.jpg" > "$PROPOSED"; touch -r "$KEPT" "$PROPOSED"
  before; "$CLI" apply -q --permanent "$D/scan.json"; verify same-size
}
# Two saved scans of one folder, each keeping another copy, applied one after the other.
setup two-scans && {
  cp "$D/scan.json" "$D/scan2.json"
  edit "$D/scan2.json" 'g=d["groups"][0]["photos"]; [p.update(proposed=not p["proposed"]) for p in g]'
  before; "$CLI" apply -q --permanent "$D/scan.json"; "$CLI" apply -q --permanent "$D/scan2.json"; verify two-scans
}
# A list naming every copy of a group.
setup list-all && { before; printf '%s\n%s\n' "$KEPT" "$PROPOSED" | "$CLI" apply -q --permanent --list - "$D/scan.json"; verify list-all; }
# A hand-edited saved scan: a text file outside the scanned folder, and the kept copy spelled
# with "//" and "/./" in a second group that proposes it.
setup edited-json && {
  edit "$D/scan.json" "
import copy
g=d['groups'][0]['photos']
g.append(dict(g[0], path='$D/outside/notes.txt', proposed=True))
k=[p for p in g if not p['proposed']][0]
d['groups'].append({'photos':[dict(k, path=k['path'].replace('/camera/','//camera/./').replace('/backup/','//backup/./'), proposed=True), dict(g[0], proposed=False)]})"
  before; "$CLI" apply -q --permanent "$D/scan.json"; verify edited-json
}
# The same photo in two groups, proposed in one and kept in the other.
setup same-path-twice && {
  edit "$D/scan.json" 'import copy; g=copy.deepcopy(d["groups"][0]); [p.update(proposed=not p["proposed"]) for p in g["photos"]]; d["groups"].append(g)'
  before; "$CLI" apply -q --permanent "$D/scan.json"; verify same-path-twice
}
# "scan -o" naming a photo, and "--move-to" inside the scanned folder.
setup output-is-photo && {
  before; "$CLI" scan -q --all-images --min-size 1K -o "$P/camera/IMG_2.jpg" "$P"; rc=$?
  [ "$rc" -eq 4 ] || { echo "FAIL output-is-photo: exit $rc, not 4"; failures=$((failures+1)); }
  verify output-is-photo
}
setup move-inside && {
  before; "$CLI" apply -q --move-to "$P/duplicates" "$D/scan.json"; rc=$?
  [ "$rc" -ne 0 ] && [ ! -e "$P/duplicates" ] || { echo "FAIL move-inside: exit $rc"; failures=$((failures+1)); }
  verify move-inside
}
setup move-link-inside && {
  ln -s "$P/backup" "$D/dest"; before; "$CLI" apply -q --move-to "$D/dest" "$D/scan.json"; rc=$?
  [ "$rc" -eq 2 ] && [ -e "$PROPOSED" ] || { echo "FAIL move-link-inside: exit $rc"; failures=$((failures+1)); }
  verify move-link-inside
}
# The same through a bind mount of the scanned folder, where a mount namespace can be had.
setup move-bind-inside && {
  mkdir -p "$D/bound"; before
  if unshare -rm true 2>/dev/null; then
    unshare -rm bash -c 'mount --bind "$1" "$2" && "$3" apply -q --move-to "$2/dups" "$4"' _ "$P" "$D/bound" "$CLI" "$D/scan.json"
    rc=$?
    [ "$rc" -eq 2 ] && [ -e "$PROPOSED" ] || { echo "FAIL move-bind-inside: exit $rc"; failures=$((failures+1)); }
  else
    echo "skip move-bind-inside: no mount namespace here"
  fi
  verify move-bind-inside
}
# Names that are not UTF-8: undo names what it brought back by the same bytes as apply.
setup bad-name && {
  odd=$P/camera/$'\xff'.jpg; cp -p "$KEPT" "$odd"; scan "$P" "$D/scan.json"
  "$CLI" apply -q "$D/scan.json" > "$D/applied"; "$CLI" undo -q > "$D/undone"
  [ -e "$odd" ] && grep -qF "$odd" "$D/applied" && grep -qF "$odd" "$D/undone" \
    || { echo "FAIL bad-name: not named by its bytes"; failures=$((failures+1)); }
}
# A damaged removal journal: nothing is removed unless --no-undo.
setup broken-journal && {
  mkdir -p "$XDG_DATA_HOME/mirelle"; echo "not a database" > "$XDG_DATA_HOME/mirelle/removals.sqlite"
  before; "$CLI" apply -q "$D/scan.json"; rc=$?
  if [ "$rc" -ne 4 ] || [ ! -e "$PROPOSED" ]; then echo "FAIL broken-journal: exit $rc"; failures=$((failures+1)); fi
  "$CLI" apply -q --no-undo "$D/scan.json"
  [ ! -e "$PROPOSED" ] || { echo "FAIL broken-journal: --no-undo removed nothing"; failures=$((failures+1)); }
  verify broken-journal
  rm -f "$XDG_DATA_HOME/mirelle/removals.sqlite"
}

echo "$failures failed"
[ "$failures" -eq 0 ]
