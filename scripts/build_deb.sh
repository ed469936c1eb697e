#!/usr/bin/env bash
# Builds the Debian packages (morva and morva-data, morva-dbgsym in out/deb/dbgsym/, and the
# source package) from a clean copy of the tree into out/deb/, then checks them with lintian,
# which must report neither error nor warning. The copy holds the files git knows of and the new
# ones it does not ignore, as they are in the working tree (no build folders). Build jobs:
# $MORVA_DEB_JOBS, by default one per core; DEB_BUILD_OPTIONS (nocheck, ...) and
# DEB_BUILD_PROFILES pass on to dpkg-buildpackage.
#
#   scripts/build_deb.sh            one build, then lintian
#   scripts/build_deb.sh --twice    then a second build into out/deb-again, which must give the
#                                   same bytes
#
# The packages are reproducible: two builds of the same tree give the same bytes. The build runs
# in one fixed folder whatever the checkout's own, as the level compiler keeps the path of the
# demo level it was built with, and every file of the copy is dated from debian/changelog.
set -euo pipefail
cd "$(dirname "$0")/.."
twice=0
case "${1:-}" in
  --twice) twice=1 ;;
  "") ;;
  *) echo "usage: scripts/build_deb.sh [--twice]" >&2; exit 2 ;;
esac
./scripts/install_deps.sh

jobs=${MORVA_DEB_JOBS:-$(nproc)}
version=$(dpkg-parsechangelog -S Version)
epoch=$(dpkg-parsechangelog -S Timestamp)
changes=morva_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes
base=${TMPDIR:-/tmp}/morva-deb
work=$base/morva-$version
out=$PWD/out/deb
again=$PWD/out/deb-again

mkdir -p "$base"
exec 9>"$base/.lock"
flock -n 9 || { echo "build_deb.sh: another package build is using $base" >&2; exit 1; }
rm -rf "$out" "$again"
mkdir -p "$out"

# Builds the source and binary packages from a fresh copy of the tree into the folder $1.
build_into() {
  local dest=$1 log=$1/build.log start
  rm -rf "$work" "$base"/morva*_"$version"*
  mkdir -p "$work" "$dest"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] || [ -L "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$work"
  find "$work" -exec touch -h -d "@$epoch" {} +

  echo "Building the packages in $work (log: $log)"
  start=$(date +%s)
  (cd "$work" && DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -us -uc) >"$log" 2>&1 || {
    tail -n 60 "$log" >&2
    echo "build_deb.sh: the package build failed; see $log" >&2
    exit 1
  }
  echo "Built in $(($(date +%s) - start)) s"
  # The debug symbols go to a folder of their own, so that ./out/deb/*.deb names the two packages.
  mkdir -p "$dest/dbgsym"
  for f in $(sed -n '/^Files:/,/^[^ ]/{/^ /s/.* //p}' "$base/$changes") "$changes"; do
    case $f in
      *-dbgsym_*) cp "$base/$f" "$dest/dbgsym/" ;;
      *) cp "$base/$f" "$dest/" ;;
    esac
  done
  rm -rf "$work"
  (cd "$dest" && sha256sum -- *.deb dbgsym/*)
}

build_into "$out"
echo "lintian:"
lintian --fail-on error,warning --display-info "$out"/*.dsc "$out"/*.deb "$out"/dbgsym/*
echo "lintian: no errors, no warnings"

if [ $twice -eq 1 ]; then
  build_into "$again"
  for f in "$out"/*.deb "$out"/dbgsym/*; do
    cmp -- "$f" "$again/${f#"$out"/}" ||
      { echo "build_deb.sh: ${f#"$out"/} differs between two builds" >&2; exit 1; }
  done
  echo "Reproducible: the second build gave the same bytes"
fi
