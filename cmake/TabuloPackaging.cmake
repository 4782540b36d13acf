# The Debian packages that scripts/package.sh builds with CPack:
#   tabulo           the two programs, the shared library libjconvert.so.1,
#                    the desktop entry, icon, AppStream metainfo, man pages
#                    and bash completion;
#   libjconvert-dev  the header, the link to the library, the pkg-config
#                    and CMake package files.
# The library sits in the programs' package so that installing tabulo_*.deb
# alone gives a working library. Dependencies are computed from the
# binaries by dpkg-shlibdeps. Debian's own files (copyright, changelog) and
# the compressed man pages are added in the staging tree only, so
# `cmake --install` stays a plain install.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tabulo developers")
set(TABULO_PACKAGE_MAINTAINER "The Tabulo developers <tabulo@example.org>"
  CACHE STRING "Maintainer field of the Debian packages")
set(CPACK_PACKAGE_CONTACT "${TABULO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME tabulo)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS
  "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, libqt6svg6, breeze-icon-theme | adwaita-icon-theme")
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SUGGESTS "gawk, ruby, namazu2, namazu2-index-tools")
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION
"editor for Japanese Shift-JIS text with a line calculator
Tabulo is a desktop editor for Japanese plain text in Shift-JIS, narrowed
to text processing and calculation: F9 on a line such as pi * r^2 writes
the result below it, and assigned variables are used by later lines and by
graphs. It sorts and cleans up ranges of lines, inserts sequences, converts
between the kanji codes Shift-JIS, JIS and EUC and the mail encodings,
searches many files with its own Shift-JIS pattern engine, runs awk, ruby
and sed over the selected lines, and prints text and graphs.
.
The package holds the window program tabulo, the command-line companion
tabulo-cli and the kanji code conversion library libjconvert.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libjconvert-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS programs)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
"kanji code conversion library (development files)
libjconvert detects and converts the Japanese kanji codes Shift-JIS, JIS
and EUC, line-break conventions and the mail encodings Base64, uuencode
and BinHex, through a C interface on byte strings.
.
This package holds the header jconvert.h and the files pkg-config and
CMake (find_package(jconvert)) use to build against the library.")

set(CPACK_TABULO_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/DebianStagingFiles.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/DebianLdconfigTrigger.cmake)

include(CPack)
