// How the subcommands that take a pattern report one the engine refuses:
// the parser's message, the pattern below it and a caret under the place
// where the error was found.
#pragma once

#include <string>

#include "regex/re_error.h"

namespace tabulo::cli {

std::string patternErrorText(const regex::ERegExpParser& error, const std::string& pattern);

}  // namespace tabulo::cli
