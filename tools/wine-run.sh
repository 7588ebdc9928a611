#!/usr/bin/env bash
# Runs a Windows executable under Wine in the test run's prefix (see wine-session.sh).
# CTest uses this as the cross-compiling emulator.
set -euo pipefail
: "${WINEPREFIX:?run the tests through tools/test.sh (WINEPREFIX is not set)}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine's ANSI code page becomes 936 (GBK) from the locale name alone.
exec env LC_ALL=zh_CN.UTF-8 wine "$@"
