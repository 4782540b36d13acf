#include "kanji/utf8_code.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "kanji/utf8_stream.h"
#include "sjis/sjis_codec.h"

namespace tabulo::kanji {

bool IsUtf8Text(std::string_view text)
{
    const bool nonAscii = std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
    return nonAscii && sjis::isWellFormedUtf8(text);
}

Utf8Conversion sjis2utf8(std::string_view text)
{
    Sjis2Utf8Stream stream;
    Utf8Conversion result;
    stream.convert(text, true, result.text);
    return {std::move(result.text), stream.losses().count, stream.losses().firstInput};
}

Utf8Conversion utf82sjis(std::string_view text)
{
    Utf82SjisStream stream;
    Utf8Conversion result;
    stream.convert(text, true, result.text);
    return {std::move(result.text), stream.losses().count, stream.losses().firstInput};
}

namespace {

// The look-alike and the code point the CP932 table gives back for the
// same Shift-JIS code.
struct LookAlikePair {
    char32_t lookAlike;
    char32_t cp932;
};
constexpr LookAlikePair kLookAlikes[] = {
    {0x301C, 0xFF5E}, {0x2016, 0x2225}, {0x2212, 0xFF0D}, {0x00A2, 0xFFE0}, {0x00A3, 0xFFE1},
    {0x00AC, 0xFFE2}, {0x2014, 0x2015}, {0x00A5, 0x005C}, {0x203E, 0x007E},
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

LookAlikeForms lookAlikesIn(std::string_view utf8)
{
    unsigned lookAlikeSeen = 0;
    unsigned cp932Seen = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = sjis::nextUtf8(utf8, pos);
        for (unsigned i = 0; i < std::size(kLookAlikes); ++i) {
            if (c == kLookAlikes[i].lookAlike) lookAlikeSeen |= 1u << i;
            if (c == kLookAlikes[i].cp932) cp932Seen |= 1u << i;
        }
    }
    return {lookAlikeSeen & ~cp932Seen};
}

std::string restoreLookAlikes(std::string utf8, LookAlikeForms forms)
{
    if (forms.mask == 0) return utf8;
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        char32_t c = sjis::nextUtf8(utf8, pos);
        for (unsigned i = 0; i < std::size(kLookAlikes); ++i) {
            if ((forms.mask & (1u << i)) != 0 && c == kLookAlikes[i].cp932) {
                appendUtf8(out, kLookAlikes[i].lookAlike);
                c = 0;
                break;
            }
        }
        if (c != 0) out.append(utf8, start, pos - start);
    }
    return out;
}

TextPlace placeOf(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    TextPlace place;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++place.line;
            lineStart = i + 1;
        }
    }
    place.byte = offset - lineStart + 1;
    for (std::size_t pos = lineStart; pos < offset;) {
        sjis::nextUtf8(text, pos);
        ++place.character;
    }
    if (offset < text.size()) {
        std::size_t pos = offset;
        const char32_t c = sjis::nextUtf8(text, pos);
        place.codePoint = c == sjis::kMalformedUtf8 ? 0 : c;
    }
    return place;
}

}  // namespace tabulo::kanji
