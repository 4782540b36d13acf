// Byte columns over Shift-JIS bytes (see sjis/sjis_char.h for the boundaries).
#include "textops/columns.h"

#include "sjis/sjis_char.h"

namespace tabulo::textops {

using sjis::charLengthAt;

std::optional<std::size_t> insertionOffsetAtColumn(std::string_view line, std::size_t column) {
    if (line.size() < column) return std::nullopt;
    std::size_t pos = 0;
    while (pos < column) pos += charLengthAt(line, pos);
    return pos;
}

}  // namespace tabulo::textops
