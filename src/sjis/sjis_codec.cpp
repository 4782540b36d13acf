// Spreads the committed CP932 table into two direct-indexed arrays once and
// converts with plain lookups afterwards.
#include "sjis/sjis_codec.h"
#include "sjis/sjis_char.h"

#include "sjis/cp932_table.h"

namespace tabulo::sjis {

namespace detail {

constexpr char16_t kReplacement = u'\uFFFD';
// 0xFFFF cannot be a Shift-JIS code: 0xFF is neither a lead nor a trail byte.
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr std::size_t kTableSize = 0x10000;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The one marker for a malformed character, from UTF-8 or UTF-16.
constexpr char32_t kMalformed = kMalformedUtf8;

// Reads one code point of UTF-16 at text[pos] and advances pos; an unpaired
// surrogate yields kMalformed.
char32_t nextUtf16(std::u16string_view text, std::size_t& pos)
{
    const char16_t u = text[pos++];
    if (u < 0xD800 || u > 0xDFFF) {
        return u;
    }
    if (u <= 0xDBFF && pos < text.size() && text[pos] >= 0xDC00 && text[pos] <= 0xDFFF) {
        const char16_t low = text[pos++];
        return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
    }
    return kMalformed;
}

}  // namespace detail

char32_t nextUtf8(std::string_view text, std::size_t& pos)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = byteAt(pos);
    if (b < 0x80) {
        ++pos;
        return b;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, c = b & 0x1F, minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, c = b & 0x0F, minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, c = b & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kMalformedUtf8;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kMalformedUtf8;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char cont = byteAt(pos + i);
        if ((cont & 0xC0) != 0x80) {
            ++pos;
            return kMalformedUtf8;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return kMalformedUtf8;
    }
    pos += length;
    return c;
}

bool isWellFormedUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (nextUtf8(text, pos) == kMalformedUtf8) {
            return false;
        }
    }
    return true;
}

const SjisCodec& SjisCodec::instance()
{
    static const SjisCodec codec;
    return codec;
}

SjisCodec::SjisCodec()
    : m_toUnicode(detail::kTableSize, detail::kReplacement),
      m_fromUnicode(detail::kTableSize, detail::kNoCode)
{
    for (std::size_t i = 0; i < cp932::kDecodingSize; ++i) {
        m_toUnicode[cp932::kDecoding[i].from] = static_cast<char16_t>(cp932::kDecoding[i].to);
    }
    for (std::size_t i = 0; i < cp932::kEncodingSize; ++i) {
        m_fromUnicode[cp932::kEncoding[i].from] = cp932::kEncoding[i].to;
    }
}

char16_t SjisCodec::charToUtf16(unsigned code) const
{
    return code < m_toUnicode.size() ? m_toUnicode[code] : detail::kReplacement;
}

std::optional<unsigned> SjisCodec::charFromUtf16(char16_t unit) const
{
    const std::uint16_t code = m_fromUnicode[unit];
    if (code == detail::kNoCode) {
        return std::nullopt;
    }
    return code;
}

std::u16string SjisCodec::toUtf16(std::string_view sjis) const
{
    // Never more units than bytes: written in place, trimmed at the end.
    std::u16string out(sjis.size(), u'\0');
    char16_t* next = out.data();
    const auto* bytes = reinterpret_cast<const unsigned char*>(sjis.data());
    const std::size_t size = sjis.size();
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char b = bytes[i];
        if (!sjis::isLeadByte(b)) {
            *next++ = m_toUnicode[b];
        } else if (i + 1 < size && sjis::isTrailByte(bytes[i + 1])) {
            *next++ = m_toUnicode[b * 256u + bytes[i + 1]];
            ++i;
        } else {
            // A lone lead byte: the byte after it starts the next character.
            *next++ = detail::kReplacement;
        }
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return out;
}

std::string SjisCodec::toUtf8(std::string_view sjis) const
{
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (const char16_t unit : toUtf16(sjis)) {
        detail::appendUtf8(out, unit);
    }
    return out;
}

std::string SjisCodec::toUtf8Reporting(std::string_view sjis, Unrepresentable& report) const
{
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    report = {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(sjis.data());
    for (std::size_t pos = 0; pos < sjis.size();) {
        const std::size_t start = pos;
        // As toUtf16: a lead byte before a byte that cannot complete it stands alone.
        const bool pair = sjis::charLengthAtCheckingTrail(sjis, pos) == 2;
        const unsigned code = pair ? bytes[pos] * 256u + bytes[pos + 1] : bytes[pos];
        pos += pair ? 2 : 1;
        const char16_t unit = charToUtf16(code);
        if (unit == detail::kReplacement && report.count++ == 0) {
            report.firstPosition = start;
        }
        detail::appendUtf8(out, unit);
    }
    return out;
}

bool SjisCodec::appendCode(std::string& out, char32_t codePoint) const
{
    if (codePoint >= detail::kTableSize) {
        return false;  // CP932 holds BMP characters only (and kMalformed).
    }
    const std::uint16_t code = m_fromUnicode[codePoint];
    if (code == detail::kNoCode) {
        return false;
    }
    if (code > 0xFF) {
        out += static_cast<char>(code >> 8);
    }
    out += static_cast<char>(code & 0xFF);
    return true;
}

std::optional<std::string> SjisCodec::fromUtf16(std::u16string_view text) const
{
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        if (!appendCode(out, detail::nextUtf16(text, pos))) {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> SjisCodec::fromUtf8(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (!appendCode(out, nextUtf8(text, pos))) {
            return std::nullopt;
        }
    }
    return out;
}

std::string SjisCodec::fromUtf16Lossy(std::u16string_view text, std::size_t* replaced) const
{
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (!appendCode(out, detail::nextUtf16(text, pos))) {
            out += kGetaMark;
            ++count;
        }
    }
    if (replaced != nullptr) {
        *replaced = count;
    }
    return out;
}

std::string SjisCodec::fromUtf8Substituting(std::string_view text, Unrepresentable& report) const
{
    std::string out;
    out.reserve(text.size());
    report = {};
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        if (!appendCode(out, nextUtf8(text, pos))) {
            out += kGetaMark;
            if (report.count++ == 0) {
                report.firstPosition = start;
            }
        }
    }
    return out;
}

std::string SjisCodec::fromUtf8Lossy(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (!appendCode(out, nextUtf8(text, pos))) {
            out += kGetaMark;
        }
    }
    return out;
}

}  // namespace tabulo::sjis
