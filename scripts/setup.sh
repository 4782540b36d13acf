#!/usr/bin/env bash
# Installs what Tabulo needs to build, run and test on Debian 12, as root.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev
  libgtest-dev googletest libbenchmark-dev
  fonts-ipafont-gothic fonts-dejavu-core
  xvfb xauth
  gawk sed ruby
  libmuparser-dev nkf ripgrep
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
