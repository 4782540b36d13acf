// The byte column of the insert-strings command: the column counts bytes
// from the start of the line, and where it falls between the two bytes of a
// double-byte character the text goes in after that character, so no
// character is ever split.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tabulo::textops {

// Byte offset where text goes in at `column`: the column itself, or the end
// of the double-byte character it falls inside. nullopt when the line is
// shorter than column bytes; a line exactly column bytes long gives its end.
std::optional<std::size_t> insertionOffsetAtColumn(std::string_view line, std::size_t column);

}  // namespace tabulo::textops
