#!/usr/bin/env bash
# Builds protobuf, jsoncpp, OpenSSL, cpp-httplib and kissfft for x86_64 MinGW from Debian's
# source packages into a cached prefix. The prefix is reused while the source
# versions and this script stay the same. Prints the prefix on its last line.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache_root=${ORVANE_DEPS_CACHE:-/var/cache/orvane-mingw-deps}
triple=x86_64-w64-mingw32
jobs=$(nproc)

source_version() {
  apt-cache showsrc --only-source "$1" | awk '/^Version:/{print $2}' | sort -V | tail -n 1
}

declare -A sources=(
  [protobuf]=protobuf [jsoncpp]=libjsoncpp [openssl]=openssl [httplib]=cpp-httplib
  [kissfft]=kissfft
)
key=""
for name in protobuf jsoncpp openssl httplib kissfft; do
  version=$(source_version "${sources[$name]}")
  [[ -n $version ]] || { echo "build-mingw-deps: no source package ${sources[$name]}" >&2; exit 1; }
  declare "version_$name=$version"
  key+="${sources[$name]}=$version;"
done
key+="script=$(sha256sum "$0" | cut -c1-16)"
hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
prefix="$cache_root/$hash"

if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix"

fetch() { # fetch SOURCE VERSION -> prints the unpacked folder
  local dir="$work/src-$1"
  mkdir -p "$dir"
  (cd "$dir" && { apt-get source -q --only-source "$1=$2" >/dev/null 2>&1 \
     || apt-get source -q --only-source "$1/bookworm" >/dev/null 2>&1; })
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# Runs a build step with its output in a log, shown only when the step fails.
quiet() {
  "$@" >"$work/step.log" 2>&1 || { tail -n 40 "$work/step.log" >&2; return 1; }
}

cmake_cross=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_SYSTEM_PROCESSOR=x86_64
  -DCMAKE_C_COMPILER=$triple-gcc-posix
  -DCMAKE_CXX_COMPILER=$triple-g++-posix
  -DCMAKE_RC_COMPILER=$triple-windres
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DBUILD_SHARED_LIBS=OFF
)

build_protobuf() {
  local src; src=$(fetch protobuf "$version_protobuf")
  quiet cmake -S "$src" -B "$work/build-protobuf" "${cmake_cross[@]}" \
    -Dprotobuf_BUILD_TESTS=OFF -Dprotobuf_BUILD_CONFORMANCE=OFF -Dprotobuf_BUILD_EXAMPLES=OFF \
    -Dprotobuf_BUILD_PROTOC_BINARIES=OFF -Dprotobuf_BUILD_LIBPROTOC=OFF \
    -Dprotobuf_WITH_ZLIB=OFF -Dprotobuf_INSTALL=ON
  quiet cmake --build "$work/build-protobuf" -j "$jobs"
  quiet cmake --install "$work/build-protobuf"
}

build_jsoncpp() {
  local src; src=$(fetch libjsoncpp "$version_jsoncpp")
  quiet cmake -S "$src" -B "$work/build-jsoncpp" "${cmake_cross[@]}" \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF
  quiet cmake --build "$work/build-jsoncpp" -j "$jobs"
  quiet cmake --install "$work/build-jsoncpp"
}

build_openssl() {
  local src; src=$(fetch openssl "$version_openssl")
  cd "$src"
  quiet ./Configure mingw64 --cross-compile-prefix=$triple- --prefix="$prefix" --libdir=lib \
    no-shared no-tests no-module no-legacy
  quiet make -j "$jobs" build_libs
  quiet make install_dev
  cd - >/dev/null
}

install_httplib() {
  local src; src=$(fetch cpp-httplib "$version_httplib")
  install -D -m 644 "$src/httplib.h" "$prefix/include/httplib.h"
}

build_kissfft() {
  local src; src=$(fetch kissfft "$version_kissfft")
  # kissfft installs by GNUInstallDirs only on UNIX: name the folders for the cross build.
  quiet cmake -S "$src" -B "$work/build-kissfft" "${cmake_cross[@]}" \
    -DCMAKE_INSTALL_INCLUDEDIR=include -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_BINDIR=bin \
    -DKISSFFT_DATATYPE=float -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
    -DKISSFFT_PKGCONFIG=OFF -DKISSFFT_OPENMP=OFF
  quiet cmake --build "$work/build-kissfft" -j "$jobs"
  quiet cmake --install "$work/build-kissfft"
}

time_step() {
  local start=$SECONDS
  "$@"
  echo "build-mingw-deps: $1 took $((SECONDS - start)) s" >&2
}

time_step build_protobuf
time_step build_jsoncpp
time_step build_openssl
time_step install_httplib
time_step build_kissfft
printf '%s\n' "$key" > "$prefix/.complete"
find "$cache_root" -mindepth 1 -maxdepth 1 ! -name "$hash" -exec rm -rf {} +
echo "$prefix"
