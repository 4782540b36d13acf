// Path forms. There are no short 8.3 names here: the long form of a path is
// the absolute, cleaned path. Interpreter paths chosen inside the program
// folder are kept relative to it ("./" + the rest), so the settings survive
// a moved program folder; programFolderPath() turns them back.
#pragma once

#include <string>

namespace tabulo::platform {

// Absolute and lexically normal; symbolic links are not resolved.
std::string longPathName(const std::string& path);

// "<program folder>bin/gawk" -> "./bin/gawk"; other paths unchanged.
std::string programRelative(const std::string& path);

// "./bin/gawk" -> "<program folder>bin/gawk"; other text unchanged, so a
// bare command word stays a word to be found on PATH.
std::string programFolderPath(const std::string& path);

}  // namespace tabulo::platform
