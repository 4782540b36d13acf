#include "editor/model/leftbar_layout.h"

#include <algorithm>

#include "editor/model/editor_model.h"

namespace tabulo::editor {

namespace {

bool endsWithoutBreak(const EditorModel& m) {
    return m.RowCount() > 0 && m.rowKind(m.RowCount() - 1) == BreakKind::EndOfText;
}

int decimalDigits(long long n) {
    int d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

}  // namespace

int leftbarDigits(const TEditorLeftbar& bar, const EditorModel& m) {
    const int column = clampLeftbarColumn(bar.Column);
    if (!bar.ShowNumber) return column;
    const long long lastIndex =
        bar.ShowNumberMode == NumberMode::nmRow ? m.RowCount() - 1 : m.Lines().Count() - 1;
    const long long n = lastIndex + (bar.ZeroBase ? 0 : 1) + (endsWithoutBreak(m) ? 0 : 1);
    return std::clamp(decimalDigits(std::max(0LL, n)), column, 8);
}

int leftbarWidth(const TEditorLeftbar& bar, int digits, int charWidth) {
    return bar.LeftMargin + digits * charWidth + bar.RightMargin + 2;
}

std::optional<int> leftbarNumber(const TEditorLeftbar& bar, const EditorModel& m, int row) {
    if (!bar.ShowNumber || row < 0 || row > m.lastCaretRow()) return std::nullopt;
    const int base = bar.ZeroBase ? 0 : 1;
    if (bar.ShowNumberMode == NumberMode::nmRow) return row + base;
    if (row > 0 && row < m.RowCount() + 1 && m.rowKind(row - 1) == BreakKind::Wrapped) return std::nullopt;
    return m.LineIndexOfRow(row) + base;
}

std::string formatLeftbarNumber(const TEditorLeftbar& bar, int number, int digits) {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < digits) {
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), bar.ZeroLead ? '0' : ' ');
    }
    return text;
}

}  // namespace tabulo::editor
