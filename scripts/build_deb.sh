#!/usr/bin/env bash
# Builds the Debian packages (morva, morva-data, and morva-dbgsym beside them) from a clean copy of
# the tree into out/deb/, then checks them with lintian, which must report neither error nor
# warning. The copy holds the files git knows of and the new ones it does not ignore, as they are
# in the working tree (no build folders). Build jobs: $MORVA_DEB_JOBS, by default one per core;
# DEB_BUILD_OPTIONS (nocheck, ...) and DEB_BUILD_PROFILES pass on to dpkg-buildpackage.
#
# The packages are reproducible: two builds of the same tree give the same bytes. The build runs
# in one fixed folder whatever the checkout's own, as the level compiler keeps the path of the
# demo level it was built with, and every file of the copy is dated from debian/changelog.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install_deps.sh

jobs=${MORVA_DEB_JOBS:-$(nproc)}
version=$(dpkg-parsechangelog -S Version)
epoch=$(dpkg-parsechangelog -S Timestamp)
base=${TMPDIR:-/tmp}/morva-deb
work=$base/morva-$version
out=$PWD/out/deb

mkdir -p "$base"
exec 9>"$base/.lock"
flock -n 9 || { echo "build_deb.sh: another package build is using $base" >&2; exit 1; }
rm -rf "$work" "$out" "$base"/morva*_"$version"*
mkdir -p "$work" "$out"

git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] || [ -L "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf - | tar -xf - -C "$work"
find "$work" -exec touch -h -d "@$epoch" {} +

echo "Building the packages in $work (log: $out/build.log)"
start=$(date +%s)
(cd "$work" && DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" \
  dpkg-buildpackage -us -uc) >"$out/build.log" 2>&1 || {
  tail -n 60 "$out/build.log" >&2
  echo "build_deb.sh: the package build failed; see $out/build.log" >&2
  exit 1
}
echo "Built in $(($(date +%s) - start)) s"

changes=$base/morva_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes
for f in $(sed -n '/^Files:/,/^[^ ]/{/^ /s/.* //p}' "$changes") "$(basename "$changes")"; do
  cp "$base/$f" "$out/"
done
rm -rf "$work"
(cd "$out" && sha256sum -- *.deb *.ddeb)

echo "lintian:"
lintian --fail-on error,warning --display-info "$out/$(basename "$changes")"
echo "lintian: no errors, no warnings"
