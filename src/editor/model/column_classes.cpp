#include "editor/model/column_classes.h"

#include "sjis/sjis_char.h"

namespace tabulo::editor {

using sjis::charLengthAt;

bool isDelimiterByte(unsigned char b) {
    return b <= 0x2F || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x5E) || b == 0x60 ||
           (b >= 0x7B && b <= 0x80) || (b >= 0xA0 && b <= 0xA5) || b >= 0xFD;
}

namespace {

// Columns a tab starting at 0-based column `col` occupies, its own included.
int tabColumns(int col, int tabSize, int wrapWidth) {
    int stop = (col / tabSize + 1) * tabSize;
    if (wrapWidth > 0) {
        const int wrapStop = (col / wrapWidth + 1) * wrapWidth;
        if (wrapStop < stop) stop = wrapStop;
    }
    return stop - col;
}

// Calls visit(byte, length, column, width, classOfFirstColumn) per character.
template <typename Visit>
int walkColumns(std::string_view text, int tabSize, int wrapWidth, Visit&& visit) {
    if (tabSize < 1) tabSize = 1;
    int col = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        const std::size_t len = charLengthAt(text, pos);
        int width;
        ColumnClass cls;
        if (len == 2) {
            width = 2;
            cls = kLeadColumn;
        } else if (b == '\t') {
            width = tabColumns(col, tabSize, wrapWidth);
            cls = kDelimiter;
        } else {
            width = 1;
            cls = isDelimiterByte(b) ? kDelimiter : kSingle;
        }
        if (!visit(pos, len, col, width, cls)) return col;
        col += width;
        pos += len;
    }
    return col;
}

}  // namespace

ColumnMap columnMap(std::string_view text, int tabSize, int wrapWidth) {
    ColumnMap map;
    map.classes.reserve(text.size() + 1);
    map.byteAt.reserve(text.size() + 1);
    walkColumns(text, tabSize, wrapWidth,
                [&](std::size_t pos, std::size_t, int, int width, ColumnClass cls) {
                    const auto byte = static_cast<std::uint32_t>(pos);
                    map.classes.push_back(cls);
                    map.byteAt.push_back(byte);
                    const ColumnClass rest = cls == kLeadColumn ? kTrailColumn : kTabPadding;
                    for (int i = 1; i < width; ++i) {
                        map.classes.push_back(rest);
                        map.byteAt.push_back(byte);
                    }
                    return true;
                });
    map.classes.push_back(kEndMarker);
    map.byteAt.push_back(static_cast<std::uint32_t>(text.size()));
    return map;
}

int columnCount(std::string_view text, int tabSize, int wrapWidth) {
    return walkColumns(text, tabSize, wrapWidth, [](auto...) { return true; });
}

int columnOfByte(std::string_view text, std::size_t byte, int tabSize, int wrapWidth) {
    return walkColumns(text, tabSize, wrapWidth,
                       [&](std::size_t pos, auto...) { return pos < byte; });
}

std::size_t byteOfColumn(std::string_view text, int column, int tabSize, int wrapWidth) {
    std::size_t result = text.size();
    walkColumns(text, tabSize, wrapWidth,
                [&](std::size_t pos, std::size_t, int col, int width, ColumnClass) {
                    if (column < col + width) {
                        result = pos;
                        return false;
                    }
                    return true;
                });
    return result;
}

}  // namespace tabulo::editor
