// The built-in description the help command writes into the document.
#pragma once

#include <string_view>
#include <vector>

namespace tabulo::app {

// The lines of the description, UTF-8 (every character has a Shift-JIS form).
const std::vector<std::string_view>& helpTextLines();

}  // namespace tabulo::app
