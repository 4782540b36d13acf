#include "editor/view/surrounding_text.h"

#include <algorithm>

#include "sjis/sjis_char.h"
#include "sjis/sjis_codec.h"

namespace tabulo::editor {

SurroundingText surroundingText(std::string_view line, std::size_t caretByte, std::size_t anchorByte) {
    caretByte = std::min(caretByte, line.size());
    anchorByte = std::min(anchorByte, line.size());
    // Character starts bound the window, found from the line's start (a
    // trail byte alone says nothing about where characters begin).
    const std::size_t lowest = caretByte > kSurroundingBytes ? caretByte - kSurroundingBytes : 0;
    const std::size_t highest = caretByte + kSurroundingBytes;
    std::size_t from = 0;
    std::size_t pos = 0;
    while (pos < lowest) pos += sjis::charLengthAt(line, pos);
    from = std::min(pos, caretByte);
    pos = caretByte;
    while (pos < line.size() && pos < highest) pos += sjis::charLengthAt(line, pos);
    const std::size_t to = std::min(pos, line.size());

    const auto& codec = sjis::SjisCodec::instance();
    const auto utf16 = [&](std::size_t a, std::size_t b) {
        const std::u16string u = codec.toUtf16(line.substr(a, b - a));
        return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
    };
    SurroundingText out;
    out.text = utf16(from, to);
    out.cursor = static_cast<int>(utf16(from, caretByte).size());
    const std::size_t anchor = std::clamp(anchorByte, from, to);
    out.anchor = static_cast<int>(utf16(from, anchor).size());
    return out;
}

}  // namespace tabulo::editor
