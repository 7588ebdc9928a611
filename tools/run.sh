#!/usr/bin/env bash
# Builds what is needed and starts a program:
#   bash tools/run.sh          Kelvane under Wine, with the speech SDK stand-in beside it
#   bash tools/run.sh demo     the dictation road on simulated devices, typing into Notepad;
#                              with KELVANE_DEMO_SCREENSHOT=FILE.png it saves a picture and quits
#   bash tools/run.sh doravel  the settings tool under Wine, with fake control and BLE devices
#   bash tools/run.sh connect  the peripheral program (native)
#   bash tools/run.sh connect-windows       connect.exe under Wine (builds the MinGW Qt first)
#   bash tools/run.sh connect-windows-demo  connect_demo.exe under Wine, two simulated mice;
#                              with CONNECT_DEMO_SCREENSHOT=FILE.png it saves a picture and quits
# Windows programs use the user's display when DISPLAY is set, otherwise a private Xvfb
# (the demo's picture is always taken on a private one). They share one Wine prefix,
# build/run/wineprefix, kept between runs with the settings saved in it (remove it to start
# afresh); one run at a time uses it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/build-trees.sh

program=${1:-kelvane}
case $program in
  kelvane) exe=$windows_tree/kelvane/windows/Kelvane.exe ;;
  demo) exe=$windows_tree/kelvane/demo/kelvane_demo.exe ;;
  doravel) exe=$windows_tree/doravel/Doravel.exe ;;
  connect) exe=$native_tree/connect/shell/connect ;;
  connect-windows) exe=$connect_windows_tree/connect/shell/connect.exe ;;
  connect-windows-demo) exe=$connect_windows_tree/connect/demo/connect_demo.exe ;;
  *) echo "usage: bash tools/run.sh [kelvane|demo|doravel|connect|connect-windows|connect-windows-demo]" >&2
     exit 2 ;;
esac

bash tools/setup-system.sh
deps_prefix=""
[[ $program == connect ]] || deps_prefix=$(bash tools/build-mingw-deps.sh | tail -n 1)
case $program in
  connect) build_native_tree ;;
  connect-windows*)
    build_connect_windows_tree "$deps_prefix" "$(bash tools/build-mingw-qt.sh "$deps_prefix" | tail -n 1)" ;;
  *) build_windows_tree "$deps_prefix" ;;
esac

if [[ ! -f $exe ]]; then
  echo "run: $program is not built yet: the build is complete and has no $exe, so nothing is started." >&2
  exit 1
fi

if [[ $program == connect ]]; then
  if [[ -n ${DISPLAY:-} ]]; then exec "$exe"; fi
  exec xvfb-run -a "$exe"
fi

user_display=${DISPLAY:-}
for picture_variable in KELVANE_DEMO_SCREENSHOT CONNECT_DEMO_SCREENSHOT; do
  [[ -n ${!picture_variable:-} ]] || continue
  picture=$(realpath -m "${!picture_variable}")
  mkdir -p "$(dirname "$picture")"
  export "$picture_variable=Z:${picture//\//\\}"
  user_display=""
done
# wine-session.sh prepares the prefix on its own display; on the user's display the
# session's server is restarted there.
export ORVANE_USER_DISPLAY=$user_display
export ORVANE_FAKE_DEVICES=$([[ $program == doravel ]] && echo 1 || true)
exec tools/wine-session.sh --keep-prefix build/run bash -c '
  if [[ -n $ORVANE_USER_DISPLAY ]]; then
    wineserver -k
    export DISPLAY=$ORVANE_USER_DISPLAY
  fi
  cd "$(dirname "$1")"
  if [[ -n $ORVANE_FAKE_DEVICES ]]; then
    # The settings tool only lists microphones: no sound driver probes (and complains about)
    # hardware this machine lacks.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv,wineoss.drv="
    wine ./FakeDevices.exe add
  fi
  LC_ALL=zh_CN.UTF-8 wine "./$(basename "$1")"' run "$exe"
