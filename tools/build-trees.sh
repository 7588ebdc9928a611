# Shared by test.sh and run.sh: configures and builds the build trees.
windows_tree=build/windows
native_tree=build/native
sanitizer_tree=build/fuzz  # clang: skin-archive reader and XML parser under ASan/UBSan, fuzzers
connect_windows_tree=build/connect-windows  # connect.exe and its tests on the MinGW Qt

build_windows_tree() { # build_windows_tree DEPS_PREFIX
  # Library paths found in an earlier prefix stay cached: a new prefix needs a fresh configure.
  if ! grep -qsx "ORVANE_DEPS_PREFIX:PATH=$1" "$windows_tree/CMakeCache.txt"; then
    rm -f "$windows_tree/CMakeCache.txt"
  fi
  cmake -S . -B "$windows_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_DEPS_PREFIX="$1" >/dev/null
  cmake --build "$windows_tree"
}

configure_native_tree() {
  cmake -S . -B "$native_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
}

build_native_tree() {
  configure_native_tree
  cmake --build "$native_tree"
}

build_connect_windows_tree() { # build_connect_windows_tree DEPS_PREFIX QT_PREFIX
  # connect's images are drawn by the native tree's connect_imagegen.
  configure_native_tree
  cmake --build "$native_tree" --target connect_imagegen
  if ! grep -qsx "ORVANE_QT_PREFIX:PATH=$2" "$connect_windows_tree/CMakeCache.txt"; then
    rm -f "$connect_windows_tree/CMakeCache.txt"
  fi
  cmake -S . -B "$connect_windows_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_DEPS_PREFIX="$1" \
    -DORVANE_QT_PREFIX="$2" -DORVANE_CONNECT_WINDOWS=ON \
    -DCONNECT_HOST_IMAGEGEN="$PWD/$native_tree/connect/connect_imagegen" >/dev/null
  cmake --build "$connect_windows_tree"
}

configure_and_build() { # configure_and_build DEPS_PREFIX QT_PREFIX
  build_windows_tree "$1"
  build_native_tree
  cmake -S . -B "$sanitizer_tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVANE_SANITIZER_TREE=ON >/dev/null
  cmake --build "$sanitizer_tree"
  build_connect_windows_tree "$1" "$2"
}
