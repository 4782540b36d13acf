// The answer rules of the go-to-row command, apart from the window.
#pragma once

#include <optional>
#include <string>

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

}  // namespace tabulo::app
