# Shared by test.sh and run.sh: configures and builds the two build trees.
windows_tree=build/windows
native_tree=build/native

configure_and_build() { # configure_and_build DEPS_PREFIX
  cmake -S . -B "$windows_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORVANE_DEPS_PREFIX="$1" >/dev/null
  cmake --build "$windows_tree"
  cmake -S . -B "$native_tree" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$native_tree"
}
