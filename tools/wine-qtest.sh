#!/usr/bin/env bash
# Runs a Windows QtTest program under Wine in the test run's prefix (see wine-session.sh);
# CTest uses it for connect's Windows tests.
#   wine-qtest.sh PROGRAM [QTTEST ARGUMENTS...]
# Wine passes no QT_* variables to Windows programs: the offscreen platform and its font folder
# go into the prefix's user environment (a test that needs real windows passes "-platform windows").
# Wine's console output does not
# reach CTest: QtTest writes its log to a file, shown here. A crashing process can exit with
# 0 under Wine, so the run passes only when the log ends with totals of no failure.
set -uo pipefail
: "${WINEPREFIX:?run the tests through tools/test.sh (WINEPREFIX is not set)}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
# The offscreen platform reads the font files of one folder: WenQuanYi has Latin and Chinese.
wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\wqy' /f >/dev/null 2>&1

log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
env LC_ALL=zh_CN.UTF-8 wine "$@" -o "Z:${log//\//\\},txt"
status=$?
cat "$log"
if (( status == 0 )) && ! grep -Eq '^Totals: [0-9]+ passed, 0 failed' "$log"; then
  echo "wine-qtest: $1 ended without QtTest's totals (crashed?)" >&2
  status=1
fi
exit $status
