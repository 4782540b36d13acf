// The full-text search through the outside namazu program: its argument
// list, the debug script that repeats the run in a terminal, and the reading
// of what it wrote. namazu reads and writes EUC-JP (its locale is set to
// ja_JP.eucJP); documents are Shift-JIS, file names UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::search {

inline constexpr std::string_view kNamazuProgram = "namazu";
inline constexpr std::string_view kNamazuDefaultOptions = "-n 100";
// The environment changes that make namazu read the query and write its
// results in EUC-JP (the locale need not be installed): LANG set, and the
// variables that would override it removed.
const std::vector<std::string>& namazuEnvironment();

// namazu, the option words, "--", the query as one word, the index folders.
// The "--" keeps a query that starts with "-" from reading as an option.
// Options and folders are split by splitCommandWords.
std::vector<std::string> namazuArguments(std::string_view options, std::string_view eucQuery,
                                         std::string_view indexFolders);

// A /bin/sh script that runs the same command (the same environment, each
// word single-quoted) with its output on the terminal, then waits for Enter.
std::string namazuDebugScript(const std::vector<std::string>& arguments);

// namazu's output as a Shift-JIS document: its EUC-JP text converted, and
// the file path at the start of each summary line ("/dir/a.txt (24 bytes)"),
// which namazu writes in the file system's own bytes, converted as a file
// name so that the tag jump finds the file again.
std::string namazuResultDocument(std::string_view output);

// True when namazu could not open any of the indexes it searched: it says
// "(can't open the index)" for each and still ends successfully.
// `indexFolders` is how many were named; none means namazu's own default.
bool namazuFoundNoIndex(std::string_view output, std::size_t indexFolders);

}  // namespace tabulo::search
