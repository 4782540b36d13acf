// The two commands that delete lines of a range: duplicate neighbours and
// blank lines. Both walk the range from its last line up to its first, as the
// window command shows its running count, and both keep what they have
// deleted when stopped.
#pragma once

#include <string>
#include <vector>

#include "textops/line_command.h"

namespace tabulo::textops {

// Deletes every line of the range that is byte-identical to the line just above
// it, so a run of k equal neighbours becomes one line. The range's first line
// is compared with the line above the range too; line 0 has none and stays.
// Only neighbours merge, so this is meant to follow a sort. count is the number
// of deleted lines. Progress is reported after each line of the range, last to
// first (line = its index before the run). A stopped run keeps the deletions
// made below the stopping point; the lines above it are untouched.
LineResult deleteDuplicateLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress = {});

// Deletes every blank line of the range (see isBlankLine). count, progress and
// a stopped run as for deleteDuplicateLines.
LineResult deleteBlankLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress = {});

}  // namespace tabulo::textops
