// tabulo-cli replace: the find dialog's "replace all" over a whole text with
// the same engine: every match of PATTERN replaced by REPLACEMENT (taken as
// it is), every line break and every other byte of the input kept. Lines
// are streamed; a pattern that matches line feeds takes the whole input.
#include <optional>
#include <string>

#include "cli/input_file.h"
#include "cli/invocation.h"
#include "cli/pattern_error.h"
#include "regex/re_error.h"
#include "search/engine/replace_all.h"

namespace tabulo::cli {
namespace {

int runReplace(Invocation& call) {
    const std::string& pattern = call.operands()[0];
    const std::string& replacement = call.operands()[1];
    const search::SearchOptions options{
        .soMatchCase = call.flag("--case"),
        .soWholeWord = call.flag("--word"),
        .soRegexp = call.flag("--regexp"),
        .soFuzzy = call.flag("--fuzzy"),
    };
    std::optional<search::TextMatcher> matcher;
    try {
        matcher.emplace(pattern, options);
    } catch (const regex::ERegExpParser& e) {
        throw CliError(patternErrorText(e, pattern));
    }
    InputFile file(call.inputPath(2));
    OutputWriter& out = call.out();
    std::size_t count = 0;
    std::string replaced;
    if (matcher->crossesLines()) {
        count = search::replaceMatches(*matcher, file.readAll(), replacement, replaced);
        out.write(replaced);
    } else {
        LineReader reader(file);
        Line line;
        while (reader.next(line)) {
            replaced.clear();
            count += search::replaceMatches(*matcher, line.text, replacement, replaced);
            out.write(replaced);
            out.write(lineBreakBytes(line.lineBreak));
        }
    }
    return count > 0 ? 0 : 1;
}

const SubcommandRegistration kRegistration{{
    .name = "replace",
    .operands = "PATTERN REPLACEMENT [FILE]",
    .summary = "replace every match of the pattern (the find dialog's replace all)",
    .details = "PATTERN is a plain text unless --regexp or --fuzzy makes it the editor's\n"
               "pattern syntax; ASCII letters match in either case unless --case is given.\n"
               "REPLACEMENT is inserted as it is. Searching goes on behind each replacement\n"
               "and line by line, unless the pattern matches a line feed (\\n); an empty\n"
               "leftmost match (b* in abc) ends the search in the line. Every line\n"
               "break and every other byte of the input is kept. Exit status 0 when\n"
               "something was replaced, 1 when nothing matched, 2 on a bad pattern or an\n"
               "unreadable input.\n",
    .options = {{"--regexp", "-e", OptionKind::Flag, "", "PATTERN is a regular expression"},
                {"--fuzzy", nullptr, OptionKind::Flag, "",
                 "match interchangeable Japanese characters (full/half width, kana) alike"},
                {"--case", "-c", OptionKind::Flag, "", "letters must match in case"},
                {"--word", "-w", OptionKind::Flag, "", "only matches that are words of their own"}},
    .minOperands = 2,
    .maxOperands = 3,
    .textOperands = 2,
    .run = runReplace,
}};

}  // namespace
}  // namespace tabulo::cli
