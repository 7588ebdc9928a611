#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Kelvane under Wine.
#   run.sh doravel   starts Doravel instead, with fake control and BLE devices present.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/build-trees.sh

bash tools/setup-system.sh
configure_and_build "$(bash tools/build-mingw-deps.sh | tail -n 1)"

if [[ ${1:-} == doravel ]]; then
  exec tools/wine-session.sh build/run env LC_ALL=zh_CN.UTF-8 bash -c \
    'wine "$0/FakeDevices.exe" add && wine "$0/Doravel.exe"' "$PWD/$windows_tree/doravel"
fi

kelvane="$windows_tree/kelvane/Kelvane.exe"
if [[ ! -f $kelvane ]]; then
  echo "run: the build is complete; Kelvane itself is not part of it yet, so nothing is started."
  exit 0
fi
exec tools/wine-session.sh build/run env LC_ALL=zh_CN.UTF-8 wine "$kelvane"
