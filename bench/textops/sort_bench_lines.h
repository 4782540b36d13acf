// Generated Shift-JIS lines for the sort benchmarks: a mix of kana, kanji,
// ASCII, half-width katakana and full-width spaces, with some repeated lines,
// the same for every run.
#pragma once

#include <cstddef>
#include <string>

namespace tabulo::bench {

// count lines, each followed by CR LF.
std::string makeSortLines(std::size_t count);

}  // namespace tabulo::bench
