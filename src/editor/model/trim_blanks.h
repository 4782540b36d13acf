// The program's one rule for white space at the ends of a string: spaces,
// tabs and full-width spaces (the Shift-JIS pair 0x81 0x40, recognised only
// as a whole character) go; interior characters stay.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::editor {

std::string trimBlanks(std::string_view s);

}  // namespace tabulo::editor
