// The search of the grep command over the files the user chose, in the
// order given. Each file is checked before it is read: only regular files
// are searched, so a FIFO never blocks the search and a device is never
// read; those, folders and files that cannot be opened or read are passed to
// onSkipped and the search goes on with the next file. Binary files are
// searched as bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "regex/grep.h"

namespace tabulo::search {

// How the files' text is read: as Shift-JIS, or each in the kanji code
// detected for it (Shift-JIS, EUC, JIS or UTF-8) and converted to Shift-JIS,
// so hits show in Shift-JIS with the line numbers of the file.
enum class GrepEncoding { ShiftJis, Detect };

// Searches one file with the pattern and OnMatch handler set on grep; raises
// what TGrep::GrepFile raises.
void grepFile(regex::TGrep& grep, const std::string& path, GrepEncoding encoding);

struct GrepFileEvents {
    // Before each file; false ends the search (the stop request).
    std::function<bool(std::size_t index, const std::string& path)> beforeFile;
    std::function<void(const std::string& path, const regex::RE_LineInfo_t& hit)> onHit;
    std::function<void(const std::string& path, const std::string& reason)> onSkipped;
};

struct GrepFilesResult {
    bool stopped = false;   // by beforeFile or by the grep's Cancel
    std::size_t searched = 0;
    std::size_t skipped = 0;
};

// Uses the pattern already set on grep and replaces its OnMatch handler for
// the run. Setting grep's Cancel from onHit or from its event pump stops the
// search.
GrepFilesResult grepFiles(regex::TGrep& grep, const std::vector<std::string>& paths,
                          const GrepFileEvents& events, GrepEncoding encoding = GrepEncoding::ShiftJis);

}  // namespace tabulo::search
