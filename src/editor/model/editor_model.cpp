#include "editor/model/editor_model.h"

#include <algorithm>
#include <sys/stat.h>

#include "editor/model/column_classes.h"
#include "editor/model/text_lines.h"
#include "editor/model/wrap_layout.h"

namespace tabulo::editor {

EditorModel::EditorModel() : m_lines(*this) {}

// ---------------------------------------------------------------- text

namespace {

// Offset units of a text: every line break (CR LF, lone CR, lone LF) counts 2.
std::int64_t offsetLength(std::string_view text) {
    std::int64_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            n += 2;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            n += 2;
        } else {
            ++n;
        }
    }
    return n;
}

}  // namespace

TEditorScreenStrings EditorModel::rowsOfText(std::string_view text, bool keepLastWithoutBreak) const {
    // The text is held once, like a loaded file, and its rows point into it.
    auto data = std::make_unique_for_overwrite<char[]>(text.size());
    std::copy(text.begin(), text.end(), data.get());
    auto bytes = std::make_shared<const TextBuffer>(std::move(data), text.size());
    TEditorScreenStrings rows;
    rows.attach(bytes);
    scanLines(bytes->view(), [&](std::size_t begin, std::size_t end, bool hasBreak) {
        const bool last = !hasBreak && keepLastWithoutBreak;
        pushLoadedLine(rows, bytes->view().substr(begin, end - begin), begin,
                       last ? BreakKind::EndOfText : BreakKind::LineBreak);
    });
    return rows;
}

void EditorModel::pushLoadedLine(TEditorScreenStrings& rows, std::string_view line, std::size_t begin,
                                 BreakKind kind) const {
    if (!m_wordWrap) {
        rows.pushLoaded(begin, line.size(), kind);
        return;
    }
    for (const WrappedRow& piece : wrapLine(line, m_wrap, m_tabSize)) {
        rows.pushLoaded(begin + piece.begin, piece.end - piece.begin, piece.lineEnd ? kind : BreakKind::Wrapped);
    }
}

void EditorModel::SetTextStr(std::string_view text) {
    TEditorScreenStrings rows = rowsOfText(text, false);
    clearAll();
    m_rows = std::move(rows);
    m_modified = true;
    notify(ModelChange::Text);
}

namespace {

std::string joinRows(const TEditorScreenStrings& rows, std::string_view lineBreak) {
    std::size_t size = 0;
    for (int r = 0; r < rows.count(); ++r) {
        size += rows.text(r).size() + (rows.kind(r) == BreakKind::LineBreak ? lineBreak.size() : 0);
    }
    std::string out;
    out.reserve(size);
    for (int r = 0; r < rows.count(); ++r) {
        out += rows.text(r);
        if (rows.kind(r) == BreakKind::LineBreak) out += lineBreak;
    }
    return out;
}

}  // namespace

std::string EditorModel::GetTextStr() const {
    return joinRows(m_rows, "\r\n");
}

std::string EditorModel::fileText() const {
    return joinRows(m_rows, lineBreakBytes(m_lineBreak));
}

void EditorModel::setLineBreakStyle(LineBreakStyle style) {
    m_lineBreak = style;
    notify(ModelChange::Flags);
}

void EditorModel::setFileEncoding(FileEncoding encoding) {
    m_fileEncoding = encoding;
    notify(ModelChange::Flags);
}

FileReadReport EditorModel::LoadFromFile(const std::string& path) {
    TEditorScreenStrings rows;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        // Room for short lines; pages never written are never resident.
        rows.reserve(static_cast<std::size_t>(st.st_size / 16 + 16));
    }
    FileText file = readFileText(path, [&](std::string_view line, std::size_t begin, bool hasBreak) {
        pushLoadedLine(rows, line, begin, hasBreak ? BreakKind::LineBreak : BreakKind::EndOfText);
    });
    clearAll();
    rows.attach(std::move(file.bytes));
    m_rows = std::move(rows);
    const FileReadReport& report = file.report;
    m_lineBreak = report.breaks.convention();
    m_fileEncoding = FileEncoding::ShiftJis;
    m_modified = false;
    notify(ModelChange::Text);
    return report;
}

void EditorModel::LoadFromText(std::string_view text) {
    TEditorScreenStrings rows = rowsOfText(text, true);
    clearAll();
    m_rows = std::move(rows);
    m_modified = false;
    notify(ModelChange::Text);
}

void EditorModel::SaveToFile(const std::string& path, const os::SaveOptions& options) const {
    os::saveFileBytes(path, fileText(), options);
}

std::int64_t EditorModel::textLength() const {
    return m_rows.length();
}

// ---------------------------------------------------------------- rows

int EditorModel::rowColumns(int row) const {
    if (row < 0 || row >= RowCount()) return 0;
    return columnCount(m_rows.text(row), m_tabSize, m_wordWrap ? m_wrap.WrapByte : 0);
}

int EditorModel::lastCaretRow() const {
    if (m_rows.empty()) return 0;
    return m_rows.backKind() == BreakKind::LineBreak ? RowCount() : RowCount() - 1;
}

