#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when
# any of them is missing. Sourced by the other scripts.
set -euo pipefail

VORN_PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libxcb1-dev libxml2-dev
  libgtest-dev libgmock-dev # GTest's CMake package lists the gmock library too
  fonts-ipafont-gothic locales
  xvfb openbox xdotool x11-utils imagemagick
  python3 python3-xlib python3-numpy
  openssl
  clang-14 libclang-rt-14-dev
  dpkg-dev file desktop-file-utils librsvg2-bin
)

vorn_install_deps() {
  local missing=()
  local p
  for p in "${VORN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
