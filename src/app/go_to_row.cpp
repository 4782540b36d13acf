#include "app/go_to_row.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "editor/model/editor_model.h"
#include "platform/error_handler.h"

namespace tabulo::app {

std::optional<int> goToRowTarget(const std::optional<std::string>& answer, const GoToRowContext& ctx) {
    const std::string defaultText = std::to_string(ctx.caretRow + 1);
    if (!answer || *answer == defaultText) return std::nullopt;
    std::string upper = *answer;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper == "S") return 0;
    if (upper == "E") return ctx.rowCount - ctx.visibleRows / 2;
    int n = 0;
    const char* first = upper.data();
    const char* last = first + upper.size();
    const auto [end, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || end != last) n = 0;  // not a decimal integer
    if (n <= 0) return std::nullopt;
    return n - 1;
}

void askGoToRow(editor::EditorModel& model) {
    const QString defaultText = QString::number(model.Row() + 1);
    const std::optional<QString> answer =
        platform::prompts().input(QStringLiteral(" 指定行に移動　(S:文頭  E:文末)"),
                                  QStringLiteral("行番号、または S:文頭  E:文末"), defaultText);
    const std::optional<int> target =
        goToRowTarget(answer ? std::optional<std::string>(answer->toStdString()) : std::nullopt,
                      {model.Row(), model.RowCount(), model.VisibleRows()});
    if (!target) return;
    model.SetRow(*target);
    model.SetTopRow(*target);
}

}  // namespace tabulo::app
