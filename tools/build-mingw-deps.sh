#!/usr/bin/env bash
# Builds protobuf, jsoncpp, OpenSSL, cpp-httplib and kissfft for x86_64 MinGW from Debian's
# source packages into a cached prefix. The prefix is reused while the source versions, the
# toolchain and the build steps stay the same. Prints the prefix on its last line.
set -euo pipefail

source "$(dirname "$0")/mingw-source-build.sh"

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

build_prefix "${ORVANE_DEPS_CACHE:-/var/cache/orvane-mingw-deps}" "" \
  "protobuf=protobuf jsoncpp=libjsoncpp openssl=openssl httplib=cpp-httplib kissfft=kissfft" \
  build_protobuf build_jsoncpp build_openssl install_httplib build_kissfft
