// tabulo-cli grep: searches files with the program's pattern engine and
// writes the grep listing the window builds (per hit: the path, "Line=" with
// the line number, a space, a tab and the line, then an empty line), with
// CR LF after every line as the document would be saved. The path is named
// in Shift-JIS like the rest of the listing, converted from the file
// system's UTF-8 as the window converts it, so a saved listing jumps to the
// file. With --any-encoding each file is read in the kanji code detected
// for it.
#include <string>
#include <vector>

#include "cli/invocation.h"
#include "cli/pattern_error.h"
#include "regex/grep.h"
#include "regex/re_error.h"
#include "search/engine/grep_listing.h"
#include "search/engine/multi_file_grep.h"
#include "search/engine/name_text.h"

namespace tabulo::cli {
namespace {

int runGrep(Invocation& call) {
    const std::string& pattern = call.operands()[0];
    regex::TGrep grep;
    grep.SetUseFuzzyCharDic(call.flag("--fuzzy"));
    try {
        grep.SetRegExp(pattern);
    } catch (const regex::ERegExpParser& e) {
        throw CliError(patternErrorText(e, pattern));
    }
    const search::GrepEncoding encoding =
        call.flag("--any-encoding") ? search::GrepEncoding::Detect : search::GrepEncoding::ShiftJis;
    OutputWriter& out = call.out();
    std::string fileLine;  // the current file as the listing names it
    std::vector<std::string> entry;
    bool found = false;
    grep.SetOnMatch([&](regex::TGrep&, const regex::RE_LineInfo_t& hit) {
        found = true;
        entry.clear();
        search::appendListingEntry(entry, fileLine, hit);
        for (const std::string& line : entry) {
            out.write(line);
            out.write("\r\n");
        }
    });
    for (std::size_t i = 1; i < call.operands().size(); ++i) {
        const std::string& path = call.operands()[i];
        fileLine = search::documentTextOfFileName(path);
        try {
            search::grepFile(grep, path == "-" ? "/dev/stdin" : path, encoding);
        } catch (const regex::EFileNotFound& e) {
            call.report(call.messages().fromArgument(path) + ": " + e.what());
        }
    }
    return found ? 0 : 1;
}

const SubcommandRegistration kRegistration{{
    .name = "grep",
    .operands = "PATTERN FILE...",
    .summary = "list the lines of the files that match the pattern (the grep listing)",
    .details = "PATTERN is the editor's pattern syntax. Exit status 0 when a line matched,\n"
               "1 when none did, 2 when the pattern is bad or a file could not be read (the\n"
               "other files are still searched). \"-\" searches standard input.\n"
               "File names are listed in Shift-JIS like the lines (a character Shift-JIS\n"
               "has not keeps its bytes), so a saved listing finds its files again.\n"
               "With --any-encoding the lines are listed in Shift-JIS with their line numbers\n"
               "in the file.\n",
    .options = {{"--fuzzy", nullptr, OptionKind::Flag, "",
                 "match interchangeable Japanese characters (full/half width, kana) alike"},
                {"--any-encoding", nullptr, OptionKind::Flag, "",
                 "read each file in its own detected code (Shift-JIS, EUC, JIS, UTF-8)"}},
    .minOperands = 2,
    .maxOperands = kAnyNumber,
    .textOperands = 1,
    .run = runGrep,
}};

}  // namespace
}  // namespace tabulo::cli
