#!/usr/bin/env bash
# cmake --install into a temporary prefix: both programs in bin/, the desktop
# entry (valid, Japanese and English names, opens text files given to it),
# the icon it names in the hicolor theme, the AppStream metainfo that
# launches it, both man pages and tabulo-cli's bash completion.
set -euo pipefail
build=$1
source "$(dirname "$0")/checks.sh"
require_tools desktop-file-validate
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for program in tabulo tabulo-cli; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program is not installed"
done

entry=$prefix/share/applications/tabulo.desktop
if [[ ! -f $entry ]]; then
  fail "share/applications/tabulo.desktop is not installed"
else
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
  key() { sed -n "s/^$1=//p" "$entry"; }
  [[ $(key Name) == Tabulo ]] || fail "Name is '$(key Name)'"
  [[ -n $(key 'Name\[ja\]') ]] || fail "no Japanese name"
  [[ $(key MimeType) == *"text/plain;"* ]] || fail "MimeType lacks text/plain"
  exec_line=$(key Exec)
  [[ $exec_line =~ ^tabulo\ %[fFuU]$ ]] || fail "Exec '$exec_line' does not pass the files to tabulo"
  icon=$(key Icon)
  [[ -f $prefix/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
    fail "the icon '$icon' is not in share/icons/hicolor/scalable/apps"
fi

for program in tabulo tabulo-cli; do
  manual=$prefix/share/man/man1/$program.1
  if [[ ! -f $manual ]]; then
    fail "share/man/man1/$program.1 is not installed"
  else
    grep -qi "^\.TH \"\?$program " "$manual" || fail "the man page does not name $program in its .TH line"
  fi
done
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
if [[ ! -f ${metainfo[0]} ]]; then
  fail "no AppStream metainfo in share/metainfo"
else
  grep -q '<launchable type="desktop-id">tabulo.desktop</launchable>' "${metainfo[0]}" ||
    fail "the metainfo does not launch tabulo.desktop"
fi
[[ -f $prefix/share/bash-completion/completions/tabulo-cli ]] ||
  fail "the bash completion of tabulo-cli is not installed"

finish "install into $prefix"
