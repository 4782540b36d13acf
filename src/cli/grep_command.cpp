// tabulo-cli grep: searches files with the program's pattern engine and
// writes the grep listing the window builds (per hit: the path, "Line=" with
// the line number, a space, a tab and the line, then an empty line), with
// CR LF after every line as the document would be saved. The path is named
// in Shift-JIS like the rest of the listing, converted from the file
// system's UTF-8 as the window converts it, so a saved listing jumps to the
// file. With --any-encoding each file is read in the kanji code detected
// for it. --count and --files-with-matches print per file what grep users
// expect instead of the listing; --recursive searches folders.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
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

enum class Report { Listing, Count, Names };

// The files a FILE operand stands for. With `recursive` a folder stands for
// the regular files below it, in the order of their names' bytes; symbolic
// links inside it are not followed (one named as an operand is).
void collectFiles(const std::string& path, bool recursive, std::vector<std::string>& files) {
    struct stat info{};
    if (!recursive || path == "-" || ::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        files.push_back(path);
        return;
    }
    std::vector<std::string> entries;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) entries.push_back(entry.path().filename());
    std::sort(entries.begin(), entries.end());
    for (const std::string& name : entries) {
        const std::string child = path.back() == '/' ? path + name : path + "/" + name;
        struct stat childInfo{};
        if (::lstat(child.c_str(), &childInfo) != 0) continue;
        if (S_ISDIR(childInfo.st_mode)) {
            collectFiles(child, true, files);
        } else if (S_ISREG(childInfo.st_mode)) {
            files.push_back(child);
        }
    }
}

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
    if (call.flag("--count") && call.flag("--files-with-matches")) {
        throw UsageError("give one of --count and --files-with-matches");
    }
    const Report report = call.flag("--count")                ? Report::Count
                          : call.flag("--files-with-matches") ? Report::Names
                                                              : Report::Listing;
    const bool recursive = call.flag("--recursive");
    std::vector<std::string> files;
    for (std::size_t i = 1; i < call.operands().size(); ++i) collectFiles(call.operands()[i], recursive, files);

    OutputWriter& out = call.out();
    std::string fileLine;  // the current file as the listing names it
    std::vector<std::string> entry;
    std::size_t hits = 0;  // matching lines of the current file
    bool found = false;
    grep.SetOnMatch([&](regex::TGrep&, const regex::RE_LineInfo_t& hit) {
        found = true;
        ++hits;
        if (report != Report::Listing) return;
        entry.clear();
        search::appendListingEntry(entry, fileLine, hit);
        for (const std::string& line : entry) {
            out.write(line);
            out.write("\r\n");
        }
    });
    // As grep prints them: the count alone for a single file, else after the
    // name and a colon.
    const bool namesCounts = files.size() > 1 || recursive;
    for (const std::string& path : files) {
        fileLine = search::documentTextOfFileName(path);
        hits = 0;
        try {
            search::grepFile(grep, path == "-" ? "/dev/stdin" : path, encoding);
        } catch (const regex::EFileNotFound& e) {
            call.report(call.messages().fromArgument(path) + ": " + e.what());
            continue;
        }
        if (report == Report::Count) {
            out.write((namesCounts ? fileLine + ":" : std::string()) + std::to_string(hits) + "\n");
        } else if (report == Report::Names && hits > 0) {
            out.write(fileLine + "\n");
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
               "in the file.\n"
               "--count prints the number of matching lines of each file (after its name and\n"
               "a colon when there are several files), --files-with-matches the names of the\n"
               "files with a match, each on a line of its own (LF) instead of the listing.\n"
               "--recursive searches the regular files below a folder, in the order of their\n"
               "names; symbolic links inside it are not followed.\n",
    .options = {{"--fuzzy", nullptr, OptionKind::Flag, "",
                 "match interchangeable Japanese characters (full/half width, kana) alike"},
                {"--any-encoding", nullptr, OptionKind::Flag, "",
                 "read each file in its own detected code (Shift-JIS, EUC, JIS, UTF-8)"},
                {"--count", "-c", OptionKind::Flag, "", "print each file's number of matching lines"},
                {"--files-with-matches", "-l", OptionKind::Flag, "", "print the names of the files with a match"},
                {"--recursive", "-r", OptionKind::Flag, "", "search the files below folders"}},
    .minOperands = 2,
    .maxOperands = kAnyNumber,
    .textOperands = 1,
    .run = runGrep,
}};

}  // namespace
}  // namespace tabulo::cli
