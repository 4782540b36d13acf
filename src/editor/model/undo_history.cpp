#include "editor/model/undo_history.h"

#include <algorithm>

namespace tabulo::editor {

void UndoHistory::setLimit(int limit) {
    m_limit = std::max(1, limit);
    while (static_cast<int>(m_undo.size()) > m_limit) m_undo.pop_front();
}

void UndoHistory::record(UndoRecord record, bool redoing) {
    m_undo.push_back(std::move(record));
    while (static_cast<int>(m_undo.size()) > m_limit) m_undo.pop_front();
    if (!redoing) m_redo.clear();
}

UndoRecord UndoHistory::takeUndo() {
    UndoRecord r = std::move(m_undo.back());
    m_undo.pop_back();
    return r;
}

UndoRecord UndoHistory::takeRedo() {
    UndoRecord r = std::move(m_redo.back());
    m_redo.pop_back();
    return r;
}

void UndoHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}

}  // namespace tabulo::editor
