#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Kelvane under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/build-trees.sh

bash tools/setup-system.sh
configure_and_build "$(bash tools/build-mingw-deps.sh | tail -n 1)"

kelvane="$windows_tree/kelvane/Kelvane.exe"
if [[ ! -f $kelvane ]]; then
  echo "run: the build is complete; Kelvane itself is not part of it yet, so nothing is started."
  exit 0
fi
exec tools/wine-session.sh build/run env LC_ALL=zh_CN.UTF-8 wine "$kelvane"
