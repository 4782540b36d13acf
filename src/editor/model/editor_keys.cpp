#include "editor/model/editor_keys.h"

#include <algorithm>
#include <string>

#include "editor/model/column_classes.h"
#include "editor/model/editor_model.h"
#include "sjis/sjis_char.h"

namespace tabulo::editor {

using sjis::isLeadByte;
using sjis::charLengthAt;

namespace {

struct RowGeometry {
    std::string_view text;
    int tab;
    int wrap;
};

RowGeometry geometry(const EditorModel& m, int row) {
    return {row < m.RowCount() ? m.rowText(row) : std::string_view(), m.TabSpaceCount(), m.columnWrapWidth()};
}

// Column where the character covering `col` starts.
int snapToCharacter(const EditorModel& m, int row, int col) {
    const RowGeometry g = geometry(m, row);
    const int columns = columnCount(g.text, g.tab, g.wrap);
    if (col >= columns) return col;
    return columnOfByte(g.text, byteOfColumn(g.text, col, g.tab, g.wrap), g.tab, g.wrap);
}

// Column just after the character covering `col`.
int characterEnd(const EditorModel& m, int row, int col) {
    const RowGeometry g = geometry(m, row);
    const std::size_t byte = byteOfColumn(g.text, col, g.tab, g.wrap);
    if (byte >= g.text.size()) return col + 1;
    return columnOfByte(g.text, byte + charLengthAt(g.text, byte), g.tab, g.wrap);
}

// Word classes for Ctrl+Left and Ctrl+Right: a run of one class is a word;
// blanks separate words.
int wordClass(std::string_view text, std::size_t pos) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (charLengthAt(text, pos) == 2) {
        const auto t = static_cast<unsigned char>(text[pos + 1]);
        if (b == 0x81 && t == 0x40) return 0;        // full-width space
        if (b == 0x82 && t >= 0x9F) return 3;        // hiragana
        if (b == 0x83 && t <= 0x96) return 4;        // katakana
        if (b >= 0x88) return 5;                     // kanji
        if (b == 0x82) return 6;                     // full-width digits and letters
        return 7;                                    // symbols
    }
    if (b == ' ' || b == '\t') return 0;
    return isDelimiterByte(b) ? 2 : 1;
}

TextPosition nextWord(const EditorModel& m, TextPosition p) {
    const RowGeometry g = geometry(m, p.row);
    std::size_t pos = byteOfColumn(g.text, p.col, g.tab, g.wrap);
    if (pos >= g.text.size()) {
        if (p.row < m.lastCaretRow()) return {p.row + 1, 0};
        return p;
    }
    const int cls = wordClass(g.text, pos);
    while (pos < g.text.size() && wordClass(g.text, pos) == cls && cls != 0) pos += charLengthAt(g.text, pos);
    while (pos < g.text.size() && wordClass(g.text, pos) == 0) pos += charLengthAt(g.text, pos);
    return {p.row, columnOfByte(g.text, pos, g.tab, g.wrap)};
}

TextPosition previousWord(const EditorModel& m, TextPosition p) {
    const RowGeometry g = geometry(m, p.row);
    std::size_t end = byteOfColumn(g.text, p.col, g.tab, g.wrap);
    if (end == 0) {
        if (p.row > 0) return {p.row - 1, m.rowColumns(p.row - 1)};
        return p;
    }
    // Character starts of the row up to the caret.
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < end; pos += charLengthAt(g.text, pos)) starts.push_back(pos);
    std::size_t i = starts.size();
    while (i > 0 && wordClass(g.text, starts[i - 1]) == 0) --i;
    if (i > 0) {
        const int cls = wordClass(g.text, starts[i - 1]);
        while (i > 0 && wordClass(g.text, starts[i - 1]) == cls) --i;
    }
    return {p.row, columnOfByte(g.text, i < starts.size() ? starts[i] : end, g.tab, g.wrap)};
}

std::string indentationText(int columns, int tabSize, bool useTabs) {
    if (!useTabs) return std::string(static_cast<std::size_t>(columns), ' ');
    return std::string(static_cast<std::size_t>(columns / tabSize), '\t') +
           std::string(static_cast<std::size_t>(columns % tabSize), ' ');
}

