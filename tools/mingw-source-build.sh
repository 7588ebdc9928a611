# Sourced by the scripts that build Debian source packages for x86_64 MinGW into a cached
# prefix: the cache key, the prefix's life cycle, fetching sources and quiet build steps.
# The sourcing script sets `set -euo pipefail` first.
triple=x86_64-w64-mingw32
jobs=$(nproc)
script_name=$(basename "$0" .sh)

source_version() {
  apt-cache showsrc --only-source "$1" | awk '/^Version:/{print $2}' | sort -V | tail -n 1
}

# open_prefix CACHE_ROOT KEY_EXTRA NAME=SOURCE...
# Sets version_NAME for each source package, then either prints the cached prefix of this key
# and exits, or empties that prefix and a work folder for a fresh build. The key holds the
# source versions, both scripts' hashes and KEY_EXTRA.
open_prefix() {
  cache_root=$1
  key=""
  local pair name source version
  for pair in "${@:3}"; do
    name=${pair%%=*} source=${pair#*=}
    version=$(source_version "$source")
    [[ -n $version ]] || { echo "$script_name: no source package $source" >&2; exit 1; }
    declare -g "version_$name=$version"
    key+="$source=$version;"
  done
  key+="scripts=$(cat "$0" "${BASH_SOURCE[0]}" | sha256sum | cut -c1-16);$2"
  hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
  prefix="$cache_root/$hash"
  if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/$script_name.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  rm -rf "$prefix"
  mkdir -p "$prefix"
  cmake_cross=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows
    -DCMAKE_SYSTEM_PROCESSOR=x86_64
    -DCMAKE_C_COMPILER=$triple-gcc-posix
    -DCMAKE_CXX_COMPILER=$triple-g++-posix
    -DCMAKE_RC_COMPILER=$triple-windres
    -DCMAKE_INSTALL_PREFIX="$prefix"
    -DBUILD_SHARED_LIBS=OFF
  )
}

# Marks the prefix complete, removes the other entries of the cache root, prints the prefix.
close_prefix() {
  printf '%s\n' "$key" > "$prefix/.complete"
  find "$cache_root" -mindepth 1 -maxdepth 1 ! -name "$hash" -exec rm -rf {} +
  echo "$prefix"
}

fetch() { # fetch SOURCE VERSION -> prints the unpacked folder
  local dir="$work/src-$1"
  mkdir -p "$dir"
  (cd "$dir" && { apt-get source -q --only-source "$1=$2" >/dev/null 2>&1 \
     || apt-get source -q --only-source "$1/bookworm" >/dev/null 2>&1; })
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# Runs a build step with its output in a log. A failing step shows the log's end and leaves
# the whole log beside the cache root.
quiet() {
  "$@" >"$work/step.log" 2>&1 && return 0
  tail -n 60 "$work/step.log" >&2
  cp "$work/step.log" "$cache_root.failed-step.log"
  echo "$script_name: the whole log is in $cache_root.failed-step.log" >&2
  return 1
}

time_step() {
  local start=$SECONDS
  "$@"
  echo "$script_name: $1 took $((SECONDS - start)) s" >&2
}
