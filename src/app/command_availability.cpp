#include "app/command_availability.h"

#include <algorithm>
#include <cctype>

#include "os/process/child_process.h"

namespace tabulo::app {
namespace {

bool upperContains(std::string text, const char* word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text.find(word) != std::string::npos;
}

// A path left empty stands for the program word when that program is on the
// search path, so a fresh start finds the installed interpreters.
std::string effectivePath(const std::string& stored, const char* programWord, const std::string& searchPath) {
    if (!stored.empty() || os::findProgram(programWord, searchPath).empty()) return stored;
    return programWord;
}

}  // namespace

CommandAvailability commandAvailability(const ProgramPaths& paths, const std::string& searchPath) {
    CommandAvailability a;
    a.awk = upperContains(effectivePath(paths.awk, "gawk", searchPath), "AWK");
    a.ruby = upperContains(effectivePath(paths.ruby, "ruby", searchPath), "RUBY");
    a.sed = upperContains(effectivePath(paths.sed, "sed", searchPath), "SED");
    a.xtr = upperContains(effectivePath(paths.xtr, "xtr", searchPath), "XTR");
    a.postal = upperContains(paths.postal, ".CSV");
    a.namazu = searchPath.find("NAMAZU") != std::string::npos || searchPath.find("namazu") != std::string::npos ||
               !os::findProgram("namazu", searchPath).empty();
    return a;
}

}  // namespace tabulo::app
