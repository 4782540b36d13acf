#include "cli/pattern_error.h"

#include "cli/messages.h"

namespace tabulo::cli {

std::string patternErrorText(const regex::ERegExpParser& error, const std::string& pattern) {
    const std::size_t at = error.position() > 0 ? error.position() - 1 : 0;
    return std::string(error.what()) + "\n  " + Messages::fromSjis(pattern) + "\n  " +
           std::string(sjisColumn(pattern, at), ' ') + '^';
}

}  // namespace tabulo::cli
