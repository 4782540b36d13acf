#include "app/go_to_row.h"

#include <algorithm>
#include <cctype>
#include <charconv>

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

}  // namespace tabulo::app
