// The go-to-row command of both editors (Ctrl+J), and its answer rules
// apart from the window.
#pragma once

#include <optional>
#include <string>

namespace tabulo::editor {
class EditorModel;
}

namespace tabulo::app {

struct GoToRowContext {
    int caretRow;     // 0-based
    int rowCount;     // RowCount
    int visibleRows;  // VisibleRows
};

// The row to put the caret and the top row on, or nothing to do. `answer`
// is the input box's text (std::nullopt when cancelled); the default text is
// the caret row + 1. "S" goes to the top, "E" (any case) puts the last rows
// in the lower half of the window, a positive number n goes to row n - 1;
// anything else does nothing.
std::optional<int> goToRowTarget(const std::optional<std::string>& answer, const GoToRowContext& ctx);

// Asks for the row in the input box " 指定行に移動　(S:文頭  E:文末)" and puts
// the caret and the top row on it.
void askGoToRow(editor::EditorModel& model);

}  // namespace tabulo::app
