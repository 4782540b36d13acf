// The messages a line-wise subcommand writes about single lines, bounded: of
// each kind (each message text) the first kShownPerKind are shown with their
// line numbers, and at the end one line says how many more lines had it, so
// a long input of bad lines cannot flood standard error.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "cli/invocation.h"

namespace tabulo::cli {

inline constexpr std::size_t kShownPerKind = 100;

class LineMessages {
public:
    explicit LineMessages(Invocation& call) : m_call(call) {}
    // Writes the summaries, also when the run ends by an error.
    ~LineMessages();
    LineMessages(const LineMessages&) = delete;
    LineMessages& operator=(const LineMessages&) = delete;

    // "line N: message" (UTF-8); a failure makes the run's exit status 2.
    void show(std::size_t lineNo, std::string_view message, bool failure = false);

private:
    Invocation& m_call;
    std::map<std::string, std::size_t, std::less<>> m_counts;  // lines that had each message
};

}  // namespace tabulo::cli
