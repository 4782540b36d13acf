// The program's one rule for white space at line ends: spaces, tabs and
// full-width spaces (the Shift-JIS pair 0x81 0x40, recognised only as a whole
// character) are blanks. Every command that trims a line or asks whether a
// line is blank uses these functions, and so does the "trim both ends" command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textops/line_command.h"

namespace tabulo::textops {

// The part of text left after removing blanks from both ends; a view into text.
std::string_view trimBlanks(std::string_view text);

// A line is blank when trimming leaves nothing (an empty line is blank).
bool isBlankLine(std::string_view line);

// Trims every line of the range in place, first to last. count is the number
// of lines that became shorter; a line of blanks only becomes empty and stays.
// Progress is reported after every line of the range. A stopped run keeps the
// lines trimmed so far and leaves the rest as they were.
LineResult trimLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress = {});

}  // namespace tabulo::textops
