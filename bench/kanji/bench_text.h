// Deterministic Japanese-looking Shift-JIS text for the benchmarks: lines of
// kana, kanji and ASCII within JIS X 0208, CR LF line breaks. No 0x5C or
// 0x7E, which the peers' SHIFT_JIS tables read as yen sign and overline.
#pragma once

#include <cstddef>
#include <string>

namespace tabulo::kanji::bench {

std::string makeSjisText(std::size_t bytes);

}  // namespace tabulo::kanji::bench
