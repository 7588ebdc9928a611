#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/build-trees.sh

start=$SECONDS
bash tools/setup-system.sh
deps_prefix=$(bash tools/build-mingw-deps.sh | tail -n 1)
qt_prefix=$(bash tools/build-mingw-qt.sh "$deps_prefix" | tail -n 1)
setup_time=$((SECONDS - start))

start=$SECONDS
configure_and_build "$deps_prefix" "$qt_prefix"
build_time=$((SECONDS - start))

start=$SECONDS
status=0
tools/wine-session.sh "$windows_tree/test-run" \
  ctest --test-dir "$windows_tree" --output-on-failure -j "$(nproc)" || status=1
tools/wine-session.sh "$connect_windows_tree/test-run" \
  ctest --test-dir "$connect_windows_tree" --output-on-failure -j "$(nproc)" || status=1
ctest --test-dir "$native_tree" --output-on-failure -j "$(nproc)" || status=1
# Sanitized parser tests and the fuzzers (about a minute each, run side by side).
ctest --test-dir "$sanitizer_tree" --output-on-failure -j "$(nproc)" || status=1
test_time=$((SECONDS - start))

echo "timings: set-up ${setup_time} s, build ${build_time} s, tests ${test_time} s"
exit $status
