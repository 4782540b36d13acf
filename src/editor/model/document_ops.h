// Operations the main window's commands use on its document: widening the
// selection to whole lines, the line range of the selection, and the bulk
// edit bracket with its stop request around every command that changes many
// lines.
#pragma once

#include <functional>
#include <optional>

namespace tabulo::editor {

class EditorModel;

// Widens a non-empty selection to whole rows: from the first character of
// the row that holds its start to the end of its last row (the row before
// when nothing on the end row is selected), or to the end of the text when
// that row is the last one.
void widenToWholeLines(EditorModel& model);

// Ctrl+N and Ctrl+Y of both editors: an empty line before the caret's line,
// and removing the caret's line (nothing on the row after a final break).
void insertLineAtCaret(EditorModel& model);
void deleteCaretLine(EditorModel& model);

struct LineRange {
    int first;  // logical lines, both included
    int last;
};

// The logical lines of the selection after widening; none without a selection.
std::optional<LineRange> lineRange(EditorModel& model);

// The bracket around long commands. The owner supplies how the stop item is
// switched and how pending user-interface events run between lines.
class BulkEdit {
public:
    struct Hooks {
        std::function<void(bool)> enableStopItem;
        std::function<void()> processEvents;
    };
    BulkEdit(EditorModel& model, Hooks hooks) : m_model(model), m_hooks(std::move(hooks)) {}

    // Clears the stop request and enables the stop item; with clearSelection
    // also puts the caret at offset 0 and suspends display updates.
    void begin(bool clearSelection);
    // Disables the stop item; with restore also resumes display updates,
    // scrolls to the caret and puts the caret at the end of the text. Ending
    // an edit that has already ended does nothing.
    void end(bool restore);

    // Called by long commands after each line: lets events run and answers
    // whether the command should go on.
    bool keepGoing();

    bool active() const { return m_active; }
    bool stopRequested() const { return m_stopRequested; }
    void requestStop() { m_stopRequested = true; }

private:
    EditorModel& m_model;
    Hooks m_hooks;
    bool m_active = false;
    bool m_updating = false;
    bool m_stopRequested = false;
};

}  // namespace tabulo::editor