void EditorModel::ensureLineStarts(int line) const {
    if (m_lineStartsComplete) return;
    if (m_lineStarts.empty()) {
        if (m_rows.empty()) {
            m_lineStartsComplete = true;
            return;
        }
        m_lineStarts.push_back(0);
    }
    const int rows = RowCount();
    while (static_cast<int>(m_lineStarts.size()) <= line) {
        int r = m_lineStarts.back();
        while (r < rows - 1 && m_rows.kind(r) == BreakKind::Wrapped) ++r;
        if (r + 1 >= rows) {
            m_lineStartsComplete = true;
            return;
        }
        m_lineStarts.push_back(r + 1);
    }
}

int EditorModel::firstRowOfLine(int line) const {
    if (!m_wordWrap) return std::min(line, RowCount());
    ensureLineStarts(line);
    return line < static_cast<int>(m_lineStarts.size()) ? m_lineStarts[static_cast<std::size_t>(line)]
                                                         : RowCount();
}

int EditorModel::rowCountOfLine(int line) const {
    return firstRowOfLine(line + 1) - firstRowOfLine(line);
}

int EditorModel::LineIndexOfRow(int row) const {
    if (!m_wordWrap) return row;
    if (row >= RowCount()) {
        const int count = m_lines.Count();
        return (!m_rows.empty() && m_rows.backKind() != BreakKind::LineBreak) ? count - 1 : count;
    }
    ensureLineStarts(RowCount());
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), row);
    return static_cast<int>(it - m_lineStarts.begin()) - 1;
}

// ---------------------------------------------------------------- offsets

void EditorModel::ensureOffsets(int row) const {
    if (m_rowOffsets.empty()) m_rowOffsets.push_back(0);
    while (static_cast<int>(m_rowOffsets.size()) <= row) {
        const auto prev = static_cast<int>(m_rowOffsets.size()) - 1;
        m_rowOffsets.push_back(m_rowOffsets.back() + static_cast<std::int64_t>(m_rows.text(prev).size()) +
                               (m_rows.kind(prev) == BreakKind::LineBreak ? 2 : 0));
    }
}

std::int64_t EditorModel::offsetOfRow(int row) const {
    if (row < 0 || row > RowCount()) return -1;
    if (row == RowCount() && row > lastCaretRow()) return -1;
    ensureOffsets(row);
    return m_rowOffsets[static_cast<std::size_t>(row)];
}

int EditorModel::rowOfOffset(std::int64_t offset) const {
    if (m_rows.empty() || offset <= 0) return 0;
    // Extend the cache only as far as the offset needs.
    while (static_cast<int>(m_rowOffsets.size()) <= RowCount() &&
           (m_rowOffsets.empty() || m_rowOffsets.back() <= offset)) {
        ensureOffsets(static_cast<int>(m_rowOffsets.size()));
    }
    const auto it = std::upper_bound(m_rowOffsets.begin(), m_rowOffsets.end(), offset);
    const int row = static_cast<int>(it - m_rowOffsets.begin()) - 1;
    return std::min(row, lastCaretRow());
}

std::size_t EditorModel::byteInRow(int row, int col) const {
    if (row < 0 || row >= RowCount()) return 0;
    return byteOfColumn(m_rows.text(row), col, m_tabSize, m_wordWrap ? m_wrap.WrapByte : 0);
}

std::int64_t EditorModel::offsetOfPosition(TextPosition p) const {
    if (p.row >= RowCount()) return textLength();
    return offsetOfRow(p.row) + static_cast<std::int64_t>(byteInRow(p.row, p.col));
}

TextPosition EditorModel::positionOfOffset(std::int64_t offset) const {
    const int row = rowOfOffset(offset);
    if (row >= RowCount()) return {row, 0};
    const std::string_view text = m_rows.text(row);
    const std::int64_t within = std::clamp<std::int64_t>(offset - offsetOfRow(row), 0,
                                                         static_cast<std::int64_t>(text.size()));
    return {row, columnOfByte(text, static_cast<std::size_t>(within), m_tabSize,
                              m_wordWrap ? m_wrap.WrapByte : 0)};
}

TextPosition EditorModel::endPosition() const {
    const int row = lastCaretRow();
    return {row, rowColumns(row)};
}

// ---------------------------------------------------------------- caret and selection

TextPosition EditorModel::clampPosition(TextPosition p) const {
    p.row = std::clamp(p.row, 0, lastCaretRow());
    p.col = std::max(0, p.col);
    return p;
}

void EditorModel::SetRow(int row) {
    setCaret({row, m_caret.col});
}

void EditorModel::SetCol(int col) {
    setCaret({m_caret.row, col});
}

void EditorModel::setCaret(TextPosition p, bool extendSelection) {
    p = clampPosition(p);
    const bool hadSelection = m_hasSelection;
    if (extendSelection) {
        if (!m_hasSelection) m_anchor = m_caret;
        m_caret = p;
        m_hasSelection = true;
    } else {
        m_caret = p;
        m_hasSelection = false;
    }
    notify(hadSelection || m_hasSelection ? ModelChange::Selection : ModelChange::Caret);
}

