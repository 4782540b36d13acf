// Which outside-program commands can run, from the stored interpreter and
// postal-file paths and the search path.
#pragma once

#include <string>

namespace tabulo::app {

struct ProgramPaths {
    std::string awk, ruby, sed, xtr, postal;
};

struct CommandAvailability {
    bool awk = false, ruby = false, sed = false, xtr = false, postal = false, namazu = false;
};

// Each path is compared in upper case: the Awk path must contain "AWK", and
// so on (an empty interpreter path counts as its program word, "gawk",
// "ruby", "sed" or "xtr", when that program is found on the search path);
// the postal file ".CSV". Namazu needs a namazu program in the search path,
// or "NAMAZU" or "namazu" (exact case) in the search path itself.
CommandAvailability commandAvailability(const ProgramPaths& paths, const std::string& searchPath);

}  // namespace tabulo::app
