#!/usr/bin/env bash
# Installs what the application needs on Debian 12 and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n qt6-qpa-plugins
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  fonts-liberation fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