void EditorModel::select(TextPosition anchor, TextPosition caretPos) {
    m_anchor = clampPosition(anchor);
    m_caret = clampPosition(caretPos);
    m_hasSelection = true;
    notify(ModelChange::Selection);
}

void EditorModel::clearSelection() {
    if (!m_hasSelection) return;
    m_hasSelection = false;
    notify(ModelChange::Selection);
}

TextPosition EditorModel::selectionStart() const {
    if (!m_hasSelection) return m_caret;
    TextPosition p = std::min(m_anchor, m_caret);
    p.col = std::min(p.col, rowColumns(p.row));
    return p;
}

TextPosition EditorModel::selectionEnd() const {
    if (!m_hasSelection) return m_caret;
    TextPosition p = std::max(m_anchor, m_caret);
    p.col = std::min(p.col, rowColumns(p.row));
    return p;
}

namespace {

// Byte range of a row that a box from column `left` to column `right`
// (excluded) covers: a character belongs to the box when its first column
// lies inside it, so a double-byte character or a tab cut by the left edge
// is left out and one cut by the right edge is taken whole.
std::pair<std::size_t, std::size_t> boxSlice(std::string_view text, int left, int right,
                                             int tabSize, int wrapWidth) {
    const ColumnMap map = columnMap(text, tabSize, wrapWidth);
    std::size_t from = text.size();
    std::size_t to = text.size();
    for (int c = 0; c < map.columns(); ++c) {
        const char cls = map.classes[static_cast<std::size_t>(c)];
        if (cls == kTabPadding || cls == kTrailColumn) continue;
        if (c >= left && from == text.size()) from = map.byteAt[static_cast<std::size_t>(c)];
        if (c >= right) {
            to = map.byteAt[static_cast<std::size_t>(c)];
            break;
        }
    }
    if (from > to) from = to;
    return {from, to};
}

}  // namespace

std::int64_t EditorModel::SelStart() const {
    if (m_hasSelection && m_boxMode) {
        const int top = std::min(m_anchor.row, m_caret.row);
        const int left = std::min(m_anchor.col, m_caret.col);
        if (top >= RowCount()) return textLength();
        const auto [from, to] = boxSlice(m_rows.text(top), left, left, m_tabSize,
                                         m_wordWrap ? m_wrap.WrapByte : 0);
        (void)to;
        return offsetOfRow(top) + static_cast<std::int64_t>(from);
    }
    return offsetOfPosition(selectionStart());
}

std::int64_t EditorModel::SelLength() const {
    if (!m_hasSelection) return 0;
    if (m_boxMode) {
        const Box b = box();
        if (b.left == b.right) return 0;
        std::int64_t n = 0;
        for (int r = b.top; r <= std::min(b.bottom, RowCount() - 1); ++r) {
            const auto [from, to] = boxSliceOfRow(r, b.left, b.right);
            n += static_cast<std::int64_t>(to - from) + 2;
        }
        return n;
    }
    return offsetOfPosition(selectionEnd()) - offsetOfPosition(selectionStart());
}

void EditorModel::SetSelStart(std::int64_t offset) {
    setCaret(positionOfOffset(std::max<std::int64_t>(0, offset)));
}

void EditorModel::SetSelLength(std::int64_t length) {
    const std::int64_t start = SelStart();
    const TextPosition from = positionOfOffset(start);
    const TextPosition to = positionOfOffset(start + std::max<std::int64_t>(0, length));
    if (from == to) {
        setCaret(from);
        return;
    }
    select(from, to);
}

void EditorModel::SelectAll() {
    select({0, 0}, endPosition());
}

std::string EditorModel::textRange(TextPosition s, TextPosition e) const {
    if (e < s) std::swap(s, e);
    std::string out;
    const int lastRow = std::min(e.row, RowCount() - 1);
    for (int r = s.row; r <= lastRow; ++r) {
        const std::string_view text = m_rows.text(r);
        const std::size_t from = r == s.row ? byteInRow(r, s.col) : 0;
        const std::size_t to = r == e.row ? byteInRow(r, e.col) : text.size();
        if (to > from) out.append(text.substr(from, to - from));
        if (r < e.row && m_rows.kind(r) == BreakKind::LineBreak) out += "\r\n";
    }
    return out;
}

