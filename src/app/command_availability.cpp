#include "app/command_availability.h"

#include <algorithm>
#include <cctype>

#include "platform/child_process.h"

namespace tabulo::app {
namespace {

bool upperContains(std::string text, const char* word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text.find(word) != std::string::npos;
}

}  // namespace

CommandAvailability commandAvailability(const ProgramPaths& paths, const std::string& searchPath) {
    CommandAvailability a;
    a.awk = upperContains(paths.awk, "AWK");
    a.ruby = upperContains(paths.ruby, "RUBY");
    a.sed = upperContains(paths.sed, "SED");
    a.xtr = upperContains(paths.xtr, "XTR");
    a.postal = upperContains(paths.postal, ".CSV");
    a.namazu = searchPath.find("NAMAZU") != std::string::npos || searchPath.find("namazu") != std::string::npos ||
               !platform::findProgram("namazu", searchPath).empty();
    return a;
}

}  // namespace tabulo::app
