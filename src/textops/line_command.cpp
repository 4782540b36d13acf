// Checks shared by the line commands.
#include "textops/line_command.h"

#include <stdexcept>
#include <string>

namespace tabulo::textops::detail {

void checkRange(std::size_t lineCount, LineRange range) {
    if (range.first > range.last || range.last >= lineCount) {
        throw std::out_of_range("line range " + std::to_string(range.first) + ".." + std::to_string(range.last) +
                                " outside a text of " + std::to_string(lineCount) + " lines");
    }
}

}  // namespace tabulo::textops::detail