void EditorModel::moveSelectionTo(TextPosition drop, bool copy) {
    if (!m_hasSelection || m_boxMode) return;
    const TextPosition s = selectionStart();
    const TextPosition e = selectionEnd();
    drop = clampPosition(drop);
    if (drop.row < RowCount()) drop.col = std::min(drop.col, rowColumns(drop.row));
    if (!(drop < s) && !(e < drop)) {  // inside the selection (its ends included)
        clearSelection();
        return;
    }
    const std::string moved = textRange(s, e);
    if (copy) {
        m_hasSelection = false;
        replaceRange(drop, drop, moved);
        return;
    }
    if (drop < s) {
        const std::int64_t at = offsetOfPosition(drop);
        replaceRange(drop, e, moved + textRange(drop, s));
        setCaret(positionOfOffset(at + offsetLength(moved)));
    } else {
        const std::int64_t at = offsetOfPosition(s);
        const std::string between = textRange(e, drop);
        replaceRange(s, drop, between + moved);
        setCaret(positionOfOffset(at + offsetLength(between) + offsetLength(moved)));
    }
}

std::string EditorModel::SelectedText() const {
    if (!m_hasSelection) return {};
    if (!m_boxMode) return textRange(selectionStart(), selectionEnd());
    const Box b = box();
    if (b.left == b.right) return {};
    std::string out;
    for (int r = b.top; r <= std::min(b.bottom, RowCount() - 1); ++r) {
        const auto [from, to] = boxSliceOfRow(r, b.left, b.right);
        out.append(m_rows.text(r).substr(from, to - from));
        out += "\r\n";
    }
    return out;
}

EditorModel::Box EditorModel::box() const {
    return {std::min(m_anchor.row, m_caret.row), std::max(m_anchor.row, m_caret.row),
            std::min(m_anchor.col, m_caret.col), std::max(m_anchor.col, m_caret.col)};
}

std::pair<std::size_t, std::size_t> EditorModel::boxSliceOfRow(int row, int left, int right) const {
    if (row < 0 || row >= RowCount()) return {0, 0};
    return boxSlice(m_rows.text(row), left, right, m_tabSize, columnWrapWidth());
}

void EditorModel::replaceWithText(int firstLine, int lastLine, std::string_view combined) {
    std::vector<std::string> lines;
    bool lastHasBreak = true;
    splitLines(combined, [&](std::string_view line, bool hasBreak) {
        lines.emplace_back(line);
        lastHasBreak = hasBreak;
    });
    // A text ending in a break yields no empty line after it, which is what
    // the rows want.
    replaceLines(firstLine, lastLine - firstLine, lines,
                 lastHasBreak ? BreakKind::LineBreak : BreakKind::EndOfText);
}

int EditorModel::rebuildRows(int firstRow, int lastRow, const std::function<std::string(int)>& edit,
                             std::string_view appended) {
    const int count = m_lines.Count();
    if (firstRow >= RowCount()) {
        std::string combined(appended);
        if (!combined.empty() && !m_rows.empty() && m_rows.backKind() != BreakKind::LineBreak) {
            // Text after a last line without a break starts a new line.
            const int last = count - 1;
            const std::string lastLine = m_lines.Get(last);
            replaceWithText(last, count, lastLine + "\r\n" + combined);
            return firstRowOfLine(last);
        }
        replaceWithText(count, count, combined);
        return firstRowOfLine(count);
    }
    lastRow = std::min(lastRow, RowCount() - 1);
    const int firstLine = LineIndexOfRow(firstRow);
    const int endLine = LineIndexOfRow(lastRow) + 1;
    const int r0 = firstRowOfLine(firstLine);
    const int r1 = firstRowOfLine(endLine);
    std::string combined;
    for (int r = r0; r < r1; ++r) {
        if (r >= firstRow && r <= lastRow) {
            combined += edit(r);
        } else {
            combined += m_rows.text(r);
        }
        if (m_rows.kind(r) == BreakKind::LineBreak) combined += "\r\n";
    }
    if (!appended.empty() && m_rows.kind(r1 - 1) != BreakKind::LineBreak) combined += "\r\n";
    combined.append(appended);
    replaceWithText(firstLine, endLine, combined);
    return r0;
}

void EditorModel::replaceSelection(std::string_view text) {
    if (m_hasSelection && m_boxMode) {
        const Box b = box();
        if (b.top >= RowCount()) {
            clearSelection();
        } else {
            // A plain variable, not a structured binding: the lambda below
            // captures it, which clang before version 16 does not allow.
            const std::size_t from = boxSliceOfRow(b.top, b.left, b.left).first;
            const std::int64_t insertAt = offsetOfRow(b.top) + static_cast<std::int64_t>(from);
            rebuildRows(b.top, b.bottom, [&](int r) {
                std::string row(m_rows.text(r));
                const auto [f, t] = boxSliceOfRow(r, b.left, b.right);
                row.erase(f, t - f);
                if (r == b.top) row.insert(from, text);
                return row;
            });
            setCaret(positionOfOffset(insertAt + offsetLength(text)));
            return;
        }
    }
    if (!m_hasSelection && text.empty()) return;
    replaceRange(selectionStart(), selectionEnd(), text);
}

