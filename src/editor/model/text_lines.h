// Cutting text into lines at CR LF, a lone CR or a lone LF, from memory or
// from a file read in blocks. A byte 0x1A ends the text. Other bytes,
// 0x00 included, are ordinary line content.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tabulo::editor {

// Calls onLine(text, hasBreak) for every line. A text ending in a line
// break yields no empty line after it; the last line reports hasBreak false
// when the text does not end with a break.
void splitLines(std::string_view text,
                const std::function<void(std::string_view, bool)>& onLine);

// The same over a file read in blocks; a CR at the end of a block and an LF
// at the start of the next form one break. Throws std::runtime_error with
// the path and the system's reason when the file cannot be read.
void readFileLines(const std::string& path,
                   const std::function<void(std::string_view, bool)>& onLine,
                   std::size_t blockSize = 1 << 20);

}  // namespace tabulo::editor
