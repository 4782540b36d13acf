// tabulo-cli sort: sorts the lines of a Shift-JIS text as the window's line
// sort does with the whole text selected. The input is held once and the
// lines stay views into it: a large file costs its size plus 16 bytes a line.
#include <string>
#include <string_view>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "textops/line_sort.h"

namespace tabulo::cli {
namespace {

// The first line break of the text; CR LF when it has none.
std::string_view firstLineBreak(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos || text[at] == '\n') return at == std::string_view::npos ? "\r\n" : "\n";
    return text.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

int runSort(Invocation& call) {
    const textops::SortOrder order =
        call.flag("--reverse") ? textops::SortOrder::Descending : textops::SortOrder::Ascending;
    InputFile file(call.inputPath());
    const std::string text = file.readAll();
    const textops::SortedText sorted(text, order, textops::EofByte::Ordinary);
    const std::string_view lineBreak = firstLineBreak(text);
    OutputWriter& out = call.out();
    const std::size_t count = sorted.size();
    for (std::size_t i = 0; i < count; ++i) {
        // Sorted lines lie scattered over the text: fetch a few lines ahead.
        if (i + 8 < count) __builtin_prefetch(sorted[i + 8].data());
        out.write(sorted[i]);
        if (i + 1 < count || sorted.finalBreak()) out.write(lineBreak);
    }
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "sort",
    .operands = "[FILE]",
    .summary = "sort the lines byte by byte (the window's line sort)",
    .details = "Lines are compared as unsigned bytes, so \"006\" < \"123\" < \"6\" and \"B\" < \"a\".\n"
               "They keep the input's line break; FILE defaults to standard input. The whole\n"
               "input is held in memory once.\n",
    .options = {{"--reverse", "-r", OptionKind::Flag, "", "sort in descending order"}},
    .run = runSort,
}};

}  // namespace
}  // namespace tabulo::cli
