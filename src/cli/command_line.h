// Reading tabulo-cli's command line: the options every subcommand shares,
// then the subcommand's own options and operands. Options may come in any
// order before "--"; everything after "--" is an operand, and so is "-".
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/subcommand.h"
#include "cli/text_encodings.h"

namespace tabulo::cli {

// Options of the whole program, accepted before the subcommand's name and
// among its options.
struct GlobalOptions {
    bool help = false;
    bool version = false;
    std::optional<Encoding> argsEncoding;
    std::optional<Encoding> outputEncoding;
};

// The global options for the help text.
const std::vector<OptionSpec>& globalOptionSpecs();

struct ParsedArguments {
    // Subcommand options in the order given, by their long name.
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> operands;
};

// Reads global options from args[from...] up to the first argument that is
// not one (the subcommand's name); returns its index. Throws UsageError.
std::size_t parseGlobalOptions(const std::vector<std::string>& args, std::size_t from, GlobalOptions& global);

// Reads the subcommand's arguments. Checks the operand count unless help or
// version was asked for. Throws UsageError.
ParsedArguments parseArguments(const Subcommand& subcommand, const std::vector<std::string>& args,
                               GlobalOptions& global);

}  // namespace tabulo::cli