bool blankOnly(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

void move(EditorModel& m, const TEditorCaret& opt, EditKey key, KeyModifiers mods) {
    if (mods.shift && !m.hasSelection()) m.select(m.caret(), m.caret());
    if (!mods.shift && m.hasSelection()) m.clearSelection();
    TextPosition p = m.caret();
    const int last = m.lastCaretRow();
    switch (key) {
    case EditKey::PageUp:
    case EditKey::PageDown: {
        const int step = std::max(1, m.VisibleRows() - 1);
        const int top = m.TopRow();
        if (key == EditKey::PageUp && top == 0) {
            p.row = 0;
            break;
        }
        if (key == EditKey::PageDown && top >= last) return;
        const int newTop = std::clamp(key == EditKey::PageUp ? top - step : top + step, 0, last);
        m.SetTopRow(newTop);
        p.row = std::clamp(p.row + (newTop - top), 0, last);
        p.col = snapToCharacter(m, p.row, p.col);
        break;
    }
    case EditKey::Home:
        if (mods.ctrl) p.row = 0;
        p.col = 0;
        break;
    case EditKey::End:
        if (mods.ctrl) p.row = last;
        p.col = m.rowColumns(p.row);
        break;
    case EditKey::Left:
        if (mods.ctrl) {
            p = previousWord(m, p);
        } else if (p.col > 0) {
            p.col = p.col > m.rowColumns(p.row) ? p.col - 1 : snapToCharacter(m, p.row, p.col - 1);
        } else if (p.row > 0 && (m.rowKind(p.row - 1) == BreakKind::Wrapped || opt.NextLine)) {
            p = {p.row - 1, m.rowColumns(p.row - 1)};
        }
        break;
    case EditKey::Right: {
        if (mods.ctrl) {
            p = nextWord(m, p);
            break;
        }
        const bool exists = p.row < m.RowCount();
        const BreakKind kind = exists ? m.rowKind(p.row) : BreakKind::EndOfText;
        const bool crosses = kind != BreakKind::EndOfText && (kind == BreakKind::Wrapped || opt.NextLine);
        if (p.col >= m.rowColumns(p.row) && crosses && p.row < last) {
            p = {p.row + 1, 0};
        } else if (p.col < m.rowColumns(p.row)) {
            p.col = characterEnd(m, p.row, p.col);
        } else if (!crosses) {
            ++p.col;  // the caret may stand beyond the end of its row
        }
        break;
    }
    case EditKey::Up:
    case EditKey::Down: {
        const bool up = key == EditKey::Up;
        const bool atEdge = up ? p.row == m.TopRow() : p.row == m.TopRow() + m.VisibleRows() - 1;
        const int step = mods.autoRepeat && atEdge ? 2 : 1;
        if (mods.ctrl) {
            m.SetTopRow(m.TopRow() + (up ? -step : step));
            p.row = std::clamp(p.row, m.TopRow(), std::min(last, m.TopRow() + m.VisibleRows() - 1));
        } else if (up) {
            p.row = std::max(0, p.row - step);
        } else if (p.row >= m.RowCount() || m.rowKind(p.row) != BreakKind::EndOfText) {
            p.row = std::min(last, p.row + step);
        }
        p.col = snapToCharacter(m, p.row, p.col);
        break;
    }
    default:
        break;
    }
    m.setCaret(p, mods.shift);
}

void deleteForward(EditorModel& m) {
    if (m.hasSelection()) {
        m.deleteSelection();
        return;
    }
    const TextPosition p = m.caret();
    if (p.row >= m.RowCount()) return;
    const int columns = m.rowColumns(p.row);
    if (p.col < columns) {
        m.replaceRange(p, {p.row, characterEnd(m, p.row, p.col)}, {});
    } else if (p.row + 1 < m.RowCount()) {
        if (m.rowKind(p.row) == BreakKind::Wrapped) {
            m.replaceRange({p.row, columns}, {p.row + 1, characterEnd(m, p.row + 1, 0)}, {});
        } else {
            m.replaceRange(p, {p.row + 1, 0}, {});
        }
    }
}

void unindent(EditorModel& m, TextPosition p) {
    const int line = m.LineIndexOfRow(p.row);
    int target = 0;
    for (int r = p.row - 1; r >= 0; --r) {
        const int indent = blankOnly(m.rowText(r)) ? 0 : rowIndentation(m, r);
        const bool ownLine = m.LineIndexOfRow(r) == line;
        if (r == 0 || (!ownLine && indent < p.col) || (ownLine && indent > 0 && indent < p.col)) {
            target = indent < p.col ? indent : 0;
            break;
        }
    }
    const RowGeometry g = geometry(m, p.row);
    const int columns = columnCount(g.text, g.tab, g.wrap);
    if (target >= columns) {
        m.setCaret({p.row, target});
        return;
    }
    // Characters cut by the target or holding the caret become spaces, so
    // the text after the caret keeps its columns.
    const std::size_t fromByte = byteOfColumn(g.text, target, g.tab, g.wrap);
    const int fromCol = columnOfByte(g.text, fromByte, g.tab, g.wrap);
    const std::size_t toByte = p.col >= columns ? g.text.size() : byteOfColumn(g.text, p.col, g.tab, g.wrap);
    const int toCol = p.col >= columns ? columns : columnOfByte(g.text, toByte, g.tab, g.wrap);
    std::size_t endByte = toByte;
    std::string tail;
    if (toCol < p.col && toByte < g.text.size()) {  // the caret stands inside a tab
        endByte = toByte + charLengthAt(g.text, toByte);
        tail.assign(static_cast<std::size_t>(characterEnd(m, p.row, toCol) - p.col), ' ');
    }
    std::string text(static_cast<std::size_t>(target - fromCol), ' ');
    text += tail;
    m.replaceRange({p.row, fromCol}, {p.row, columnOfByte(g.text, endByte, g.tab, g.wrap)}, text);
    m.setCaret({p.row, target});
}

void deleteBackward(EditorModel& m, const TEditorCaret& opt) {
    if (m.hasSelection()) {
        m.deleteSelection();
        return;
    }
    const TextPosition p = m.caret();
    if (p.col > 0) {
        const int columns = m.rowColumns(p.row);
        const bool blank = blankOnly(geometry(m, p.row).text);
        if (opt.BackSpaceUnIndent && (blank || p.col == rowIndentation(m, p.row))) {
            unindent(m, p);
        } else if (p.col > columns) {
            m.setCaret({p.row, p.col - 1});
        } else {
            m.replaceRange({p.row, snapToCharacter(m, p.row, p.col - 1)}, p, {});
        }
        return;
    }
    if (p.row == 0) return;
    const int above = p.row - 1;
    const int aboveColumns = m.rowColumns(above);
    if (m.rowKind(above) == BreakKind::Wrapped) {
        m.replaceRange({above, snapToCharacter(m, above, aboveColumns - 1)}, {above, aboveColumns}, {});
    } else {
        m.replaceRange({above, aboveColumns}, p, {});
    }
}

void enter(EditorModel& m, const TEditorCaret& opt, bool shift) {
    if (m.hasSelection()) {
        if (shift) return;
        m.deleteSelection();
    }
    TextPosition p = m.caret();
    if (p.row >= m.RowCount()) {
        m.replaceRange({m.RowCount(), 0}, {m.RowCount(), 0}, "\r\n");
        m.setCaret({m.lastCaretRow(), 0});
        return;
    }
    if (m.OverwriteMode()) {
        m.setCaret({std::min(p.row + 1, m.lastCaretRow()), 0});
        return;
    }
    int indent = 0;
    const int firstRow = m.firstRowOfLine(m.LineIndexOfRow(p.row));
    if (m.AutoIndent()) {
        const int e = rowIndentation(m, firstRow);
        if (e > 0) {
            indent = (p.row == firstRow && p.col < e) ? p.col : e;
        } else if (opt.PrevSpaceIndent && p.row == firstRow && m.rowText(p.row).empty()) {
            for (int r = firstRow - 1; r >= 0; --r) {
                if (!blankOnly(m.rowText(r))) {
                    indent = rowIndentation(m, r);
                    break;
                }
            }
        }
    }
    const std::string text = indentationText(indent, m.TabSpaceCount(), opt.TabIndent);
    if (shift) {
        const std::int64_t start = m.offsetOfRow(firstRow);
        m.replaceRange({firstRow, 0}, {firstRow, 0}, text + "\r\n");
        m.setCaret(m.positionOfOffset(start + static_cast<std::int64_t>(text.size())));
        return;
    }
    p.col = std::min(p.col, m.rowColumns(p.row));
    m.replaceRange(p, p, "\r\n" + text);
}

void tab(EditorModel& m, const TEditorCaret& opt) {
    const int col = m.caret().col;
    const int size = m.TabSpaceCount();
    int n = size - col % size;
    if (m.WordWrap()) {
        const int w = m.WrapOption().WrapByte;
        n = std::min(n, w - col % w);
    }
    if (m.OverwriteMode()) {
        m.clearSelection();
        m.setCaret({m.caret().row, col + n});
        return;
    }
    typeText(m, opt.SoftTab ? std::string(static_cast<std::size_t>(n), ' ') : std::string("\t"));
}

void overwrite(EditorModel& m, std::string_view typed) {
    const TextPosition p = m.caret();
    const int line = m.LineIndexOfRow(p.row);
    const int firstRow = m.firstRowOfLine(line);
    std::string text = m.Lines().Get(line);
    // Byte of the caret within the line.
    std::size_t at = 0;
    for (int r = firstRow; r < p.row; ++r) at += m.rowText(r).size();
    at += m.byteOfRowColumn(p.row, p.col);
    int need = 0;  // columns the typed text takes
    for (std::size_t pos = 0; pos < typed.size(); pos += charLengthAt(typed, pos)) need += charLengthAt(typed, pos) == 2 ? 2 : 1;
    int covered = 0;
    std::size_t end = at;
    while (covered < need && end < text.size()) {
        const std::size_t len = charLengthAt(text, end);
        covered += len == 2 ? 2 : 1;
        end += len;
    }
    std::string replacement(typed);
    if (covered > need) replacement += ' ';  // the second half of a cut double-byte character
    const std::int64_t start = m.offsetOfRow(firstRow);
    text.replace(at, end - at, replacement);
    m.replaceLines(line, 1, {text}, m.Lines().hasLineBreak(line) ? BreakKind::LineBreak : BreakKind::EndOfText);
    m.setCaret(m.positionOfOffset(start + static_cast<std::int64_t>(at + typed.size())));
}

void typeAtCaret(EditorModel& m, std::string_view typed) {
    if (m.hasSelection()) {
        m.replaceSelection(typed);
        return;
    }
    const TextPosition p = m.caret();
    if (m.OverwriteMode() && p.row < m.RowCount() && p.col < m.rowColumns(p.row)) {
        overwrite(m, typed);
        return;
    }
    m.replaceRange(p, p, typed);
}

}  // namespace

