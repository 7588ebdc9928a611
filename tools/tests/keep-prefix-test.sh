#!/usr/bin/env bash
# wine-session.sh --keep-prefix: what a program saves in the prefix is there at the next such
# session, a second session at once is refused, what a session leaves running does not hold the
# prefix, and a session without the flag starts afresh.
#   keep-prefix-test.sh RUN_DIR
set -euo pipefail
session=$(cd "$(dirname "$0")/.." && pwd)/wine-session.sh
run_dir=$1
rm -rf "$run_dir"

"$session" --keep-prefix "$run_dir" wine cmd /c 'echo saved> C:\kept.txt'
# A program left running by a session keeps no lock: the next session starts at once.
"$session" --keep-prefix "$run_dir" bash -c 'sleep 10 >/dev/null 2>&1 &'
kept=$("$session" --keep-prefix "$run_dir" wine cmd /c 'type C:\kept.txt' | tr -d '\r')
[[ $kept == saved ]] || { echo "the kept prefix lost the saved file (read: '$kept')" >&2; exit 1; }

holding=$run_dir/holding
"$session" --keep-prefix "$run_dir" bash -c 'touch "$1"; while [[ -e $1 ]]; do sleep 0.1; done' _ "$holding" &
holder=$!
for _ in $(seq 300); do [[ -e $holding ]] && break; sleep 0.1; done
if "$session" --keep-prefix "$run_dir" true 2>/dev/null; then
  echo "a second session used the prefix in use" >&2; rm -f "$holding"; exit 1
fi
rm -f "$holding"
wait "$holder"

"$session" "$run_dir" true
[[ ! -e $run_dir/wineprefix/drive_c/kept.txt ]] || { echo "a fresh session kept the old prefix" >&2; exit 1; }
echo "kept prefix: saved file kept, second session refused, fresh session starts afresh"
