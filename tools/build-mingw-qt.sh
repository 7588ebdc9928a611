#!/usr/bin/env bash
# Builds a static Qt 5 (qtbase), hidapi (Windows backend) and QuaZip for x86_64 MinGW from
# Debian's source packages into a cached prefix, for connect's Windows build.
#   bash tools/build-mingw-qt.sh DEPS_PREFIX
# Qt links the project's MinGW OpenSSL from DEPS_PREFIX (tools/build-mingw-deps.sh). The prefix
# is reused while the source versions, the build steps, the toolchain and DEPS_PREFIX stay the
# same. Prints the prefix on its last line.
set -euo pipefail

deps_prefix=${1:?usage: build-mingw-qt.sh DEPS_PREFIX}
source "$(dirname "$0")/mingw-source-build.sh"

# The dependency prefix stays while this build links it: its cache root is held shared.
exec {deps_lock}>"$(dirname "$deps_prefix").lock"
flock -s -w "$lock_wait_s" "$deps_lock" || { echo "$script_name: $deps_prefix stayed locked" >&2; exit 1; }

# hidapi and QuaZip find the MinGW zlib, this Qt and the OpenSSL it links.
find_in_prefixes() {
  cmake_cross+=(
    -DCMAKE_FIND_ROOT_PATH="/usr/$triple;$deps_prefix;$prefix"
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  )
}

# Qt's mkspec names its tools by one prefix: point it at the posix-thread compilers.
make_cross_tools() {
  cross_tools="$prefix/cross-tools"
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
  # and minimal platforms (offscreen draws text with FreeType on Windows). Debian's source
  # leaves out the Wintab headers, so no tablet events.
  quiet "$src/configure" -opensource -confirm-license -release -static -prefix "$prefix" \
    -xplatform win32-g++ -device-option CROSS_COMPILE="$cross_tools/$triple-" \
    -nomake examples -nomake tests -no-pkg-config -no-opengl -no-direct2d -no-dbus -no-icu \
    -system-zlib -qt-pcre -qt-libpng -no-libjpeg -qt-freetype -qt-harfbuzz \
    -no-feature-sql -no-feature-concurrent -no-feature-printer -no-feature-vulkan \
    -no-feature-tabletevent \
    -openssl-linked OPENSSL_INCDIR="$deps_prefix/include" OPENSSL_LIBDIR="$deps_prefix/lib" \
    OPENSSL_LIBS="-lssl -lcrypto -lws2_32 -lcrypt32 -lgdi32 -luser32 -ladvapi32"
  quiet make -j "$jobs"
  quiet make install
  cd - >/dev/null
}

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

build_prefix "${ORVANE_QT_CACHE:-/var/cache/orvane-mingw-qt}" \
  "deps=$(cat "$deps_prefix/.complete" "$deps_prefix"/lib/*.a | sha256sum | cut -c1-16)" \
  "qt=qtbase-opensource-src hidapi=hidapi quazip=libquazip1-qt5" \
  find_in_prefixes make_cross_tools build_qt build_hidapi build_quazip
