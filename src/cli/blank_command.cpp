// tabulo-cli blank: deletes the blank lines (spaces, tabs and full-width spaces
// only) of a Shift-JIS text, as the window's command does with the whole text
// selected.
#include "cli/invocation.h"
#include "cli/line_output.h"
#include "textops/trim_blanks.h"

namespace tabulo::cli {
namespace {

int runBlank(Invocation& call) {
    filterLines(call, call.inputPath(), [](std::string_view line, LineOutput& out) {
        if (!textops::isBlankLine(line)) out.write(line);
    });
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "blank",
    .operands = "[FILE]",
    .summary = "delete blank lines (spaces, tabs, full-width spaces)",
    .details = "Lines keep the input's line break; FILE defaults to standard input.\n",
    .run = runBlank,
}};

}  // namespace
}  // namespace tabulo::cli
