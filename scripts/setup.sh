#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev libssl-dev
  fonts-noto-cjk fonts-arphic-uming
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
