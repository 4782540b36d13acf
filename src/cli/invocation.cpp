// Option lookup and failure reports.
#include "cli/invocation.h"

#include <utility>

namespace tabulo::cli {

Invocation::Invocation(const Subcommand& subcommand, ParsedArguments arguments, OutputWriter& out,
                       const Messages& messages)
    : m_subcommand(subcommand), m_arguments(std::move(arguments)), m_out(out), m_messages(messages) {}

bool Invocation::flag(std::string_view name) const {
    return has(name);
}

bool Invocation::has(std::string_view name) const {
    for (const auto& [option, value] : m_arguments.options) {
        if (option == name) return true;
    }
    return false;
}

std::string Invocation::value(std::string_view name, std::string fallback) const {
    for (auto it = m_arguments.options.rbegin(); it != m_arguments.options.rend(); ++it) {
        if (it->first == name) return it->second;
    }
    return fallback;
}

std::string Invocation::inputPath(std::size_t i) const {
    return i < operands().size() ? operands()[i] : std::string("-");
}

void Invocation::note(std::string_view utf8Message) {
    // What was written so far goes out first, so a terminal shows the
    // message where it happened.
    m_out.flush();
    m_messages.error("tabulo-cli " + std::string(m_subcommand.name) + ": " + std::string(utf8Message));
}

void Invocation::report(std::string_view utf8Message) {
    note(utf8Message);
    m_reported = true;
}

void Invocation::report(const CliError& error) {
    report(errorText(error, m_messages));
}

std::string errorText(const CliError& error, const Messages& messages) {
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        return messages.fromArgument(file->path()) + ": " + file->what();
    }
    return error.what();
}

}  // namespace tabulo::cli
