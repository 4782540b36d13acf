#!/usr/bin/env bash
# libjconvert as another program's developer meets it: installed into a
# temporary prefix, found through pkg-config by a C program and through
# find_package(jconvert) by a C++ one, and run from there, converting
# Shift-JIS to JIS and EUC. The expected bytes come from iconv (glibc's
# tables) and from the conversion rules' own examples.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/checks.sh"
require_tools pkg-config cc iconv readelf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

library=$(find "$prefix" -name 'libjconvert.so.1' -print -quit)
[[ -n $library ]] || { echo "FAIL: libjconvert.so.1 is not installed"; exit 1; }
libdir=$(dirname "$library")
readelf -d "$library" | grep -q 'SONAME.*\[libjconvert\.so\.1\]' || fail "the soname is not libjconvert.so.1"
[[ -L $libdir/libjconvert.so ]] || fail "no link libjconvert.so for the linker"

export PKG_CONFIG_PATH=$libdir/pkgconfig
flags=$(pkg-config --cflags --libs jconvert) || { echo "FAIL: pkg-config does not know jconvert"; exit 1; }
[[ $(pkg-config --variable=libdir jconvert) -ef $libdir ]] || fail "pkg-config's libdir is not $libdir"
# shellcheck disable=SC2086  # the flags are words
cc -std=c99 -Wall -Wextra -Werror -o "$work/c_caller" "$here/jconvert_caller/convert_stdin.c" $flags ||
  fail "the C caller does not build with pkg-config's flags"

cmake -S "$here/jconvert_caller" -B "$work/cmake_build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null &&
  cmake --build "$work/cmake_build" >/dev/null ||
  fail "the C++ caller does not build with find_package(jconvert)"

# Shift-JIS text of JIS X 0208 characters, with ASCII and line breaks.
printf '漢字とかなとカナ\r\nabc 全角ＡＢＣ。\nend 表示\n' | iconv -f UTF-8 -t SHIFT_JIS >"$work/text.sjis"
iconv -f SHIFT_JIS -t EUC-JP "$work/text.sjis" >"$work/text.euc"
# iconv leaves kanji mode with ESC ( B; the library writes ESC ( J (JIS-Roman,
# the same letters for this text).
iconv -f SHIFT_JIS -t ISO-2022-JP "$work/text.sjis" | sed 's/\x1b(B/\x1b(J/g' >"$work/text.jis"
# Half-width katakana become full-width in JIS (漢ｶﾞ is 漢ガ: rows and cells
# 0x34 0x41, 0x25 0x2C) and stay 0x8E pairs in EUC. The kanji before them
# decides the detection: katakana alone could be EUC as well.
printf 'A\x8a\xbf\xb6\xde' >"$work/kana.sjis"
printf 'A\x1b$B4A%%,\x1b(J' >"$work/kana.jis"
iconv -f SHIFT_JIS -t EUC-JP "$work/kana.sjis" >"$work/kana.euc"

for caller in c_caller cmake_build/convert_stdin; do
  [[ -x $work/$caller ]] || continue
  for input in text kana; do
    for code in jis euc; do
      LD_LIBRARY_PATH=$libdir "$work/$caller" $code <"$work/$input.sjis" >"$work/out" ||
        fail "$caller $code exits with $?"
      cmp -s "$work/out" "$work/$input.$code" ||
        fail "$caller: $input from Shift-JIS to $code gives $(od -An -tx1 "$work/out" | tr -s ' \n' ' ')"
    done
  done
  LD_LIBRARY_PATH=$libdir "$work/$caller" sjis <"$work/text.euc" | cmp -s - "$work/text.sjis" ||
    fail "$caller: EUC back to Shift-JIS differs"
done

finish "libjconvert in $prefix"
