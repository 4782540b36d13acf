// Display columns of a row or line. Each byte of text takes one column, a
// double-byte character two, and a tab one column plus padding up to the next
// tab stop. The class string names what each column shows; the editor uses
// it to measure lines, to wrap them and to turn columns into byte positions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::editor {

enum ColumnClass : char {
    kEndMarker = '0',     // after the last column
    kSingle = '1',        // single-byte character that is not a delimiter
    kDelimiter = '2',     // single-byte delimiter (a tab's own column too)
    kTabPadding = '3',    // padding column of a tab
    kLeadColumn = '4',    // first column of a double-byte character
    kTrailColumn = '5',   // second column of a double-byte character
};

bool isDelimiterByte(unsigned char b);

// Columns of a text; `tabSize` >= 1. When `wrapWidth` > 0, tab padding never
// runs past the next multiple of the wrap width.
struct ColumnMap {
    std::string classes;               // one class per column, then kEndMarker
    std::vector<std::uint32_t> byteAt;  // byte position of the character covering each column (size = columns + 1)

    int columns() const { return static_cast<int>(classes.size()) - 1; }
};

ColumnMap columnMap(std::string_view text, int tabSize, int wrapWidth = 0);

// Number of columns of a text, without building the map.
int columnCount(std::string_view text, int tabSize, int wrapWidth = 0);

// Column at which the character at byte position `byte` starts (the column
// count of text[0, byte)).
int columnOfByte(std::string_view text, std::size_t byte, int tabSize, int wrapWidth = 0);

// Byte position of the character that covers `column`; a column inside a
// double-byte character or inside tab padding gives that character's start;
// columns at or past the end give text.size().
std::size_t byteOfColumn(std::string_view text, int column, int tabSize, int wrapWidth = 0);

}  // namespace tabulo::editor
