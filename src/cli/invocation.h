// What a subcommand's run() works with: its options and operands (text ones
// already Shift-JIS), standard output, and a way to report a failure and go
// on (a file among several that cannot be read), which makes the exit
// status 2 at the end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "cli/subcommand.h"

namespace tabulo::cli {

class Invocation {
public:
    Invocation(const Subcommand& subcommand, ParsedArguments arguments, OutputWriter& out, const Messages& messages);

    const Subcommand& subcommand() const { return m_subcommand; }

    // Whether the flag was given.
    bool flag(std::string_view name) const;
    // The value of the option's last occurrence, or fallback.
    std::string value(std::string_view name, std::string fallback = {}) const;
    bool has(std::string_view name) const;

    const std::vector<std::string>& operands() const { return m_arguments.operands; }
    // Operand i, or "-" (standard input) when there are fewer operands.
    std::string inputPath(std::size_t i = 0) const;

    OutputWriter& out() { return m_out; }
    const Messages& messages() const { return m_messages; }

    // Shows "tabulo-cli NAME: message" after what was written so far.
    void note(std::string_view utf8Message);
    // The same, and the run will exit with 2.
    void report(std::string_view utf8Message);
    void report(const CliError& error);
    // The run will exit with 2; nothing is shown.
    void markFailed() { m_reported = true; }
    bool reported() const { return m_reported; }

private:
    const Subcommand& m_subcommand;
    ParsedArguments m_arguments;
    OutputWriter& m_out;
    const Messages& m_messages;
    bool m_reported = false;
};

// The message for an error, its pieces in UTF-8.
std::string errorText(const CliError& error, const Messages& messages);

}  // namespace tabulo::cli
