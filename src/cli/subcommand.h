// The subcommands of tabulo-cli. Each one is a thin adapter: it reads its
// arguments and input, calls the same core code the window calls, and
// writes the result. Nothing here is shared with the window program.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tabulo::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Returns the process exit status.
using SubcommandFn = int (*)(const std::vector<std::string>& args, Streams& io);

struct Subcommand {
    const char* name;
    const char* usage;    // one line: arguments after the name
    const char* summary;  // one line: what it does
    SubcommandFn run;
};

// Reads a whole file (or standard input when path is empty or "-") as bytes.
// Throws std::runtime_error with a message naming the file when it cannot.
std::string readInput(const std::string& path, std::istream& stdinStream);

}  // namespace tabulo::cli
