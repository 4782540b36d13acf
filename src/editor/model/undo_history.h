// The undo and redo history of a document. Every text change replaces a run
// of whole logical lines; a step keeps what that run held before, so undoing
// it is the same kind of replacement in the other direction. The history is
// bounded: the oldest step is dropped when the limit is passed.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/model/editor_screen_strings.h"

namespace tabulo::editor {

struct UndoRecord {
    int caretRow = 0;  // where the caret stood when the step was made
    int caretCol = 0;
    int startLine = 0;  // first logical line of the region
    int lineCount = 0;  // lines the step left in the region (0: it removed the region's text)
    std::vector<std::string> lines;   // what the region held before the step
    std::optional<BreakKind> lastBreak;  // break kind of its last line; none for an empty region
};

class UndoHistory {
public:
    static constexpr int kDefaultLimit = 64;

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    int undoCount() const { return static_cast<int>(m_undo.size()); }
    int redoCount() const { return static_cast<int>(m_redo.size()); }
    int limit() const { return m_limit; }
    void setLimit(int limit);

    // A new step of an edit: drops the oldest past the limit and, unless a
    // redo is recording its inverse, empties the redo list.
    void record(UndoRecord record, bool redoing);
    UndoRecord takeUndo();
    UndoRecord takeRedo();
    void pushRedo(UndoRecord record) { m_redo.push_back(std::move(record)); }
    void clear();

private:
    std::deque<UndoRecord> m_undo;
    std::deque<UndoRecord> m_redo;
    int m_limit = kDefaultLimit;
};

}  // namespace tabulo::editor
