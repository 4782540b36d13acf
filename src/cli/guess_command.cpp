// tabulo-cli guess: the detected kanji code of each file (0 to 6, as the
// code conversion command detects it), a tab and the file name. Files are
// read in blocks only until the code is decided.
#include <string>
#include <vector>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "kanji/stream_code_check.h"

namespace tabulo::cli {
namespace {

int codeOf(const std::string& path, std::vector<char>& block) {
    InputFile file(path);
    kanji::StreamCodeCheck check;
    for (;;) {
        const std::size_t n = file.read(block.data(), block.size());
        if (n == 0 || check.feed(std::string_view(block.data(), n))) break;
    }
    return check.finish();
}

int runGuess(Invocation& call) {
    OutputWriter& out = call.out();
    std::vector<char> block(1 << 20);
    for (const std::string& path : call.operands()) {
        // A file that cannot be read is reported and the others still get
        // their line.
        try {
            out.write(std::to_string(codeOf(path, block)));
            out.put('\t');
            out.write(path);
            out.put('\n');
        } catch (const FileError& e) {
            call.report(e);
        }
    }
    return 0;
}

const SubcommandRegistration kRegistration{{
    .name = "guess",
    .operands = "FILE...",
    .summary = "print each file's detected kanji code (0-6), a tab and its name",
    .details = "Codes: 0 7-bit only, 1 binary, 2 JIS (ESC $ B), 3 JIS (ESC $ @), 4 EUC,\n"
               "5 Shift-JIS, 6 EUC or Shift-JIS, undecided. \"-\" is standard input.\n",
    .minOperands = 1,
    .maxOperands = kAnyNumber,
    .run = runGuess,
}};

}  // namespace
}  // namespace tabulo::cli
