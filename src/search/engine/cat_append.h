// Cat: joining text files into one. The target sits in the folder of the
// first file, named "CatTemp" with that file's extension when it holds
// "htm" (web pages join as they are), else "CatTemp.txt". Each joined file
// that is not a web page and does not come from the work folder stands
// between a header and a footer naming it. The script pipeline assembles its
// result file with the same append.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tabulo::search {

// The Cat target for the first input file (file-system bytes).
std::string catTargetPath(const std::string& firstInput);

// True when source is framed by separator lines: its extension does not
// contain "htm" (letter case counts) and its folder is not workFolder (which
// ends in '/').
bool catUsesSeparators(const std::string& source, const std::string& workFolder);

// The separator texts around a file named `name` (document bytes), with CR LF
// line breaks.
std::string catHeader(std::string_view name);
std::string catFooter(std::string_view name);

using CatReport = std::function<void(const std::string& message)>;

// Appends the text of source (up to its own 0x1A) to output, framed by the
// separators when they apply. Returns 0, or -1 after reporting
// "can't open " + the path that failed ("can't read " + source or
// "can't write " + output when the copy broke off part way). Only regular files are read as sources.
int CatAppendFile(const std::string& source, const std::string& output, const std::string& workFolder,
                  const CatReport& report);

}  // namespace tabulo::search
