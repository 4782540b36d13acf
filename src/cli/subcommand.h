// What a tabulo-cli subcommand is: a description the framework reads (name,
// options, operands, help) and a function that does the work through an
// Invocation. Each subcommand registers itself in its own
// <name>_command.cpp; see README.md in this folder for how to add one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::cli {

class Invocation;

enum class OptionKind {
    Flag,   // --reverse
    Value,  // --to CODE or --to=CODE, passed as given (codes, numbers, file names)
    Text,   // --with TEXT: text in the locale's encoding, converted to Shift-JIS
};

struct OptionSpec {
    const char* name;       // "--reverse"
    const char* shortName;  // "-r", or nullptr
    OptionKind kind = OptionKind::Flag;
    const char* valueName = "";  // "CODE", shown in the help
    const char* help = "";
};

inline constexpr std::size_t kAnyNumber = SIZE_MAX;

struct Subcommand {
    const char* name;
    const char* operands;  // the usage after the options: "[FILE]", "PATTERN FILE..."
    const char* summary;   // one line for the list of tabulo-cli --help
    const char* details = "";  // the rest of its --help text, UTF-8; may be ""
    std::vector<OptionSpec> options = {};
    std::size_t minOperands = 0;
    std::size_t maxOperands = 1;
    // The first textOperands operands are text (patterns, replacements):
    // they reach run() converted to Shift-JIS. Other operands (file names)
    // stay the bytes given.
    std::size_t textOperands = 0;
    // Returns the exit status: 0 success, 1 a "no" answer (grep found
    // nothing), 2 failure. Failures are best thrown (cli_error.h).
    int (*run)(Invocation& call) = nullptr;
};

// A static object of this type in a subcommand's source file adds it to the
// program:  const SubcommandRegistration kRegistration{{.name = "sort", ...}};
struct SubcommandRegistration {
    explicit SubcommandRegistration(Subcommand subcommand);
};

// Every registered subcommand, by name.
const std::vector<Subcommand>& registeredSubcommands();
const Subcommand* findSubcommand(std::string_view name);

}  // namespace tabulo::cli
