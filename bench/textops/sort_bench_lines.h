// Generated Shift-JIS lines for the sort benchmarks: a mix of kana, kanji,
// ASCII, half-width katakana and full-width spaces, with some repeated lines;
// and log lines that share long beginnings. The same for every run.
#pragma once

#include <cstddef>
#include <string>

namespace tabulo::bench {

// count lines, each followed by CR LF.
std::string makeSortLines(std::size_t count);

// count log-like lines ("2026-12-10 07:41:09 ..." and a Shift-JIS message):
// every line shares its first dozen bytes with many others.
std::string makeLogLines(std::size_t count);

}  // namespace tabulo::bench
