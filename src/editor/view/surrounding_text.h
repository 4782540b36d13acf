// What the editor tells an input method about the text around the caret
// (Qt::ImSurroundingText, ImCursorPosition, ImAnchorPosition): the caret's
// logical line in UTF-16, or for a very long line a window of it around the
// caret, with the caret and the selection's anchor as UTF-16 positions in it.
#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace tabulo::editor {

struct SurroundingText {
    QString text;
    int cursor = 0;
    int anchor = 0;
};

// Bytes of the line taken on each side of the caret at most.
inline constexpr std::size_t kSurroundingBytes = 4096;

// caretByte and anchorByte are byte positions in the Shift-JIS line (past
// its end they count as its end); an anchor outside the window is put at
// the window's edge.
SurroundingText surroundingText(std::string_view line, std::size_t caretByte, std::size_t anchorByte);

}  // namespace tabulo::editor