void EditorModel::replaceRange(TextPosition s, TextPosition e, std::string_view text) {
    s = clampPosition(s);
    e = clampPosition(e);
    if (e < s) std::swap(s, e);
    std::string padding;
    if (s.row < RowCount()) {
        const int columns = rowColumns(s.row);
        if (s.col > columns) padding.assign(static_cast<std::size_t>(s.col - columns), ' ');
    }
    const std::int64_t caretOffset = offsetOfPosition(s) + static_cast<std::int64_t>(padding.size()) +
                                     offsetLength(text);
    std::string inserted = padding;
    inserted.append(text);

    const int count = m_lines.Count();
    const int firstLine = s.row >= RowCount() ? count : LineIndexOfRow(s.row);
    std::string combined;
    int lastLine = count;  // excluded
    if (firstLine < count) {
        const int lineFirstRow = firstRowOfLine(firstLine);
        for (int r = lineFirstRow; r < s.row; ++r) combined += m_rows.text(r);
        combined.append(m_rows.text(s.row).substr(0, byteInRow(s.row, s.col)));
        combined += inserted;
        if (e.row < RowCount()) {
            lastLine = LineIndexOfRow(e.row) + 1;
            const int endLineLastRow = firstRowOfLine(lastLine) - 1;
            combined.append(m_rows.text(e.row).substr(byteInRow(e.row, e.col)));
            for (int r = e.row + 1; r <= endLineLastRow; ++r) combined += m_rows.text(r);
            if (m_rows.kind(endLineLastRow) == BreakKind::LineBreak) combined += "\r\n";
        }
        replaceWithText(firstLine, lastLine, combined);
    } else {
        rebuildRows(RowCount(), RowCount(), {}, inserted);
    }
    setCaret(positionOfOffset(caretOffset));
}

void EditorModel::deleteSelection() {
    if (!m_hasSelection) return;
    replaceSelection({});
}

void EditorModel::pasteBox(std::string_view text) {
    std::vector<std::string> pieces;
    splitLines(text, [&](std::string_view line, bool) { pieces.emplace_back(line); });
    if (pieces.empty()) pieces.emplace_back();
    const int k = static_cast<int>(pieces.size());

    int first = m_caret.row;
    int col = m_caret.col;
    int selTop = -1;
    int selBottom = -1;
    int selRight = 0;
    if (m_hasSelection && m_boxMode) {
        const Box b = box();
        first = b.top;
        col = b.left;
        selTop = b.top;
        selBottom = b.bottom;
        selRight = b.right;
    } else if (m_hasSelection) {
        // A normal selection goes first; the block lands where it began.
        const TextPosition s = selectionStart();
        deleteSelection();
        first = s.row;
        col = s.col;
    }
    const int lastTarget = first + k - 1;
    const int wrap = columnWrapWidth();
    auto spaces = [](int n) { return std::string(static_cast<std::size_t>(std::max(0, n)), ' '); };

    std::string appended;
    for (int r = std::max(first, RowCount()); r <= lastTarget; ++r) {
        appended += spaces(col) + pieces[static_cast<std::size_t>(r - first)];
        appended += "\r\n";
    }
    if (!appended.empty() && !m_rows.empty() && lastTarget >= RowCount() &&
        m_rows.backKind() != BreakKind::LineBreak) {
        // The text had no final break: the pasted block keeps it that way.
        appended.resize(appended.size() - 2);
    }
    const int editFirst = selTop >= 0 ? std::min(selTop, first) : first;
    const int editLast = std::max(lastTarget, selBottom);
    if (editFirst < RowCount()) {
        rebuildRows(editFirst, editLast, [&](int r) {
            std::string row(m_rows.text(r));
            if (r >= selTop && r <= selBottom) {
                const auto [f, t] = boxSliceOfRow(r, col, selRight);
                row.erase(f, t - f);
            }
            if (r >= first && r <= lastTarget) {
                const std::string& piece = pieces[static_cast<std::size_t>(r - first)];
                const int columns = columnCount(row, m_tabSize, wrap);
                if (columns >= col) {
                    const auto [at, unused] = boxSlice(row, col, col, m_tabSize, wrap);
                    (void)unused;
                    row.insert(at, piece);
                } else {
                    row += spaces(col - columns) + piece;
                }
            }
            return row;
        }, appended);
    } else {
        rebuildRows(RowCount(), RowCount(), {}, appended);
    }
    setCaret({lastTarget, col + columnCount(pieces.back(), m_tabSize, wrap)});
}

void EditorModel::Undo() {
    if (!m_history.canUndo()) return;
    swapStep(m_history.takeUndo(), false);
}

void EditorModel::Redo() {
    if (!m_history.canRedo()) return;
    swapStep(m_history.takeRedo(), true);
}

std::string EditorModel::takeLine(int line) {
    // Without soft wrap a line is one row, which is about to be replaced:
    // an edited row's bytes move out instead of being copied.
    if (m_wordWrap || line >= RowCount()) return m_lines.Get(line);
    return m_rows.take(line);
}

