#!/usr/bin/env bash
# Installs what Tabulo needs to build, run and test on Debian 12, as root.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libjpeg62-turbo-dev
  libgtest-dev googletest libbenchmark-dev
  fonts-ipafont-gothic fonts-dejavu-core
  xvfb xauth netpbm openbox x11-utils xdotool imagemagick
  ibus ibus-mozc mozc-server dbus-x11
  gawk sed ruby
  libmuparser-dev nkf ripgrep grep coreutils libc-bin time
  clang libclang-rt-14-dev
  qt6-translations-l10n breeze-icon-theme libqt6svg6 desktop-file-utils
  cups libcups2-dev printer-driver-cups-pdf poppler-utils fonts-ipafont-mincho
  namazu2 namazu2-index-tools kakasi libtext-kakasi-perl libnkf-perl
  locales xterm attr bash-completion hyperfine
  lintian appstream file python3 man-db
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

# The interpreters read Shift-JIS as characters in this locale. localedef
# warns that the map is not ASCII compatible and exits 1 although it builds
# the locale, so success is checked with locale -a.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.sjis$'; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -f SHIFT_JIS -i ja_JP ja_JP.SJIS 2>/dev/null || true
  locale -a | grep -qi '^ja_JP\.sjis$' || { echo "setup: could not build the ja_JP.SJIS locale" >&2; exit 1; }
fi
