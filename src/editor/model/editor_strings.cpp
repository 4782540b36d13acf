#include "editor/model/editor_strings.h"

#include <string>
#include <utility>

#include "editor/model/editor_model.h"

namespace tabulo::editor {

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

int TEditorStrings::Count() const {
    const EditorModel& m = m_model;
    if (!m.m_wordWrap) return m.RowCount();
    m.ensureLineStarts(m.RowCount());
    return static_cast<int>(m.m_lineStarts.size());
}

std::string TEditorStrings::Get(int i) const {
    std::string joined;
    const std::string_view line = View(i, joined);
    return line.data() == joined.data() ? std::move(joined) : std::string(line);
}

std::string_view TEditorStrings::View(int i, std::string& joined) const {
    if (i < 0 || i >= Count()) throw EListError(i);
    const int first = m_model.firstRowOfLine(i);
    const int last = m_model.firstRowOfLine(i + 1);
    if (last - first == 1) return m_model.rowText(first);
    joined.clear();
    for (int r = first; r < last; ++r) joined += m_model.rowText(r);
    return joined;
}

bool TEditorStrings::hasLineBreak(int i) const {
    if (i < 0 || i >= Count()) throw EListError(i);
    return m_model.rowKind(m_model.firstRowOfLine(i + 1) - 1) == BreakKind::LineBreak;
}

void TEditorStrings::Put(int i, std::string_view s) {
    const BreakKind kind = hasLineBreak(i) ? BreakKind::LineBreak : BreakKind::EndOfText;
    const std::string text(s);
    const int first = m_model.replaceLines(i, 1, {text}, kind);
    m_model.setCaret({first + m_model.rowCountOfLine(i), 0});
}

void TEditorStrings::Insert(int i, std::string_view s) {
    if (i == Count()) {
        Add(s);
        return;
    }
    if (i < 0 || i > Count()) throw EListError(i);
    const int first = m_model.replaceLines(i, 0, {std::string(s)}, BreakKind::LineBreak);
    m_model.setCaret({first + m_model.rowCountOfLine(i), 0});
}

void TEditorStrings::Add(std::string_view s) {
    m_model.replaceLines(Count(), 0, {std::string(s)}, BreakKind::LineBreak);
    m_model.setCaret({m_model.RowCount(), 0});
}

void TEditorStrings::Delete(int i) {
    if (i < 0 || i >= Count()) throw EListError(i);
    const int first = m_model.replaceLines(i, 1, {}, BreakKind::LineBreak);
    m_model.setCaret({first, 0});
}

void TEditorStrings::Clear() {
    m_model.clearAll();
}

std::string TEditorStrings::Text() const {
    return m_model.GetTextStr();
}

void TEditorStrings::SetText(std::string_view text) {
    m_model.SetTextStr(text);
}

void TEditorStrings::LoadFromFile(const std::string& path) {
    m_model.LoadFromFile(path);
}

void TEditorStrings::SaveToFile(const std::string& path) const {
    m_model.SaveToFile(path);
}

void TEditorStrings::BeginUpdate() {
    m_model.BeginUpdate();
}

void TEditorStrings::EndUpdate() {
    m_model.EndUpdate();
}

}  // namespace tabulo::editor
