#!/usr/bin/env bash
# Installs every Debian package the project needs (idempotent) and builds it.
#   scripts/setup.sh            install + configure + build (build/)
#   scripts/setup.sh --no-build install only
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils firebird3.0-server
  libsoci-dev libsoci-firebird4.0 libboost-dev
  nlohmann-json3-dev libsodium-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core procps
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  # The server package must not try to start a system-wide service here.
  printf '#!/bin/sh\nexit 101\n' > /usr/sbin/policy-rc.d; chmod +x /usr/sbin/policy-rc.d
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  rm -f /usr/sbin/policy-rc.d
fi

[ "${1:-}" = "--no-build" ] && exit 0

BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" >/dev/null
cmake --build build -j"$(nproc)"
