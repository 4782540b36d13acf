// The table of tabulo-cli subcommands, in the order --help lists them.
// Each subcommand lives in its own <name>_command.cpp.
#pragma once

#include <vector>

#include "cli/subcommand.h"

namespace tabulo::cli {

// Add one declaration and one table row per subcommand.

inline const std::vector<Subcommand> kSubcommands = {
};

}  // namespace tabulo::cli
