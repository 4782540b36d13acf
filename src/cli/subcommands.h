// The table of tabulo-cli subcommands, in the order --help lists them.
// Each subcommand lives in its own <name>_command.cpp.
#pragma once

#include <vector>

#include "cli/subcommand.h"

namespace tabulo::cli {

// Add one declaration and one table row per subcommand.
int runCalc(const std::vector<std::string>& args, Streams& io);
int runSort(const std::vector<std::string>& args, Streams& io);
int runUniq(const std::vector<std::string>& args, Streams& io);
int runBlank(const std::vector<std::string>& args, Streams& io);
int runTrim(const std::vector<std::string>& args, Streams& io);
int runConv(const std::vector<std::string>& args, Streams& io);
int runGuess(const std::vector<std::string>& args, Streams& io);
int runGrep(const std::vector<std::string>& args, Streams& io);

inline const std::vector<Subcommand> kSubcommands = {
    {"calc", "[FILE]", "evaluate each line as the line calculator (F9) does", runCalc},
    {"sort", "[--reverse] [FILE]", "sort the lines byte by byte (the window's line sort)", runSort},
    {"uniq", "[FILE]", "delete every line equal to the line above it", runUniq},
    {"blank", "[FILE]", "delete blank lines (spaces, tabs, full-width spaces)", runBlank},
    {"trim", "[FILE]", "remove blanks from both ends of every line", runTrim},
    {"conv", "--to sjis|jis|euc|base64|uuencode|binhex [FILE]", "convert every line's kanji code or encode it (the code conversion menu)", runConv},
    {"guess", "FILE...", "print each file's detected kanji code (0-6), a tab and its name", runGuess},
    {"grep", "[--fuzzy] PATTERN FILE...", "list the lines of the files that match the pattern (the grep listing)", runGrep},
};

}  // namespace tabulo::cli
