#!/usr/bin/env bash
# Builds Tabulo's Debian packages (tabulo and libjconvert-dev) with CPack and
# prints the paths of the .deb files it wrote, one a line; everything else
# goes to standard error.
#
#   TABULO_PACKAGE_BUILD_DIR  the build tree to package (default build-package/,
#                             configured for /usr on first use; an existing
#                             tree is built and packaged as it is configured)
#   TABULO_PACKAGE_DIR        where the .deb files go (default: packages/ in
#                             the build tree)
#   DEBFULLNAME, DEBEMAIL     the packages' maintainer, as Debian's tools take it
#
# Install the result with: sudo apt-get install ./tabulo_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABULO_PACKAGE_BUILD_DIR:-$root/build-package}
out=${TABULO_PACKAGE_DIR:-$build/packages}

maintainer=()
if [[ -n ${DEBEMAIL:-} ]]; then
  maintainer=("-DTABULO_PACKAGE_MAINTAINER=${DEBFULLNAME:-The Tabulo developers} <$DEBEMAIL>")
fi
if [[ ! -f $build/CMakeCache.txt ]]; then
  TABULO_BUILD_DIR=$build "$root/scripts/build.sh" -DCMAKE_INSTALL_PREFIX=/usr -DTABULO_BUILD_TESTS=OFF \
    "${maintainer[@]}" >&2
else
  # An existing tree keeps its settings: configuring it anew with others
  # would rebuild it.
  if ((${#maintainer[@]})); then cmake "$build" "${maintainer[@]}" >/dev/null; fi
  cmake --build "$build" --parallel "$(nproc)" >&2
fi

mkdir -p "$out"
rm -f "$out"/*.deb
(cd "$build" && cpack -G DEB -B "$out") >&2
rm -rf "$out/_CPack_Packages"
for deb in "$out"/*.deb; do
  [[ -f $deb ]] || { echo "package: CPack wrote no .deb file" >&2; exit 1; }
  echo "$deb"
done
