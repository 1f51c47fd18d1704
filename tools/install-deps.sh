#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config git
  qtbase5-dev qtbase5-dev-tools qtdeclarative5-dev qtdeclarative5-dev-tools qtquickcontrols2-5-dev qttools5-dev-tools
  qml-module-qtquick2 qml-module-qtquick-controls2 qml-module-qtquick-layouts
  qml-module-qtquick-window2 qml-module-qtquick-dialogs qml-module-qtquick-controls qml-module-qttest qml-module-qtqml-models2
  qt5-image-formats-plugins libqt5sql5-sqlite
  libjpeg62-turbo-dev libturbojpeg0-dev libheif-dev libraw-dev libexiv2-dev libsqlite3-dev libxxhash-dev
  libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg-turbo-progs
  xvfb xauth imagemagick exiv2 python3
  librsvg2-bin help2man desktop-file-utils appstream zsh
  # Real photographs for the proposal test and benchmark (tools/make-variants.sh).
  mate-backgrounds lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 plasma-workspace-wallpapers python3-skimage
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
fi
