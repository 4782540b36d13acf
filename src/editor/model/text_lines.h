// Cutting text into lines at CR LF, a lone CR or a lone LF, from memory or
// from a file read in blocks. A byte 0x1A ends the text. Other bytes,
// 0x00 included, are ordinary line content.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/model/line_break_style.h"

namespace tabulo::editor {

// Calls onLine(text, hasBreak) for every line. A text ending in a line
// break yields no empty line after it; the last line reports hasBreak false
// when the text does not end with a break.
// `breaks`, when given, notes every break in order.
void splitLines(std::string_view text,
                const std::function<void(std::string_view, bool)>& onLine,
                LineBreakTally* breaks = nullptr);

// What reading a file found besides its lines.
struct FileReadReport {
    LineBreakTally breaks;
    // The file offset of the 0x1A that ended the text, when one did.
    std::optional<std::uint64_t> endMarkerOffset;
    // Bytes of the file after that 0x1A: they are not part of the text.
    std::uint64_t bytesAfterEndMarker = 0;
};

// The same over a file read in blocks; a CR at the end of a block and an LF
// at the start of the next form one break. Only a regular file is read.
// Throws os::NotRegularFileError for a folder, FIFO, device or
// socket, and std::runtime_error with the path and the system's reason when
// the file cannot be read.
FileReadReport readFileLines(const std::string& path,
                             const std::function<void(std::string_view, bool)>& onLine,
                             std::size_t blockSize = 1 << 20);

}  // namespace tabulo::editor
