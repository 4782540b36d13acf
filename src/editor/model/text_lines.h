// Cutting text into lines at CR LF, a lone CR or a lone LF, in memory or
// in a file read whole. A byte 0x1A ends the text. Other bytes,
// 0x00 included, are ordinary line content.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "editor/model/editor_screen_strings.h"
#include "editor/model/line_break_style.h"

namespace tabulo::editor {

// Calls onLine(begin, end, hasBreak) with the byte range of every line of
// `text`. A text ending in a line break yields no empty line after it; the
// last line reports hasBreak false when the text does not end with a break.
// `breaks`, when given, notes every break in order. Returns the position of
// the 0x1A that ended the text, or npos.
std::size_t scanLines(std::string_view text,
                      const std::function<void(std::size_t, std::size_t, bool)>& onLine,
                      LineBreakTally* breaks = nullptr);

// The same with each line's bytes.
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

// A whole file read into one buffer, straight from the file in blocks of
// `blockSize` (no copy beside it, unless the file grows while it is read),
// and its lines through onLine(bytes, begin, hasBreak), `begin` being where
// the line starts in that buffer. Only a regular
// file is read. Throws os::NotRegularFileError for a folder, FIFO, device or
// socket, and std::runtime_error with the path and the system's reason when
// the file cannot be read.
struct FileText {
    std::shared_ptr<const TextBuffer> bytes;
    FileReadReport report;
};
FileText readFileText(const std::string& path,
                      const std::function<void(std::string_view, std::size_t, bool)>& onLine,
                      std::size_t blockSize = 1 << 20);

}  // namespace tabulo::editor
