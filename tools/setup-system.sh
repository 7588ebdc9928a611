#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are there.
set -euo pipefail

packages=(
  cmake ninja-build make g++ perl python3 ca-certificates dpkg-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev
  protobuf-compiler googletest
  wine wine64 xvfb xauth xdotool fonts-wqy-microhei pulseaudio pulseaudio-utils
  clang libclang-rt-14-dev zlib1g-dev libgtest-dev
  qtbase5-dev libhidapi-dev libudev-dev libquazip5-dev pkg-config libpugixml-dev
  g++-mingw-w64-i686-posix
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The MinGW dependency builds take their sources from Debian's source packages.
deb_src=/etc/apt/sources.list.d/orvane-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat > "$deb_src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if (( ${#missing[@]} )) || (( need_update )); then
  echo "setup: installing ${missing[*]:-(source lists only)}"
  apt-get -o DPkg::Lock::Timeout=900 update -q
  if (( ${#missing[@]} )); then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
  fi
fi
