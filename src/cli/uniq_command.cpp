// tabulo-cli uniq: deletes every line equal to the line above it in a Shift-JIS
// text, as the window's command does with the whole text selected. Only the
// line above is held, so any input streams through in bounded memory.
#include <string>

#include "cli/invocation.h"
#include "cli/line_output.h"

namespace tabulo::cli {
namespace {

int runUniq(Invocation& call) {
    std::string above;
    bool first = true;
    filterLines(call, call.inputPath(), [&](std::string_view line, LineOutput& out) {
        if (!first && line == above) return;
        first = false;
        above.assign(line);
        out.write(line);
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "uniq",
    .operands = "[FILE]",
    .summary = "delete every line equal to the line above it",
    .details = "Lines are compared byte by byte and keep the input's line break; FILE\n"
               "defaults to standard input.\n",
    .run = runUniq,
}};

}  // namespace
}  // namespace tabulo::cli
