#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need (only the missing ones).
# Uses sudo when not run as root.
set -euo pipefail

packages=(
  # building
  g++ cmake pkg-config make
  # the game
  libsdl2-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 nlohmann-json3-dev libpng-dev
  libjpeg62-turbo-dev libsndfile1-dev libmpg123-dev libx11-dev
  # the content tools
  libsquish-dev libcairo2-dev libfreetype-dev fonts-dejavu-core libmp3lame-dev espeak-ng
  # the tests
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick libjpeg-turbo-progs sox lame
  libnvtt-bin libxtst-dev
  # the window tests work the game as a player does (xdotool: real clicks and keys; xprop finds
  # the message box); SDL's message box under Xvfb needs the X core fonts
  xdotool x11-utils xfonts-base
  # the packaging tests: the validators of the desktop entry, the AppStream entry, the manual page
  desktop-file-utils appstream groff-base
  # hardening: the fuzz targets (clang's libFuzzer), the fault sweep (python3, strace); the
  # decoders built for the fuzzer from Debian's sources (dpkg-source unpacks them), and the
  # coverage report of their runs (llvm-profdata, llvm-cov)
  clang libclang-rt-14-dev python3 strace ninja-build llvm-14
  # the Debian packages (scripts/build_deb.sh): their build and the checker of the packages made
  debhelper dpkg-dev fakeroot lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
run apt-get update -qq
run env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
