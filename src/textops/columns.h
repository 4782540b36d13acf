// Display columns of a line, counted the way the editor lays a row out: a
// single-byte character takes one column, a double-byte character two, and a
// tab runs to the next multiple of the tab width. Used to find the byte where
// text goes in at the column the user picked.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tabulo::textops {

// Number of columns the whole line takes. tabWidth below 1 counts as 1.
std::size_t lineWidth(std::string_view line, int tabWidth);

// Byte offset of the first character boundary at or after column; a column
// inside a double-byte character or a tab gives the offset after it, so a
// character is never split and nothing left of the column moves. nullopt when
// the line is narrower than column; a line exactly column wide gives its end.
std::optional<std::size_t> byteOffsetAtColumn(std::string_view line, std::size_t column, int tabWidth);

}  // namespace tabulo::textops
