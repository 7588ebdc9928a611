# Sourced by the scripts that build Debian source packages for x86_64 MinGW into a cached
# prefix: the cache key, the prefix's life cycle and its lock, fetching sources and quiet build
# steps. The sourcing script sets `set -euo pipefail` first, defines its build steps as
# functions and then calls build_prefix.
triple=x86_64-w64-mingw32
jobs=$(nproc)
script_name=$(basename "$0" .sh)
lock_wait_s=${ORVANE_CACHE_LOCK_WAIT:-7200}  # a cold Qt build takes about an hour on two cores

# The packages whose files the cross builds compile and link with.
toolchain_packages=(gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                    mingw-w64-x86-64-dev)

source_version() {
  apt-cache showsrc --only-source "$1" | awk '/^Version:/{print $2}' | sort -V | tail -n 1
}

# The CMake settings of every cross build; part of the cache key.
cross_settings() {
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

# Builds into one cache root take turns, holding "<root>.lock" (beside the root, whose other
# entries close_prefix removes): a prefix is never emptied, marked complete or retired while
# another build writes into it. Looking up a complete prefix takes the lock shared.
lock_cache_root() { # lock_cache_root -s|-x
  mkdir -p "$cache_root"
  [[ -n ${cache_lock:-} ]] || exec {cache_lock}>"$cache_root.lock"
  flock -n "$1" "$cache_lock" && return 0
  echo "$script_name: waiting for another build in $cache_root" >&2
  flock -w "$lock_wait_s" "$1" "$cache_lock" && return 0
  echo "$script_name: $cache_root stayed locked for $lock_wait_s s" >&2
  exit 1
}

# build_prefix CACHE_ROOT KEY_EXTRA "NAME=SOURCE..." STEP...
# Sets version_NAME for each source package, then either prints the cached prefix of this key,
# or empties that prefix and a work folder, runs the steps (functions of the sourcing script),
# marks the prefix complete and prints it. The key holds the source versions, the toolchain
# packages' versions, KEY_EXTRA and the text of cross_settings and the steps as bash prints
# them (without comments), so that nothing but what shapes the build's output changes it.
build_prefix() {
  cache_root=$1
  local extra=$2 pair name source version step
  key=""
  for pair in $3; do
    name=${pair%%=*} source=${pair#*=}
    version=$(source_version "$source")
    [[ -n $version ]] || { echo "$script_name: no source package $source" >&2; exit 1; }
    declare -g "version_$name=$version"
    key+="$source=$version;"
  done
  key+="$(dpkg-query -W -f='${Package}=${Version};' "${toolchain_packages[@]}")"
  key+="recipe=$(declare -f cross_settings "${@:4}" | sha256sum | cut -c1-16);$extra"
  hash=$(printf '%s' "$key" | sha256sum | cut -c1-16)
  prefix="$cache_root/$hash"

  lock_cache_root -s
  print_if_complete
  lock_cache_root -x
  print_if_complete
  work=$(mktemp -d "${TMPDIR:-/tmp}/$script_name.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  rm -rf "$prefix"
  mkdir -p "$prefix"
  cross_settings
  for step in "${@:4}"; do
    time_step "$step"
  done
  close_prefix
}

print_if_complete() {
  if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
  fi
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
