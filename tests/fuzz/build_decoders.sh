#!/usr/bin/env bash
# Builds the decoders the game reads pictures and sounds with (libjpeg-turbo, libsndfile and
# libmpg123, from Debian's source packages) as static libraries carrying the fuzzer's coverage,
# ASan and UBSan, so that the jpeg and sound fuzz targets are guided by what happens inside them.
#   tests/fuzz/build_decoders.sh [BUILD_DIR]        (BUILD_DIR: build-fuzz)
# The sources go to BUILD_DIR/decoders/src, the libraries and headers to BUILD_DIR/decoders/prefix
# (give it to CMake as MORVA_FUZZ_DECODERS; tests/fuzz/run.sh -d does both). The sources are
# bookworm's newest, the versions an up-to-date system has installed, fetched through a sources
# list and package lists of their own under BUILD_DIR: the system's apt setup is left as it was.
# Runs at the lowest priority, two jobs at a time.
# UBSan reports inside the libraries are printed and the run goes on (only the game's own code
# stops at one): grep the fuzzer's log for "runtime error".
# libsndfile is built without FLAC, Ogg, Vorbis and Opus (it then refuses those files, as the
# game's content has none); its MPEG codec is in, over the libmpg123 built here (libmp3lame, for
# writing only, is the system's). libjpeg-turbo has no SIMD: its assembly would carry no coverage.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath -m "${1:-build-fuzz}")
top=$build/decoders
src=$top/src prefix=$top/prefix apt=$top/apt
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
export CC=clang CXX=clang++ CFLAGS="$flags" CXXFLAGS="$flags" LDFLAGS="-fsanitize=address,undefined"
quiet() { "$@" >"$top/log.txt" 2>&1 || { tail -n 40 "$top/log.txt"; echo "failed: $*" >&2; exit 1; }; }
mkdir -p "$src" "$prefix" "$apt/lists/partial" "$apt/cache/archives/partial"

# Debian's source packages, fetched once.
apt_opts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o Debug::NoLocking=1
  -o APT::Sandbox::User=root)
fetch() {  # fetch SOURCE_PACKAGE: unpacks it into $src/SOURCE_PACKAGE
  local name=$1
  [ -d "$src/$name" ] && return
  if [ ! -f "$apt/updated" ]; then
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    {
      echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main"
      echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main"
      echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main"
    } >"$apt/sources.list"
    quiet apt-get "${apt_opts[@]}" update
    touch "$apt/updated"
  fi
  rm -rf "$src/.fetch" && mkdir -p "$src/.fetch"
  # apt checks every file it gets against the archive's signed index. It fails the whole fetch
  # when one named in the .dsc is missing: mpg123's upstream signature is not in the archive, and
  # is of no use here; dpkg-source then unpacks without looking for it.
  (cd "$src/.fetch" && apt-get "${apt_opts[@]}" source --download-only "$name" >"$top/log.txt" 2>&1) ||
    grep -q '\.asc  *404' "$top/log.txt" || { tail -n 20 "$top/log.txt"; exit 1; }
  (cd "$src/.fetch" && quiet dpkg-source --no-check -x ./*.dsc "$src/$name")
  basename "$src"/.fetch/*.dsc .dsc >"$src/$name/.debian-version"
  rm -rf "$src/.fetch"
}

# Each library is built once; delete its stamp in the prefix to build it again.
built() { [ -f "$prefix/.built-$1" ]; }
stamp() { cat "$src/$1/.debian-version" >"$prefix/.built-$1"; }

fetch mpg123
if ! built mpg123; then
  rm -rf "$top/mpg123" && mkdir -p "$top/mpg123"
  # The generic C decoder (no hand-written assembly); the player beside it, built too, is unused.
  (cd "$top/mpg123" && quiet nice -n 19 "$src/mpg123/configure" --prefix="$prefix" \
    --libdir="$prefix/lib" --disable-shared --enable-static --with-cpu=generic_fpu \
    --enable-modules=no --with-audio=dummy --with-pic)
  quiet nice -n 19 make -C "$top/mpg123" -j2
  quiet make -C "$top/mpg123" install
  stamp mpg123
fi

fetch libjpeg-turbo
if ! built libjpeg-turbo; then
  quiet nice -n 19 cmake -S "$src/libjpeg-turbo" -B "$top/libjpeg-turbo" -G Ninja \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=0 -DWITH_TURBOJPEG=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
  quiet nice -n 19 cmake --build "$top/libjpeg-turbo" -j2
  quiet cmake --install "$top/libjpeg-turbo"
  stamp libjpeg-turbo
fi

fetch libsndfile
if ! built libsndfile; then
  quiet nice -n 19 cmake -S "$src/libsndfile" -B "$top/libsndfile" -G Ninja \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_REGTEST=OFF -DENABLE_CPACK=OFF \
    -DINSTALL_MANPAGES=OFF -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=ON \
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
  grep -q 'ENABLE_MPEG:BOOL=ON' "$top/libsndfile/CMakeCache.txt" ||
    { echo "libsndfile: no MPEG codec (libmpg123 or libmp3lame not found)" >&2; exit 1; }
  quiet nice -n 19 cmake --build "$top/libsndfile" -j2
  quiet cmake --install "$top/libsndfile"
  stamp libsndfile
fi

for lib in mpg123 libjpeg-turbo libsndfile; do printf '%s ' "$(cat "$prefix/.built-$lib")"; done
echo "in $prefix"
