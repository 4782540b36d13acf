// tabulo-cli trim: removes blanks (spaces, tabs, full-width spaces) from both
// ends of every line of a Shift-JIS text, as the window's command does with the
// whole text selected.
#include "cli/invocation.h"
#include "cli/line_output.h"
#include "textops/trim_blanks.h"

namespace tabulo::cli {
namespace {

int runTrim(Invocation& call) {
    filterLines(call, call.inputPath(),
                [](std::string_view line, LineOutput& out) { out.write(textops::trimBlanks(line)); });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "trim",
    .operands = "[FILE]",
    .summary = "remove blanks from both ends of every line",
    .details = "Lines keep the input's line break; FILE defaults to standard input.\n",
    .run = runTrim,
}};

}  // namespace
}  // namespace tabulo::cli
