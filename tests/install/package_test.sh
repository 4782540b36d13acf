#!/usr/bin/env bash
# scripts/package.sh on this build tree: the .deb files it prints, what they
# hold, their computed dependencies, lintian, the metainfo (appstreamcli) and
# the desktop entry (desktop-file-validate) as packaged. The packages are
# only unpacked into a temporary folder, never installed.
set -euo pipefail
build=$1
root=$2
source "$(dirname "$0")/checks.sh"
require_tools dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate man
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

TABULO_PACKAGE_BUILD_DIR=$build TABULO_PACKAGE_DIR=$work/debs "$root/scripts/package.sh" \
  >"$work/printed" 2>"$work/log" || { cat "$work/log"; echo "FAIL: package.sh failed"; exit 1; }
mapfile -t debs <"$work/printed"
programs="" development=""
for deb in "${debs[@]}"; do
  [[ -f $deb ]] || fail "package.sh printed '$deb', which is no file"
  case $(basename "$deb") in
    tabulo_*_*.deb) programs=$deb ;;
    libjconvert-dev_*_*.deb) development=$deb ;;
    *) fail "unexpected package $deb" ;;
  esac
done
[[ -n $programs && -n $development ]] || { echo "FAIL: packages printed: ${debs[*]}"; exit 1; }

# What each package holds (a pattern of its listing a line).
check_contents() {
  local deb=$1; shift
  dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$work/contents"
  echo "--- $(basename "$deb")"
  cat "$work/contents"
  local pattern
  for pattern in "$@"; do
    grep -Eq "$pattern" "$work/contents" || fail "$(basename "$deb") holds nothing like '$pattern'"
  done
}
check_contents "$programs" \
  '^-rwxr-xr-x \./usr/bin/tabulo$' '^-rwxr-xr-x \./usr/bin/tabulo-cli$' \
  '^-rw-r--r-- \./usr/lib/(.*/)?libjconvert\.so\.1\.[0-9.]+$' '^l.* \./usr/lib/(.*/)?libjconvert\.so\.1$' \
  '\./usr/share/applications/tabulo\.desktop$' '\./usr/share/icons/hicolor/scalable/apps/tabulo\.svg$' \
  '\./usr/share/metainfo/.*\.metainfo\.xml$' \
  '\./usr/share/man/man1/tabulo\.1\.gz$' '\./usr/share/man/man1/tabulo-cli\.1\.gz$' \
  '\./usr/share/bash-completion/completions/tabulo-cli$' \
  '\./usr/share/doc/tabulo/copyright$' '\./usr/share/doc/tabulo/changelog\.gz$'
grep -q 'include/' "$work/contents" && fail "the programs' package holds development files"
check_contents "$development" \
  '\./usr/include/jconvert\.h$' '^l.* \./usr/lib/(.*/)?libjconvert\.so$' \
  '\./usr/lib/(.*/)?pkgconfig/jconvert\.pc$' '\./usr/lib/(.*/)?cmake/jconvert/jconvertConfig\.cmake$' \
  '\./usr/share/doc/libjconvert-dev/copyright$'

# Dependencies come from the binaries: Qt, libjpeg, the C++ run time.
depends=$(dpkg-deb -f "$programs" Depends)
echo "Depends: $depends"
tr ',' '\n' <<<"$depends" | awk '{print $1}' >"$work/depends"
for library in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 libjpeg62-turbo; do
  grep -qxF "$library" "$work/depends" || fail "tabulo does not depend on $library"
done
[[ $(dpkg-deb -f "$development" Depends) =~ ^tabulo\ \(=\ [0-9] ]] ||
  fail "libjconvert-dev does not depend on its own tabulo: $(dpkg-deb -f "$development" Depends)"

unpacked=$work/root
dpkg-deb -x "$programs" "$unpacked"
dpkg-deb -x "$development" "$unpacked"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml ||
  fail "appstreamcli rejects the metainfo"
desktop-file-validate "$unpacked/usr/share/applications/tabulo.desktop" ||
  fail "desktop-file-validate rejects the desktop entry"
grep -q '^prefix=/usr$' "$unpacked"/usr/lib/*pkgconfig/jconvert.pc "$unpacked"/usr/lib/*/pkgconfig/jconvert.pc 2>/dev/null ||
  fail "the packaged jconvert.pc does not name /usr as its prefix"
zcat "$unpacked/usr/share/man/man1/tabulo.1.gz" | grep -q -- 'line=' ||
  fail "the packaged tabulo man page lacks --line"
"$unpacked/usr/bin/tabulo-cli" --version >/dev/null || fail "the packaged tabulo-cli does not run"
ldd "$unpacked/usr/bin/tabulo" | grep 'not found' && fail "the packaged tabulo misses libraries"
library=$(find "$unpacked/usr/lib" -name libjconvert.so.1)
python3 -c 'import ctypes, sys; sys.exit(ctypes.CDLL(sys.argv[1]).InCodeCheck(b"\x82\xa0", 2) != 5)' "$library" ||
  fail "the packaged libjconvert.so.1 does not load or detect Shift-JIS"
MANWIDTH=80 man -l "$unpacked/usr/share/man/man1/tabulo.1.gz" 2>&1 | grep -q -- '--line=N' ||
  fail "the packaged tabulo man page does not show --line=N"

# apt on a system with nothing installed: every dependency must come from
# the archive. Skipped when this machine has no package lists.
if compgen -G '/var/lib/apt/lists/*_Packages' >/dev/null; then
  : >"$work/empty-status"
  apt-get -s -o Dir::State::status="$work/empty-status" install "$programs" >"$work/apt" 2>&1 &&
    grep -q '^Conf tabulo ' "$work/apt" || { cat "$work/apt"; fail "apt cannot install tabulo with its dependencies"; }
else
  echo "note: no apt package lists, dependency resolution not simulated"
fi

lintian --fail-on error --tag-display-limit 0 "${debs[@]}" >"$work/lintian" 2>&1 || {
  cat "$work/lintian"
  fail "lintian reports errors"
}
echo "--- lintian"
cat "$work/lintian"

finish "packages ${debs[*]}"