void EditorModel::swapStep(UndoRecord record, bool redo) {
    BeginUpdate();
    UndoRecord inverse;
    inverse.caretRow = m_caret.row;
    inverse.caretCol = m_caret.col;
    inverse.startLine = record.startLine;
    inverse.lineCount = static_cast<int>(record.lines.size());
    inverse.lines.reserve(static_cast<std::size_t>(std::max(0, record.lineCount)));
    for (int i = 0; i < record.lineCount; ++i) inverse.lines.push_back(takeLine(record.startLine + i));
    if (record.lineCount > 0) {
        inverse.lastBreak = m_lines.hasLineBreak(record.startLine + record.lineCount - 1) ? BreakKind::LineBreak
                                                                                           : BreakKind::EndOfText;
    }
    replaceLinesUnrecorded(record.startLine, record.lineCount, std::move(record.lines),
                           record.lastBreak.value_or(BreakKind::LineBreak));
    if (redo) {
        m_history.record(std::move(inverse), true);
    } else {
        m_history.pushRedo(std::move(inverse));
    }
    m_caret = clampPosition({record.caretRow, record.caretCol});
    m_hasSelection = false;
    EndUpdate();
}

// ---------------------------------------------------------------- view state

void EditorModel::SetTopRow(int row) {
    const int top = std::clamp(row, 0, lastCaretRow());
    if (top == m_topRow) return;
    m_topRow = top;
    notify(ModelChange::Layout);
}

void EditorModel::setVisibleArea(int rows, int columns) {
    m_visibleRows = std::max(1, rows);
    m_visibleColumns = std::max(1, columns);
}

void EditorModel::scrollToCaret() {
    if (m_caret.row < m_topRow) {
        SetTopRow(m_caret.row);
    } else if (m_caret.row >= m_topRow + m_visibleRows) {
        SetTopRow(m_caret.row - m_visibleRows + 1);
    }
}

// ---------------------------------------------------------------- flags

void EditorModel::SetModified(bool on) {
    if (m_modified == on) return;
    m_modified = on;
    notify(ModelChange::Flags);
}

void EditorModel::SetBoxMode(bool on) {
    // A selection being dragged out with the mouse keeps its mode.
    if (m_boxMode == on || m_mouseSelecting) return;
    m_boxMode = on;
    notify(m_hasSelection ? ModelChange::Selection : ModelChange::Flags);
}

void EditorModel::SetOverwriteMode(bool on) {
    if (m_overwrite == on) return;
    m_overwrite = on;
    notify(ModelChange::Flags);
}

void EditorModel::SetAutoIndent(bool on) {
    m_autoIndent = on;
    notify(ModelChange::Flags);
}

void EditorModel::SetTabSpaceCount(int n) {
    n = std::max(1, n);
    if (n == m_tabSize) return;
    m_tabSize = n;
    if (m_wordWrap) rewrapAll();
    notify(ModelChange::Layout);
}

// ---------------------------------------------------------------- soft wrap

void EditorModel::SetWordWrap(bool on) {
    if (on == m_wordWrap) return;
    m_wordWrap = on;
    m_history.clear();
    rewrapAll();
}

void EditorModel::SetWrapOption(const TEditorWrapOption& option) {
    if (option == m_wrap) return;
    m_wrap = option;
    if (m_wrap.WrapByte < 1) m_wrap.WrapByte = 1;
    m_history.clear();
    if (m_wordWrap) rewrapAll();
}

int EditorModel::rowCountOfText(std::string_view line) const {
    return m_wordWrap ? wrappedRowCount(line, m_wrap, m_tabSize) : 1;
}

std::vector<ScreenRow> EditorModel::makeRows(std::string&& line, BreakKind lastBreak) const {
    if (m_wordWrap) return makeRows(std::string_view(line), lastBreak);
    std::vector<ScreenRow> rows;
    rows.push_back({std::move(line), lastBreak});
    return rows;
}

std::vector<ScreenRow> EditorModel::makeRows(std::string_view line, BreakKind lastBreak) const {
    std::vector<ScreenRow> rows;
    if (!m_wordWrap) {
        rows.push_back({std::string(line), lastBreak});
        return rows;
    }
    const auto pieces = wrapLine(line, m_wrap, m_tabSize);
    rows.reserve(pieces.size());
    for (const auto& piece : pieces) {
        rows.push_back({std::string(line.substr(piece.begin, piece.end - piece.begin)),
                        piece.lineEnd ? lastBreak : BreakKind::Wrapped});
    }
    return rows;
}

