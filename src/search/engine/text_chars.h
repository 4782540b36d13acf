// Shift-JIS character boundaries for the search engine, cut as the editor
// cuts its lines (sjis/sjis_char.h): positions found by byte scans
// are checked with these helpers, so that no match starts or ends inside a
// double-byte character.
#pragma once

#include <cstddef>
#include <string_view>

#include "sjis/sjis_char.h"

namespace tabulo::search {

using sjis::charLengthAt;
using sjis::isLeadByte;

// True when byte position p (0..size) starts a character or is the end.
bool isCharStart(std::string_view text, std::size_t p);

// Start of the character that ends at character start p (p > 0).
std::size_t previousCharStart(std::string_view text, std::size_t p);

}  // namespace tabulo::search
