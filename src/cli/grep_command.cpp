// tabulo-cli grep: searches files with the program's pattern engine and
// writes the grep listing the window builds (per hit: the path, "Line=" with
// the line number, a space, a tab and the line, then an empty line), with
// CR LF after every line as the document would be saved.
#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "cli/subcommand.h"
#include "regex/grep.h"
#include "regex/re_error.h"

namespace tabulo::cli {

int runGrep(const std::vector<std::string>& args, Streams& io) {
    bool fuzzy = false;
    std::size_t first = 0;
    if (!args.empty() && args[0] == "--fuzzy") {
        fuzzy = true;
        first = 1;
    }
    if (args.size() < first + 2) {
        io.err << "usage: tabulo-cli grep [--fuzzy] PATTERN FILE...\n";
        return 2;
    }
    regex::TGrep grep;
    try {
        grep.SetUseFuzzyCharDic(fuzzy);
        grep.SetRegExp(args[first]);
    } catch (const regex::ERegExpParser& e) {
        io.err << "tabulo-cli grep: " << e.what() << '\n';
        return 2;
    }
    const std::string* current = nullptr;
    bool found = false;
    grep.SetOnMatch([&](regex::TGrep&, const regex::RE_LineInfo_t& hit) {
        found = true;
        io.out << *current << "\r\nLine=" << hit.LineNo << " \t" << hit.Line << "\r\n\r\n";
    });
    for (std::size_t i = first + 1; i < args.size(); ++i) {
        current = &args[i];
        try {
            grep.GrepFile(args[i]);
        } catch (const regex::EFileNotFound& e) {
            io.err << "tabulo-cli grep: " << args[i] << ": " << e.what() << '\n';
        }
    }
    return found ? 0 : 1;
}

}  // namespace tabulo::cli