void EditorModel::rewrapAll() {
    // Rows change, offsets do not: keep the caret, the selection and the
    // text at the top of the window by offset, then the caret in view.
    const std::int64_t caretOffset = offsetOfPosition(m_caret);
    const std::int64_t anchorOffset = offsetOfPosition(m_anchor);
    const std::int64_t topOffset = offsetOfRow(std::min(m_topRow, RowCount() - 1));
    // Every offset is computed again from the new rows: the old ones go
    // first, and the new rows get room for about as many as the wrap makes,
    // so that the rows are never held twice over while they grow.
    std::vector<std::int64_t>().swap(m_rowOffsets);
    std::vector<int>().swap(m_lineStarts);
    TEditorScreenStrings rows = m_rows.emptySharingBytes();
    const std::string_view loaded = m_rows.loadedBytes();
    const std::size_t perRow = m_wordWrap ? static_cast<std::size_t>(std::max(1, m_wrap.WrapByte)) : 0;
    rows.reserve(static_cast<std::size_t>(RowCount()) + (perRow ? loaded.size() / perRow : 0));
    std::string joined;
    const int count = RowCount();
    for (int first = 0; first < count;) {
        int last = first;
        while (last + 1 < count && m_rows.kind(last) == BreakKind::Wrapped) ++last;
        const BreakKind kind = m_rows.kind(last);
        const BreakKind end = kind == BreakKind::Wrapped ? BreakKind::EndOfText : kind;
        // A line still as it was loaded stays a place in the loaded bytes.
        const std::int64_t begin = m_rows.loadedBegin(first);
        std::int64_t next = begin;
        for (int r = first; r <= last && next >= 0; ++r) {
            next = m_rows.loadedBegin(r) == next ? next + static_cast<std::int64_t>(m_rows.text(r).size()) : -1;
        }
        if (next >= 0) {
            const auto at = static_cast<std::size_t>(begin);
            pushLoadedLine(rows, loaded.substr(at, static_cast<std::size_t>(next - begin)), at, end);
        } else {
            joined.clear();
            for (int r = first; r <= last; ++r) joined += m_rows.text(r);
            for (ScreenRow& row : makeRows(std::move(joined), end)) rows.push(std::move(row.text), row.kind);
            joined = std::string();
        }
        first = last + 1;
    }
    m_rows = std::move(rows);
    m_changedFromLine = 0;
    invalidateFrom(0);
    m_caret = positionOfOffset(caretOffset);
    m_anchor = positionOfOffset(anchorOffset);
    m_topRow = topOffset < 0 ? 0 : std::min(positionOfOffset(topOffset).row, lastCaretRow());
    scrollToCaret();
    notify(ModelChange::Layout);
}

// ---------------------------------------------------------------- changes

void EditorModel::invalidateFrom(int row) {
    row = std::max(0, row);
    if (static_cast<int>(m_rowOffsets.size()) > row + 1) m_rowOffsets.resize(static_cast<std::size_t>(row) + 1);
    const auto keep = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), row);
    m_lineStarts.erase(keep, m_lineStarts.end());
    m_lineStartsComplete = false;
}

int EditorModel::replaceLines(int firstLine, int oldLineCount, const std::vector<std::string>& lines,
                              BreakKind lastBreak) {
    return replaceLines(firstLine, oldLineCount, std::vector<std::string>(lines), lastBreak);
}

int EditorModel::replaceLines(int firstLine, int oldLineCount, std::vector<std::string>&& lines,
                              BreakKind lastBreak) {
    const int count = m_lines.Count();
    if (firstLine >= count && count > 0 && !lines.empty() && m_rows.backKind() != BreakKind::LineBreak) {
        // Appending after a last line without a break: that line gets one,
        // so it belongs to the replaced region and an undo restores it.
        std::vector<std::string> widened;
        widened.reserve(lines.size() + 1);
        widened.push_back(m_lines.Get(count - 1));
        widened.insert(widened.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
        return replaceLines(count - 1, 1, std::move(widened), lastBreak);
    }
    UndoRecord record;
    record.caretRow = m_caret.row;
    record.caretCol = m_caret.col;
    record.startLine = firstLine;
    record.lineCount = static_cast<int>(lines.size());
    record.lines.reserve(static_cast<std::size_t>(oldLineCount));
    for (int i = 0; i < oldLineCount; ++i) {
        // Without soft wrap a line is one row, which is about to be replaced:
        // its bytes move into the history instead of being copied.
        record.lines.push_back(takeLine(firstLine + i));
    }
    if (oldLineCount > 0) {
        record.lastBreak = m_lines.hasLineBreak(firstLine + oldLineCount - 1) ? BreakKind::LineBreak
                                                                             : BreakKind::EndOfText;
    }
    m_history.record(std::move(record), false);
    return replaceLinesUnrecorded(firstLine, oldLineCount, std::move(lines), lastBreak);
}

int EditorModel::replaceLinesUnrecorded(int firstLine, int oldLineCount, std::vector<std::string> lines,
                                        BreakKind lastBreak) {
    const int r0 = firstRowOfLine(firstLine);
    const int r1 = firstRowOfLine(firstLine + oldLineCount);
    if (r0 == RowCount() && r0 > 0 && !lines.empty() && m_rows.backKind() != BreakKind::LineBreak) {
        m_rows.setKind(RowCount() - 1, BreakKind::LineBreak);
        invalidateFrom(r0 - 1);
    }
    const auto breakOf = [&](std::size_t i) { return i + 1 == lines.size() ? lastBreak : BreakKind::LineBreak; };
    int newRows = 0;
    if (!m_wordWrap && lines.size() == static_cast<std::size_t>(r1 - r0)) {
        // As many lines as rows, one row each: the new lines take the old
        // rows' places, with no second row list beside the document.
        for (std::size_t i = 0; i < lines.size(); ++i) {
            m_rows.set(r0 + static_cast<int>(i), std::move(lines[i]), breakOf(i));
        }
        newRows = r1 - r0;
    } else {
        std::vector<ScreenRow> rows;
        rows.reserve(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!m_wordWrap) {  // one row per line, without a vector for each
                rows.push_back({std::move(lines[i]), breakOf(i)});
                continue;
            }
            for (auto& row : makeRows(std::move(lines[i]), breakOf(i))) rows.push_back(std::move(row));
        }
        newRows = static_cast<int>(rows.size());
        m_rows.replace(r0, r1 - r0, std::move(rows));
    }
    ++m_textVersion;
    m_changedFromLine = std::min(m_changedFromLine, std::max(0, firstLine - 1));
    spliceCaches(firstLine, oldLineCount, r0, r1, newRows);
    m_hasSelection = false;
    m_modified = true;
    m_topRow = std::min(m_topRow, lastCaretRow());
    m_caret = clampPosition(m_caret);
    notify(ModelChange::Text);
    return r0;
}

