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
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
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

// What the search of one file gives: its part of the output, the number of
// matching lines, or why it could not be read.
struct FileResult {
    std::string text;
    std::size_t hits = 0;
    std::optional<std::string> failure;
};

struct SearchSettings {
    std::string pattern;
    bool fuzzy = false;
    search::GrepEncoding encoding = search::GrepEncoding::ShiftJis;
    Report report = Report::Listing;
    bool namesCounts = false;  // a count follows the file's name
};

// Large files are mapped: a file cut short while it is searched ends the
// run, as it ends other grep programs.
std::unique_ptr<regex::TGrep> compiledGrep(const SearchSettings& settings) {
    auto grep = std::make_unique<regex::TGrep>();
    grep->SetUseFuzzyCharDic(settings.fuzzy);
    grep->SetRegExp(settings.pattern);
    grep->setMapLargeFiles(true);
    grep->setLineDetails(settings.report == Report::Listing);
    return grep;
}

FileResult searchFile(regex::TGrep& grep, const std::string& path, const SearchSettings& settings) {
    FileResult result;
    const std::string fileLine = search::documentTextOfFileName(path);  // as the listing names it
    std::vector<std::string> entry;
    // A file's name is listed at its first match: the search ends there.
    grep.SetOnMatch([&](regex::TGrep& sender, const regex::RE_LineInfo_t& hit) {
        ++result.hits;
        if (settings.report == Report::Names) sender.SetCancel(true);
        if (settings.report != Report::Listing) return;
        entry.clear();
        search::appendListingEntry(entry, fileLine, hit);
        for (const std::string& line : entry) result.text += line + "\r\n";
    });
    try {
        search::grepFile(grep, path == "-" ? "/dev/stdin" : path, settings.encoding);
    } catch (const regex::EFileNotFound& e) {
        result.failure = e.what();
        return result;
    } catch (const std::system_error& e) {
        result.failure = e.code().message();  // a read error part way
        return result;
    } catch (const regex::EGrepCancel&) {
        // The first match of a file whose name is listed.
    }
    // As grep prints them: the count alone for a single file, else after the
    // name and a colon.
    if (settings.report == Report::Count) {
        result.text = (settings.namesCounts ? fileLine + ":" : std::string()) + std::to_string(result.hits) + "\n";
    } else if (settings.report == Report::Names && result.hits > 0) {
        result.text = fileLine + "\n";
    }
    return result;
}

// Searches the files on every core, each thread with a pattern of its own,
// and hands the results on in the order of the files as they become ready,
// so the output is the one a single thread would write. A worker wakes the
// delivering thread only for the file it waits for.
void searchInParallel(const std::vector<std::string>& files, const SearchSettings& settings,
                      const std::function<void(std::size_t, FileResult&)>& deliver) {
    std::vector<FileResult> results(files.size());
    std::vector<char> ready(files.size(), 0);
    std::mutex lock;
    std::condition_variable readyChanged;
    std::size_t waitingFor = 0;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        const std::unique_ptr<regex::TGrep> grep = compiledGrep(settings);
        for (std::size_t i; (i = next.fetch_add(1)) < files.size();) {
            FileResult result = searchFile(*grep, files[i], settings);
            const std::lock_guard<std::mutex> hold(lock);
            results[i] = std::move(result);
            ready[i] = 1;
            if (i == waitingFor) readyChanged.notify_one();
        }
    };
    const unsigned threads = std::min<std::size_t>(std::max(2u, std::thread::hardware_concurrency()), files.size());
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileResult result;
        {
            std::unique_lock<std::mutex> hold(lock);
            waitingFor = i;
            readyChanged.wait(hold, [&] { return ready[i] != 0; });
            result = std::move(results[i]);
        }
        deliver(i, result);
    }
}

int runGrep(Invocation& call) {
    SearchSettings settings;
    settings.pattern = call.operands()[0];
    settings.fuzzy = call.flag("--fuzzy");
    settings.report = call.flag("--count")                ? Report::Count
                      : call.flag("--files-with-matches") ? Report::Names
                                                          : Report::Listing;
    std::unique_ptr<regex::TGrep> grep;
    try {
        grep = compiledGrep(settings);
    } catch (const regex::ERegExpParser& e) {
        throw CliError(patternErrorText(e, settings.pattern));
    }
    settings.encoding = call.flag("--any-encoding") ? search::GrepEncoding::Detect : search::GrepEncoding::ShiftJis;
    if (call.flag("--count") && call.flag("--files-with-matches")) {
        throw UsageError("give one of --count and --files-with-matches");
    }
    const bool recursive = call.flag("--recursive");
    std::vector<std::string> files;
    for (std::size_t i = 1; i < call.operands().size(); ++i) collectFiles(call.operands()[i], recursive, files);
    settings.namesCounts = files.size() > 1 || recursive;

    bool found = false;
    const auto deliver = [&](std::size_t i, FileResult& result) {
        if (result.failure) {
            call.report(call.messages().fromArgument(files[i]) + ": " + *result.failure);
            return;
        }
        found = found || result.hits > 0;
        call.out().write(result.text);
    };
    // Standard input is read once, by this thread.
    const bool parallel = files.size() > 1 && std::find(files.begin(), files.end(), "-") == files.end();
    if (parallel) {
        searchInParallel(files, settings, deliver);
    } else {
        for (std::size_t i = 0; i < files.size(); ++i) {
            FileResult result = searchFile(*grep, files[i], settings);
            deliver(i, result);
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
