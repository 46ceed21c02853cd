#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Quimbel need.
# Fast when everything is present already; uses sudo only when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev file python3
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-private-dev qt6-qpa-plugins qt6-wayland qt6-tools-dev
  fonts-dejavu-core fonts-liberation2
  libcli11-dev nlohmann-json3-dev
  libxkbcommon-dev xkb-data
  abigail-tools lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
