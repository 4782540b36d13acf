#include "editor/model/trim_blanks.h"

#include "sjis/sjis_char.h"

namespace tabulo::editor {

using sjis::charLengthAt;

std::string trimBlanks(std::string_view s) {
    // Walk characters from the start: the first non-blank begins the result,
    // the end of the last non-blank ends it. Walking forward is the only safe
    // way to find where a full-width space really starts.
    std::size_t begin = s.size();
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t len = charLengthAt(s, pos);
        const bool blank = (len == 1 && (s[pos] == ' ' || s[pos] == '\t')) ||
                           (len == 2 && s[pos] == '\x81' && s[pos + 1] == '\x40');
        if (!blank) {
            if (begin == s.size()) begin = pos;
            end = pos + len;
        }
        pos += len;
    }
    if (begin >= end) return {};
    return std::string(s.substr(begin, end - begin));
}

}  // namespace tabulo::editor
