# Shared by test.sh and run.sh: configures and builds the build trees.
windows_tree=build/windows
native_tree=build/native
sanitizer_tree=build/fuzz  # clang: skin-archive reader and XML parser under ASan/UBSan, fuzzers

build_windows_tree() { # build_windows_tree DEPS_PREFIX
  cmake -S . -B "$windows_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_DEPS_PREFIX="$1" >/dev/null
  cmake --build "$windows_tree"
}

build_native_tree() {
  cmake -S . -B "$native_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$native_tree"
}

configure_and_build() { # configure_and_build DEPS_PREFIX
  build_windows_tree "$1"
  build_native_tree
  cmake -S . -B "$sanitizer_tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVANE_SANITIZER_TREE=ON >/dev/null
  cmake --build "$sanitizer_tree"
}
