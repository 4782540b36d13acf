// tabulo-cli uniq: deletes every line equal to the line above it in a Shift-JIS
// text, as the window's command does with the whole text selected.
#include <ostream>
#include <string>
#include <vector>

#include "cli/subcommand.h"
#include "textops/document_text.h"
#include "textops/line_delete.h"

namespace tabulo::cli {

int runUniq(const std::vector<std::string>& args, Streams& io) {
    if (args.size() > 1 || (args.size() == 1 && args[0].size() > 1 && args[0][0] == '-')) {
        io.err << "usage: tabulo-cli uniq [FILE]\n";
        return 2;
    }
    const std::string text = readInput(args.empty() ? std::string() : args[0], io.in);
    io.out << textops::applyToWholeText(
        text, [](std::vector<std::string>& lines, textops::LineRange range) { return textops::deleteDuplicateLines(lines, range); });
    return 0;
}

}  // namespace tabulo::cli
