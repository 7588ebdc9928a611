#!/usr/bin/env bash
# Runs a command with a private Xvfb display and a fresh Wine prefix, for one test run.
#   wine-session.sh [--keep-prefix] RUN_DIR COMMAND...
# The prefix is copied from a template made once (and remade when this script changes);
# the wine server stays up for the whole run and is shut down at the end. With --keep-prefix
# the prefix in RUN_DIR is copied only when there is none and kept afterwards, with what the
# programs saved in it, whatever becomes of the template. One session at a time uses a RUN_DIR.
set -euo pipefail

keep_prefix=false
if [[ ${1:-} == --keep-prefix ]]; then keep_prefix=true; shift; fi
run_dir=$(realpath -m "$1"); shift
here=$(cd "$(dirname "$0")" && pwd)
template_root=${ORVANE_WINE_CACHE:-/var/cache/orvane-wine}
template="$template_root/template-$(sha256sum "$0" | cut -c1-16)"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes its ANSI code page (936) from the locale name; no glibc locale is needed.
wine() { env LC_ALL=zh_CN.UTF-8 wine "$@"; }

# Each display number is claimed with a lock file held for the whole session, so two sessions
# started at once never share one; Xvfb's own lock only shows a server that is already up.
start_display() {
  local n
  mkdir -p /tmp/.orvane-displays
  for n in $(seq 90 150); do
    exec {display_lock}>"/tmp/.orvane-displays/$n.lock"
    if ! flock -n "$display_lock"; then exec {display_lock}>&-; continue; fi
    if [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; then exec {display_lock}>&-; continue; fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 {run_lock}>&- &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [[ -e /tmp/.X11-unix/X$n ]] && kill -0 "$xvfb_pid" 2>/dev/null && { export DISPLAY=":$n"; return 0; }
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    exec {display_lock}>&-
  done
  echo "wine-session: no X display could be started" >&2
  return 1
}

# Windows registry file: UTF-16LE with a byte-order mark, so the Chinese names survive.
write_registry() {
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"微软雅黑"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"微软雅黑"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
REG
  } > "$1"
}

make_template() {
  local tmp="$template.tmp"
  rm -rf "$tmp"; mkdir -p "$tmp"
  (
    export WINEPREFIX="$tmp"
    wine wineboot -i >/dev/null 2>&1
    write_registry "$tmp/drive_c/orvane.reg"
    wine regedit /S 'C:\orvane.reg' >/dev/null 2>&1
    rm "$tmp/drive_c/orvane.reg"
    wine winecfg -v win10 >/dev/null 2>&1
    wineserver -w
  )
  rm -rf "$template"; mv "$tmp" "$template"
  find "$template_root" -mindepth 1 -maxdepth 1 -name 'template-*' ! -path "$template" -exec rm -rf {} +
}

xvfb_pid=""
unset WINEPREFIX  # set below to the session's own; the cleanup stops no other server
cleanup() {
  [[ -n ${WINEPREFIX:-} ]] && wineserver -k >/dev/null 2>&1 || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

mkdir -p "$template_root" "$run_dir"
# Taken before WINEPREFIX is set, so a refused session never stops the other's server. Only this
# script holds it (every child closes it): it is free the moment the session ends, whatever the
# session's programs take to exit.
exec {run_lock}>"$run_dir/.session.lock"
if ! flock -n "$run_lock"; then
  echo "wine-session: the prefix in $run_dir is in use by another session" >&2
  exit 1
fi
start_display
export WINEPREFIX="$run_dir/wineprefix"
$keep_prefix || rm -rf "$WINEPREFIX"
# Sessions started together make the template once and never copy one being replaced; a copy
# cut short is never taken for a prefix.
if [[ ! -d $WINEPREFIX ]]; then
  (
    flock 9
    [[ -d $template ]] || make_template
    rm -rf "$WINEPREFIX.copy"
    cp -a "$template" "$WINEPREFIX.copy"
  ) 9>"$template_root/.lock" {run_lock}>&-
  mv "$WINEPREFIX.copy" "$WINEPREFIX"
fi

# Keep one server for the run, warmed with output discarded: Wine's helper processes
# would otherwise hold the first test's captured output open.
wineserver -p60 {run_lock}>&-
wine cmd /c exit >/dev/null 2>&1 </dev/null {run_lock}>&- || true

"$@" {run_lock}>&-