void EditorModel::spliceCaches(int firstLine, int oldLineCount, int r0, int r1, int newRows) {
    if (m_rows.empty()) {
        invalidateFrom(0);
        return;
    }
    // Offsets: keep the entries after the region, shifted, when the cache
    // reaches past it; otherwise cut it back to the region's start.
    if (static_cast<int>(m_rowOffsets.size()) > r1 && r0 + newRows < RowCount()) {
        std::vector<std::int64_t> mid;
        mid.reserve(static_cast<std::size_t>(newRows));
        std::int64_t pos = m_rowOffsets[static_cast<std::size_t>(r0)];
        for (int r = r0; r < r0 + newRows; ++r) {
            mid.push_back(pos);
            pos += static_cast<std::int64_t>(m_rows.text(r).size()) +
                   (m_rows.kind(r) == BreakKind::LineBreak ? 2 : 0);
        }
        const std::int64_t delta = pos - m_rowOffsets[static_cast<std::size_t>(r1)];
        if (delta != 0) {
            for (std::size_t i = static_cast<std::size_t>(r1); i < m_rowOffsets.size(); ++i) m_rowOffsets[i] += delta;
        }
        const auto at = m_rowOffsets.begin() + r0;
        if (newRows == r1 - r0) {
            std::copy(mid.begin(), mid.end(), at);
        } else {
            m_rowOffsets.erase(at, m_rowOffsets.begin() + r1);
            m_rowOffsets.insert(m_rowOffsets.begin() + r0, mid.begin(), mid.end());
        }
    } else if (static_cast<int>(m_rowOffsets.size()) > r0 + 1) {
        m_rowOffsets.resize(static_cast<std::size_t>(r0) + 1);
    }
    if (!m_wordWrap) return;
    // First rows of lines, the same way, shifted by the change in rows.
    const int endLine = firstLine + oldLineCount;
    if (static_cast<int>(m_lineStarts.size()) > endLine && r0 + newRows < RowCount()) {
        std::vector<int> mid;
        for (int r = r0; r < r0 + newRows; ++r) {
            if (r == r0 || m_rows.kind(r - 1) != BreakKind::Wrapped) mid.push_back(r);
        }
        const int delta = newRows - (r1 - r0);
        for (std::size_t i = static_cast<std::size_t>(endLine); i < m_lineStarts.size(); ++i) m_lineStarts[i] += delta;
        m_lineStarts.erase(m_lineStarts.begin() + firstLine, m_lineStarts.begin() + endLine);
        m_lineStarts.insert(m_lineStarts.begin() + firstLine, mid.begin(), mid.end());
    } else {
        m_lineStarts.resize(std::min(m_lineStarts.size(), static_cast<std::size_t>(firstLine)));
        m_lineStartsComplete = false;
    }
}

void EditorModel::clearAll() {
    ++m_textVersion;
    m_history.clear();
    m_changedFromLine = 0;
    m_rows.clear();
    invalidateFrom(0);
    m_rowOffsets.clear();
    m_lineStarts.clear();
    m_caret = {};
    m_anchor = {};
    m_hasSelection = false;
    m_topRow = 0;
    m_modified = true;
    notify(ModelChange::Text);
}

// ---------------------------------------------------------------- updates

void EditorModel::BeginUpdate() {
    ++m_updateDepth;
}

void EditorModel::EndUpdate() {
    if (m_updateDepth == 0) return;
    if (--m_updateDepth == 0) notify(ModelChange::Text);
}

int EditorModel::addObserver(Observer observer) {
    m_observers.emplace_back(m_nextObserverId, std::move(observer));
    return m_nextObserverId++;
}

void EditorModel::removeObserver(int id) {
    std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void EditorModel::notify(ModelChange change) {
    if (m_updateDepth > 0) return;
    for (const auto& entry : m_observers) entry.second(change);
}

}  // namespace tabulo::editor
