// The table of tabulo-cli subcommands, in the order --help lists them.
// Each subcommand lives in its own <name>_command.cpp.
#pragma once

#include <vector>

#include "cli/subcommand.h"

namespace tabulo::cli {

// Add one declaration and one table row per subcommand.
int runCalc(const std::vector<std::string>& args, Streams& io);

inline const std::vector<Subcommand> kSubcommands = {
    {"calc", "[FILE]", "evaluate each line as the line calculator (F9) does", runCalc},
};

}  // namespace tabulo::cli
