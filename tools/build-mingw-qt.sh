#!/usr/bin/env bash
# Builds a static Qt 5 (qtbase), hidapi (Windows backend) and QuaZip for x86_64 MinGW from
# Debian's source packages into a cached prefix, for connect's Windows build.
#   bash tools/build-mingw-qt.sh DEPS_PREFIX
# Qt links the project's MinGW OpenSSL from DEPS_PREFIX (tools/build-mingw-deps.sh). The prefix
# is reused while the source versions, this script, the compiler and DEPS_PREFIX stay the same.
# Prints the prefix on its last line.
set -euo pipefail

deps_prefix=${1:?usage: build-mingw-qt.sh DEPS_PREFIX}
cache_root=${ORVANE_QT_CACHE:-/var/cache/orvane-mingw-qt}
triple=x86_64-w64-mingw32
jobs=$(nproc)

source_version() {
  apt-cache showsrc --only-source "$1" | awk '/^Version:/{print $2}' | sort -V | tail -n 1
}

declare -A sources=([qt]=qtbase-opensource-src [hidapi]=hidapi [quazip]=libquazip1-qt5)
key=""
for name in qt hidapi quazip; do
  version=$(source_version "${sources[$name]}")
  [[ -n $version ]] || { echo "build-mingw-qt: no source package ${sources[$name]}" >&2; exit 1; }
  declare "version_$name=$version"
  key+="${sources[$name]}=$version;"
done
key+="script=$(sha256sum "$0" | cut -c1-16);"
key+="compiler=$($triple-g++-posix -dumpfullversion);"
key+="deps=$(cat "$deps_prefix/.complete" "$deps_prefix"/lib/*.a | sha256sum | cut -c1-16)"
hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
prefix="$cache_root/$hash"

if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-qt.XXXXXX")
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
  "$@" >"$work/step.log" 2>&1 || { tail -n 60 "$work/step.log" >&2; return 1; }
}

# Qt's mkspec names its tools by one prefix: point it at the posix-thread compilers.
cross_tools="$prefix/cross-tools"
make_cross_tools() {
  mkdir -p "$cross_tools"
  local tool
  for tool in gcc g++; do ln -sf "$(command -v $triple-$tool-posix)" "$cross_tools/$triple-$tool"; done
  for tool in ar ranlib nm strip objcopy windres; do
    ln -sf "$(command -v $triple-$tool)" "$cross_tools/$triple-$tool"
  done
}

build_qt() {
  local src; src=$(fetch qtbase-opensource-src "$version_qt")
  mkdir -p "$work/build-qt"
  cd "$work/build-qt"
  # Only what connect uses: Core, Gui, Widgets, Network and Test; the windows, offscreen
  # and minimal platforms (offscreen draws text with FreeType on Windows).
  quiet "$src/configure" -opensource -confirm-license -release -static -prefix "$prefix" \
    -xplatform win32-g++ -device-option CROSS_COMPILE="$cross_tools/$triple-" \
    -nomake examples -nomake tests -no-pkg-config -no-opengl -no-direct2d -no-dbus -no-icu \
    -system-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz \
    -no-feature-sql -no-feature-concurrent -no-feature-printer -no-feature-vulkan \
    -openssl-linked OPENSSL_INCDIR="$deps_prefix/include" OPENSSL_LIBDIR="$deps_prefix/lib" \
    OPENSSL_LIBS="-lssl -lcrypto -lws2_32 -lcrypt32 -lgdi32 -luser32 -ladvapi32"
  quiet make -j "$jobs"
  quiet make install
  cd - >/dev/null
}

cmake_cross=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_SYSTEM_NAME=Windows
  -DCMAKE_SYSTEM_PROCESSOR=x86_64
  -DCMAKE_C_COMPILER=$triple-gcc-posix
  -DCMAKE_CXX_COMPILER=$triple-g++-posix
  -DCMAKE_RC_COMPILER=$triple-windres
  -DCMAKE_FIND_ROOT_PATH="/usr/$triple;$prefix"
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  -DCMAKE_INSTALL_PREFIX="$prefix"
  -DBUILD_SHARED_LIBS=OFF
)

build_hidapi() {
  local src; src=$(fetch hidapi "$version_hidapi")
  quiet cmake -S "$src" -B "$work/build-hidapi" "${cmake_cross[@]}" \
    -DHIDAPI_BUILD_HIDTEST=OFF -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include
  quiet cmake --build "$work/build-hidapi" -j "$jobs"
  quiet cmake --install "$work/build-hidapi"
}

build_quazip() {
  local src; src=$(fetch libquazip1-qt5 "$version_quazip")
  quiet cmake -S "$src" -B "$work/build-quazip" "${cmake_cross[@]}" \
    -DQUAZIP_QT_MAJOR_VERSION=5 -DQUAZIP_ENABLE_TESTS=OFF -DQUAZIP_BZIP2=OFF \
    -DZLIB_LIBRARY="/usr/$triple/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$triple/include" \
    -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include
  quiet cmake --build "$work/build-quazip" -j "$jobs"
  quiet cmake --install "$work/build-quazip"
}

time_step() {
  local start=$SECONDS
  "$@"
  echo "build-mingw-qt: $1 took $((SECONDS - start)) s" >&2
}

time_step make_cross_tools
time_step build_qt
time_step build_hidapi
time_step build_quazip
printf '%s\n' "$key" > "$prefix/.complete"
find "$cache_root" -mindepth 1 -maxdepth 1 ! -name "$hash" -exec rm -rf {} +
echo "$prefix"
