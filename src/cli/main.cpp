// tabulo-cli: the program's engines for scripts and pipelines. main() reads
// the shared options, finds the subcommand, converts its text arguments,
// runs it with standard output behind one block writer, and turns every
// failure into a message on standard error and exit status 2.
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/line_messages.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "cli/subcommand.h"

namespace tabulo::cli {
namespace {

constexpr int kFailure = 2;

std::string optionLine(const OptionSpec& option) {
    std::string line = "  ";
    if (option.shortName != nullptr) line += std::string(option.shortName) + ", ";
    line += option.name;
    if (option.kind != OptionKind::Flag) line += std::string(" ") + option.valueName;
    line += "\n      ";
    line += option.help;
    return line + '\n';
}

// "NAME [OPTIONS] OPERANDS"
std::string usageOf(const Subcommand& sub) {
    return std::string(sub.name) + (sub.options.empty() ? "" : " [OPTIONS]") + ' ' + sub.operands;
}

// The bounds every subcommand keeps, for both helps.
std::string limitsText() {
    return "A line longer than " + std::to_string(kMaxLineBytes) + " bytes (256 MiB) stops a run with exit status 2\n"
           "(conv to or from UTF-8 or from a named code, and decode base64, stream instead);\n"
           "after " + std::to_string(kShownPerKind) + " messages of one kind about lines, one says how many more had it.\n";
}

std::string programHelp() {
    std::string text =
        "usage: tabulo-cli [OPTIONS] SUBCOMMAND [ARGS...]\n"
        "\n"
        "The engines of the Tabulo editor for Shift-JIS text, for scripts and pipelines.\n"
        "Input and output are Shift-JIS bytes; on a UTF-8 terminal the output is shown\n"
        "in UTF-8, and text arguments typed in UTF-8 are converted to Shift-JIS.\n"
        "Exit status: 0 success, 1 nothing found (grep), 2 an error.\n" +
        limitsText() +
        "\n"
        "subcommands (tabulo-cli SUBCOMMAND --help tells more):\n";
    for (const Subcommand& sub : registeredSubcommands()) {
        text += "  " + usageOf(sub) + "\n      " + sub.summary + '\n';
    }
    text += "\noptions:\n";
    for (const OptionSpec& option : globalOptionSpecs()) text += optionLine(option);
    return text;
}

std::string subcommandHelp(const Subcommand& sub) {
    std::string text = "usage: tabulo-cli " + usageOf(sub) + "\n\n" + sub.summary + "\n";
    if (*sub.details != '\0') text += std::string("\n") + sub.details;
    text += limitsText();
    text += "\noptions:\n";
    for (const OptionSpec& option : sub.options) text += optionLine(option);
    for (const OptionSpec& option : globalOptionSpecs()) text += optionLine(option);
    return text;
}

std::string versionText() {
    return "tabulo-cli " TABULO_VERSION "\n";
}

// Help and version go to standard output, in the locale's encoding.
int show(const std::string& utf8, const Messages& messages) {
    writeFully(STDOUT_FILENO, messages.toLocale(utf8));
    return 0;
}

[[noreturn]] void endByBrokenPipe() {
    // End the way a process that did not ignore the signal would have.
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    _exit(128 + SIGPIPE);
}

Encoding outputEncoding(const GlobalOptions& global, std::optional<Encoding> locale) {
    if (global.outputEncoding) return *global.outputEncoding;
    return isatty(STDOUT_FILENO) && locale == Encoding::Utf8 ? Encoding::Utf8 : Encoding::ShiftJis;
}

// Converts the text options and text operands to Shift-JIS.
void convertTextArguments(const Subcommand& sub, ParsedArguments& parsed, ArgumentReading reading) {
    for (auto& [name, value] : parsed.options) {
        for (const OptionSpec& spec : sub.options) {
            if (name == spec.name && spec.kind == OptionKind::Text) value = argumentToSjis(value, reading);
        }
    }
    for (std::size_t i = 0; i < sub.textOperands && i < parsed.operands.size(); ++i) {
        parsed.operands[i] = argumentToSjis(parsed.operands[i], reading);
    }
}

int runSubcommand(const Subcommand& sub, const std::vector<std::string>& args, GlobalOptions global,
                  const Messages& messages, std::optional<Encoding> locale) {
    const std::string prefix = std::string("tabulo-cli ") + sub.name + ": ";
    // Outlives the try block, so that a failure can still send out what was
    // written before it.
    std::optional<OutputWriter> out;
    try {
        ParsedArguments parsed = parseArguments(sub, args, global);
        if (global.help) return show(subcommandHelp(sub), messages);
        if (global.version) return show(versionText(), messages);
        convertTextArguments(sub, parsed, argumentReading(global.argsEncoding, locale));
        out.emplace(STDOUT_FILENO, outputEncoding(global, locale));
        Invocation call(sub, std::move(parsed), *out, messages);
        const int status = sub.run(call);
        out->flush();
        return call.reported() ? kFailure : status;
    } catch (const BrokenPipe&) {
        endByBrokenPipe();
    } catch (const UsageError& e) {
        messages.error(prefix + e.what());
        messages.error("usage: tabulo-cli " + usageOf(sub) + " (see --help)");
    } catch (const CliError& e) {
        // What was written before the failure still goes out.
        try {
            if (out && dynamic_cast<const WriteError*>(&e) == nullptr) out->flush();
        } catch (const BrokenPipe&) {
            endByBrokenPipe();
        } catch (const CliError&) {
        }
        messages.error(prefix + errorText(e, messages));
    } catch (const std::bad_alloc&) {
        messages.error(prefix + "out of memory");
    } catch (const std::exception& e) {
        messages.error(prefix + e.what());
    }
    return kFailure;
}

int runProgram(const std::vector<std::string>& args) {
    const std::optional<Encoding> locale = localeEncoding();
    const Messages messages(locale);
    GlobalOptions global;
    try {
        const std::size_t at = parseGlobalOptions(args, 0, global);
        if (at < args.size()) {
            const Subcommand* sub = findSubcommand(args[at]);
            if (sub == nullptr) {
                messages.error("tabulo-cli: unknown subcommand '" + messages.fromArgument(args[at]) +
                               "' (see tabulo-cli --help)");
                return kFailure;
            }
            return runSubcommand(*sub, std::vector<std::string>(args.begin() + static_cast<long>(at) + 1, args.end()),
                                 global, messages, locale);
        }
        if (global.help) return show(programHelp(), messages);
        if (global.version) return show(versionText(), messages);
        messages.error("usage: tabulo-cli [OPTIONS] SUBCOMMAND [ARGS...] (see tabulo-cli --help)");
    } catch (const BrokenPipe&) {
        endByBrokenPipe();
    } catch (const CliError& e) {
        messages.error(std::string("tabulo-cli: ") + e.what());
    }
    return kFailure;
}

}  // namespace
}  // namespace tabulo::cli

int main(int argc, char** argv) {
    // Only the character set: numbers keep the C locale's decimal point.
    std::setlocale(LC_CTYPE, "");
    return tabulo::cli::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
