#!/usr/bin/env bash
# Runs a Windows test executable under Wine in the test run's prefix (see wine-session.sh).
# CTest uses this as the cross-compiling emulator.
# A crashing process can exit with 0 under Wine (its debugger races the exit), so the test's
# own result is taken from a file its main writes when all tests ran.
set -uo pipefail
: "${WINEPREFIX:?run the tests through tools/test.sh (WINEPREFIX is not set)}"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

result=$(mktemp)
trap 'rm -f "$result"' EXIT
: > "$result"
export ORVANE_TEST_RESULT_FILE="Z:${result//\//\\}"

# Wine's ANSI code page becomes 936 (GBK) from the locale name alone; a test that needs another
# code page names its locale in ORVANE_WINE_LOCALE.
env LC_ALL="${ORVANE_WINE_LOCALE:-zh_CN.UTF-8}" wine "$@"
status=$?
if (( status == 0 )) && [[ $(cat "$result") != 0 ]]; then
  echo "wine-run: $1 ended without reporting its result (crashed?)" >&2
  status=1
fi
exit $status