int rowIndentation(const EditorModel& m, int row) {
    const RowGeometry g = geometry(m, row);
    std::size_t n = 0;
    while (n < g.text.size() && (g.text[n] == ' ' || g.text[n] == '\t')) ++n;
    return columnOfByte(g.text, n, g.tab, g.wrap);
}

bool typeText(EditorModel& m, std::string_view sjis) {
    for (std::size_t pos = 0; pos < sjis.size();) {
        const auto b = static_cast<unsigned char>(sjis[pos]);
        if (isLeadByte(b)) {
            if (pos + 1 >= sjis.size()) return false;
            pos += 2;
        } else if (b == '\t' || (b >= 0x20 && b <= 0x7E) || b >= 0xA0) {
            ++pos;
        } else {
            return false;
        }
    }
    if (!sjis.empty()) typeAtCaret(m, sjis);
    m.scrollToCaret();
    return true;
}

void pressKey(EditorModel& m, const TEditorCaret& opt, EditKey key, KeyModifiers mods) {
    switch (key) {
    case EditKey::Delete:
        deleteForward(m);
        break;
    case EditKey::Backspace:
        deleteBackward(m, opt);
        break;
    case EditKey::Enter:
        enter(m, opt, mods.shift);
        break;
    case EditKey::Tab:
        tab(m, opt);
        break;
    default:
        move(m, opt, key, mods);
        break;
    }
    m.scrollToCaret();
}

}  // namespace tabulo::editor
