#include "cli/line_messages.h"

namespace tabulo::cli {

void LineMessages::show(std::size_t lineNo, std::string_view message, bool failure) {
    auto it = m_counts.find(message);
    if (it == m_counts.end()) it = m_counts.emplace(std::string(message), 0).first;
    const std::size_t count = ++it->second;
    if (failure) m_call.markFailed();
    if (count <= kShownPerKind) m_call.note("line " + std::to_string(lineNo) + ": " + std::string(message));
}

LineMessages::~LineMessages() {
    for (const auto& [message, count] : m_counts) {
        if (count <= kShownPerKind) continue;
        try {
            m_call.note(std::to_string(count - kShownPerKind) + " more lines: " + message);
        } catch (...) {
            // A summary that cannot be written changes nothing of the run.
        }
    }
}

}  // namespace tabulo::cli
