// Column counting over Shift-JIS bytes (see sjis_char.h for the boundaries).
#include "textops/columns.h"

#include "textops/sjis_char.h"

namespace tabulo::textops {

namespace {

std::size_t columnsOf(std::string_view line, std::size_t pos, std::size_t length, std::size_t column, int tabWidth) {
    if (line[pos] == '\t') {
        const std::size_t width = tabWidth < 1 ? 1 : static_cast<std::size_t>(tabWidth);
        return width - column % width;
    }
    return length;
}

}  // namespace

std::size_t lineWidth(std::string_view line, int tabWidth) {
    std::size_t column = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = charLengthAt(line, pos);
        column += columnsOf(line, pos, length, column, tabWidth);
        pos += length;
    }
    return column;
}

std::optional<std::size_t> byteOffsetAtColumn(std::string_view line, std::size_t column, int tabWidth) {
    std::size_t at = 0;
    std::size_t pos = 0;
    while (at < column) {
        if (pos == line.size()) return std::nullopt;
        const std::size_t length = charLengthAt(line, pos);
        at += columnsOf(line, pos, length, at, tabWidth);
        pos += length;
    }
    return pos;
}

}  // namespace tabulo::textops
