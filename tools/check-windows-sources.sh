#!/usr/bin/env bash
# The Windows side of the platform layer is not built on this machine; this compiles its
# sources for syntax and warnings with the MinGW cross compiler against the host's Qt headers
# (apt-get install g++-mingw-w64-x86-64-posix). Qt's dllimport notes are the host headers'
# doing and are silenced.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=${CXX_WIN:-x86_64-w64-mingw32-g++-posix}
command -v "$cxx" >/dev/null || { echo "$cxx not found (apt-get install g++-mingw-w64-x86-64-posix)" >&2; exit 2; }
qt=$(qmake -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt5)
extra=$(mktemp -d)
trap 'rm -rf "$extra"' EXIT
# The cross compiler does not search the host's include folder; lend it the one header it needs.
cp /usr/include/xxhash.h "$extra/"
status=0
for f in platform/win/*.cpp; do
  "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -Wno-attributes -DUNICODE -D_UNICODE \
    -I platform -I platform/win -I public -I "$extra" -I "$qt" -I "$qt/QtCore" -I "$qt/QtGui" \
    -I "$qt/QtWidgets" "$f" || status=1
done
[ $status = 0 ] && echo "Windows platform sources compile cleanly"
exit $status
