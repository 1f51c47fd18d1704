#!/usr/bin/env bash
# The menu entry and the metainfo pass their validators, and both completions offer every
# command and option that mirelle-cli --help names.
set -euo pipefail
src=$1 bin=$2 cli=$3
desktop-file-validate "$src/org.mirelle.Mirelle.desktop"
appstreamcli validate --no-net --no-color "$bin/org.mirelle.Mirelle.metainfo.xml" >/dev/null \
  || appstreamcli validate --no-net --no-color "$bin/org.mirelle.Mirelle.metainfo.xml"
bash -n "$src/completions/mirelle-cli.bash"
if command -v zsh >/dev/null; then zsh -n "$src/completions/_mirelle-cli"; fi

help=$("$cli" --help)
commands=$(awk '/^Commands:/ { on = 1; next } /^[^ ]/ { on = 0 } on && /^  [a-z]/ { print $1 }' <<<"$help")
options=$(grep -oE '(^|[][ ,(|])--?[a-z][a-z-]*' <<<"$help" | grep -oE -- '--?[a-z][a-z-]*' | sort -u)
[ -n "$commands" ] && [ -n "$options" ] || { echo "could not read the help text" >&2; exit 1; }
missing=0
for file in "$src/completions/mirelle-cli.bash" "$src/completions/_mirelle-cli"; do
  for word in $commands $options; do
    if ! grep -qE -- "(^|[^a-z-])${word}([^a-z-]|$)" "$file"; then
      echo "$(basename "$file") does not offer $word" >&2
      missing=1
    fi
  done
done
exit $missing
