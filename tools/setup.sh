#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Safe to run again:
# when everything is already there it only checks and returns.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config clang-format clang-14 libclang-rt-14-dev
  # the program: Qt Widgets (with its offscreen and xcb platforms) and libcurl
  qt6-base-dev libqt6gui6 qt6-translations-l10n libgl-dev libcurl4-openssl-dev
  # tests, benchmarks, the sample server
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev curl
  # Chinese text on screen, and a real display for looking at the program
  fonts-wqy-microhei xvfb xdotool imagemagick x11-utils
  # the Windows build: the mingw-w64 cross compiler, and Wine to run its tests
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq </dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
