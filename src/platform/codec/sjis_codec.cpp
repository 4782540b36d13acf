// Builds the CP932 tables from glibc iconv once and converts with plain table
// lookups afterwards. iconv is asked about every single byte and every
// lead/trail pair in the decoding direction, and about every BMP character in
// the encoding direction, so the tables agree with it exactly, including its
// choice among codes that share one Unicode character.
#include "platform/codec/sjis_codec.h"
#include "platform/codec/sjis_char.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tabulo::platform {

namespace detail {

constexpr char16_t kReplacement = u'\uFFFD';
// 0xFFFF cannot be a Shift-JIS code: 0xFF is neither a lead nor a trail byte.
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr std::size_t kTableSize = 0x10000;

// One iconv conversion direction, used only while the tables are built.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("Shift-JIS conversion unavailable: iconv cannot convert from ")
                                     + from + " to " + to + ": " + std::strerror(errno));
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input or nothing; returns the output byte count, or
    // 0 when iconv rejects the input (nothing converts to zero bytes here).
    std::size_t convert(const unsigned char* in, std::size_t inLength, unsigned char* out,
                        std::size_t outCapacity)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t inLeft = inLength;
        std::size_t outLeft = outCapacity;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)
            || inLeft != 0) {
            return 0;
        }
        // Flush any pending shift state so a stateful answer is not half read.
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return 0;
        }
        return outCapacity - outLeft;
    }

private:
    iconv_t m_cd;
};

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

constexpr char32_t kMalformed = 0xFFFFFFFF;

// Reads one code point at text[pos] and advances pos; a malformed sequence
// (bad lead, missing continuation, overlong form, surrogate, beyond U+10FFFF)
// yields kMalformed and advances by one byte, so the bytes after it are
// read again as characters of their own.
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
        return kMalformed;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kMalformed;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char cont = byteAt(pos + i);
        if ((cont & 0xC0) != 0x80) {
            ++pos;
            return kMalformed;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return kMalformed;
    }
    pos += length;
    return c;
}

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

const SjisCodec& SjisCodec::instance()
{
    static const SjisCodec codec;
    return codec;
}

SjisCodec::SjisCodec()
    : m_toUnicode(detail::kTableSize, detail::kReplacement),
      m_fromUnicode(detail::kTableSize, detail::kNoCode)
{
    detail::Converter decoder("UTF-16LE", "CP932");
    unsigned char out[16];
    const auto decodeInto = [&](unsigned code, const unsigned char* bytes, std::size_t length) {
        // CP932 maps every code to one BMP character; anything longer would
        // not fit the table and is left unmapped.
        if (decoder.convert(bytes, length, out, sizeof out) == 2) {
            m_toUnicode[code] = static_cast<char16_t>(out[0] | (out[1] << 8));
        }
    };
    for (unsigned b = 0; b < 0x100; ++b) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(b))) {
            const unsigned char byte = static_cast<unsigned char>(b);
            decodeInto(b, &byte, 1);
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (sjis::isTrailByte(static_cast<unsigned char>(trail))) {
                const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                               static_cast<unsigned char>(trail)};
                decodeInto(lead * 256 + trail, pair, 2);
            }
        }
    }

    // The encoding direction is asked for every BMP character, not only the
    // decoded ones: it also knows characters such as U+301C WAVE DASH that
    // other Unicode mappings of Japanese text use for a Shift-JIS character.
    detail::Converter encoder("CP932", "UTF-16LE");
    for (unsigned u = 0; u < detail::kTableSize; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF) {
            continue;
        }
        const unsigned char unit[2] = {static_cast<unsigned char>(u & 0xFF),
                                       static_cast<unsigned char>(u >> 8)};
        const std::size_t length = encoder.convert(unit, 2, out, sizeof out);
        if (length == 1) {
            m_fromUnicode[u] = out[0];
        } else if (length == 2) {
            m_fromUnicode[u] = static_cast<std::uint16_t>(out[0] * 256 + out[1]);
        }
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
        if (!appendCode(out, detail::nextUtf8(text, pos))) {
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
            out += '?';
            ++count;
        }
    }
    if (replaced != nullptr) {
        *replaced = count;
    }
    return out;
}

std::string SjisCodec::fromUtf8Lossy(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (!appendCode(out, detail::nextUtf8(text, pos))) {
            out += '?';
        }
    }
    return out;
}

}  // namespace tabulo::platform
