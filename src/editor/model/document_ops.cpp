#include "editor/model/document_ops.h"

#include "editor/model/editor_model.h"

namespace tabulo::editor {

void widenToWholeLines(EditorModel& model) {
    if (model.SelLength() == 0) return;
    const std::int64_t start = model.offsetOfRow(model.rowOfOffset(model.SelStart()));
    const TextPosition selEnd = model.selectionEnd();
    int e = selEnd.row;
    if (selEnd.col == 0 && e > model.selectionStart().row) --e;  // nothing selected on the end row
    // Up to the end of row e's text; a wrapped row keeps its last character.
    const bool nextIsText = e + 1 < model.RowCount();
    const std::int64_t end =
        nextIsText ? model.offsetOfRow(e) + static_cast<std::int64_t>(model.rowText(e).size())
                   : model.textLength();
    model.SetSelStart(start);
    model.SetSelLength(end - start);
}

void insertLineAtCaret(EditorModel& model) {
    const int line = model.LineIndexOfRow(model.Row());
    if (line > model.Lines().Count()) return;
    model.Lines().Insert(line, "");
}

void deleteCaretLine(EditorModel& model) {
    const int line = model.LineIndexOfRow(model.Row());
    if (line >= model.Lines().Count()) return;  // the caret is on the row after the last break
    model.Lines().Delete(line);
}

std::optional<LineRange> lineRange(EditorModel& model) {
    if (model.SelLength() == 0) return std::nullopt;
    widenToWholeLines(model);
    const int first = model.LineIndexOfRow(model.selectionStart().row);
    const TextPosition end = model.selectionEnd();
    int endRow = end.row;
    if (end.col == 0 && endRow > model.selectionStart().row) --endRow;
    int last = model.LineIndexOfRow(endRow);
    const int count = model.Lines().Count();
    if (last >= count) last = count - 1;
    return LineRange{first, last};
}

void BulkEdit::begin(bool clearSelection) {
    m_stopRequested = false;
    m_active = true;
    if (m_hooks.enableStopItem) m_hooks.enableStopItem(true);
    if (clearSelection) {
        m_model.SetSelStart(0);
        m_model.BeginUpdate();
        m_updating = true;
    }
}

void BulkEdit::end(bool restore) {
    if (!m_active) return;
    m_active = false;
    if (m_hooks.enableStopItem) m_hooks.enableStopItem(false);
    if (restore && m_updating) {
        m_updating = false;
        m_model.EndUpdate();
        m_model.scrollToCaret();
        m_model.SetSelStart(m_model.textLength());
    }
}

bool BulkEdit::keepGoing() {
    if (m_hooks.processEvents) m_hooks.processEvents();
    return !m_stopRequested;
}

}  // namespace tabulo::editor
