// Words of a command line the user types (interpreter or search options),
// split by one rule with nothing expanded, and their form in a shell script.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabulo::search {

// Splits at spaces and tabs; a double quote starts or ends a stretch in
// which spaces and tabs belong to the word, and is itself dropped ("" gives
// an empty word). No other character is special: no "$", "\", "'" or "*" is
// expanded. An unclosed quote runs to the end of the text.
std::vector<std::string> splitCommandWords(std::string_view text);

// The word in single quotes for /bin/sh, every "'" inside written '\''.
std::string singleQuoted(std::string_view word);

}  // namespace tabulo::search
