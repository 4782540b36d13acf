// Trimming walks the line forwards character by character even for the right
// end: a trailing 0x81 0x40 may be the trail byte of a double-byte character
// followed by '@', which is not a full-width space.
#include "textops/trim_blanks.h"

#include "sjis/sjis_char.h"

namespace tabulo::textops {

using sjis::charLengthAt;

namespace {

// Length of the blank character at pos, or 0 when the character there is not blank.
std::size_t blankLengthAt(std::string_view text, std::size_t pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte == 0x20 || byte == 0x09) return 1;
    if (byte == 0x81 && pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) == 0x40) return 2;
    return 0;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    std::size_t pos = 0;
    std::size_t begin = text.size();
    std::size_t end = 0;
    while (pos < text.size()) {
        const std::size_t blank = blankLengthAt(text, pos);
        const std::size_t length = blank ? blank : charLengthAt(text, pos);
        if (!blank) {
            if (begin == text.size()) begin = pos;
            end = pos + length;
        }
        pos += length;
    }
    if (begin == text.size()) return {};
    return text.substr(begin, end - begin);
}

bool isBlankLine(std::string_view line) {
    return trimBlanks(line).empty();
}

LineResult trimLines(std::vector<std::string>& lines, LineRange range, const ProgressFn& progress) {
    detail::checkRange(lines.size(), range);
    LineResult result;
    for (std::size_t i = range.first; i <= range.last; ++i) {
        std::string& line = lines[i];
        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.size() < line.size()) {
            line = std::string(trimmed);
            ++result.count;
        }
        if (progress && !progress({i, result.count})) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

}  // namespace tabulo::textops
