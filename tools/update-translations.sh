#!/usr/bin/env bash
# Refreshes translations/*.ts from the texts in the C++ sources and the screens.
# Translate the new entries (Qt Linguist, or by hand), then rebuild: the .qm files are
# made by lrelease into build/bin/translations.
set -euo pipefail
cd "$(dirname "$0")/.."
sources=()
for dir in public plugins mirelleui qml cli report; do
  [ -d "$dir" ] && sources+=("$dir")
done
for lang in en de; do
  lupdate -locations relative -extensions cpp,h,qml,js \
    "${sources[@]}" -target-language "$lang" -ts "translations/mirelle_${lang}.ts"
done
