// The tables are taken once from the program's CP932 codec, so the streams
// map every code exactly as the rest of the program does; what they add is
// the block handling and a loop without a function call per character.
#include "kanji/utf8_stream.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "kanji/pair_tables.h"
#include "sjis/sjis_char.h"
#include "sjis/sjis_codec.h"

namespace tabulo::kanji {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Copies eight bytes at s when they are all ASCII.
inline bool asciiWord(const unsigned char* s, char*& o) {
    std::uint64_t word;
    std::memcpy(&word, s, 8);
    if ((word & kHighBits) != 0) return false;
    std::memcpy(o, &word, 8);
    o += 8;
    return true;
}

// Bit 0: a Shift-JIS lead byte; bit 1: a trail byte.
constexpr auto kByteClass = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        table[b] = static_cast<unsigned char>((sjis::isLeadByte(static_cast<unsigned char>(b)) ? 1 : 0) |
                                              (sjis::isTrailByte(static_cast<unsigned char>(b)) ? 2 : 0));
    }
    return table;
}();

// The entries of the decoding table: the 256 single bytes at their values,
// then the 189 trail bytes (0x40 to 0xFC) of each of the 60 lead bytes. It
// is a fifth of a table indexed by lead * 256 + trail, so it stays in the
// cache.
constexpr std::size_t kEntries = 256 + detail::kLeadCount * detail::kTrailSpan;

// For a lead byte: the index of its pairs' entries, less the first trail byte.
constexpr auto kPairBase = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto lead = static_cast<unsigned char>(b);
        if (sjis::isLeadByte(lead)) table[b] = static_cast<std::uint16_t>(256 + detail::leadIndex(lead) * detail::kTrailSpan - 0x40);
    }
    return table;
}();

// An entry: the character's UTF-8 bytes in the low three bytes (first byte
// lowest), their number in bits 24-25, and kLost when the byte or pair is no
// character.
constexpr std::uint32_t kLost = 1u << 31;

std::uint32_t entryOf(char32_t c) {
    std::uint32_t e;
    if (c < 0x80) {
        e = c | 1u << 24;
    } else if (c < 0x800) {
        e = (0xC0 | c >> 6) | (0x80 | (c & 0x3F)) << 8 | 2u << 24;
    } else {
        e = (0xE0 | c >> 12) | (0x80 | ((c >> 6) & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16 | 3u << 24;
    }
    return c == 0xFFFD ? e | kLost : e;
}

const std::vector<std::uint32_t>& utf8Entries() {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(kEntries);
        const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
        for (unsigned b = 0; b < 256; ++b) {
            t[b] = entryOf(codec.charToUtf16(b));
            if (!sjis::isLeadByte(static_cast<unsigned char>(b))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                t[kPairBase[b] + trail] = entryOf(codec.charToUtf16(b << 8 | trail));
            }
        }
        return t;
    }();
    return table;
}

// The entry index of the character at c, next: a pair, or c alone; length
// receives 2 or 1. (A branch-free form is slower: the next character's
// loads would wait for this one's.)
inline unsigned entryIndex(unsigned char c, unsigned char next, std::size_t& length) {
    const bool pair = (kByteClass[c] & (kByteClass[next] >> 1)) != 0;
    length = pair ? 2 : 1;
    return pair ? kPairBase[c] + next : c;
}

// Per BMP code point: its Shift-JIS code, or kNoCode.
constexpr std::uint16_t kNoCode = 0xFFFF;

const std::vector<std::uint16_t>& codeOfUnit() {
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(0x10000, kNoCode);
        const sjis::SjisCodec& codec = sjis::SjisCodec::instance();
        for (unsigned unit = 0; unit < t.size(); ++unit) {
            if (std::optional<unsigned> code = codec.charFromUtf16(static_cast<char16_t>(unit))) {
                t[unit] = static_cast<std::uint16_t>(*code);
            }
        }
        return t;
    }();
    return table;
}

// Three-byte UTF-8 (all of the BMP beyond U+07FF but the surrogates): the
// code point, or 0 when the bytes are not one well-formed character.
char32_t threeByteCharacter(const unsigned char* s) {
    if ((s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80) return 0;
    const char32_t c = (s[0] & 0x0Fu) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
    if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return c;
}

std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// A stream's conversion appended to a string: room for the most it can
// write, then trimmed to what it wrote.
template <class Stream>
void appendConverted(Stream& stream, std::string_view block, bool last, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + Stream::maxOutput(block.size()));
    out.resize(static_cast<std::size_t>(stream.convert(block, last, out.data() + start) - out.data()));
}

}  // namespace

char* Sjis2Utf8Stream::convert(std::string_view block, bool last, char* out) {
    const std::uint32_t* table = utf8Entries().data();
    char* o = out;
    m_seam.run(block, last, [&](const unsigned char* s, std::size_t available, bool atEnd, std::size_t offset) {
        // A local copy of the output position stays in a register: stores
        // through it could otherwise change it as far as the compiler knows.
        char* p = o;
        const auto emit = [&](unsigned index, std::size_t at) {
            const std::uint32_t e = table[index];
            if ((e & kLost) != 0 && m_losses.count++ == 0) {
                m_losses.firstInput = offset + at;
                m_losses.firstOutput = m_written + static_cast<std::size_t>(p - out);
            }
            std::memcpy(p, &e, 4);
            p += (e >> 24) & 3;
        };
        // As many characters as the bytes complete, in one loop. While eight
        // bytes remain, a character's second byte is there to look at, and
        // a lead byte, a pair and a single byte take the same branch-free way.
        std::size_t i = 0;
        while (i + 8 <= available) {
            if (asciiWord(s + i, p)) {
                i += 8;
                continue;
            }
            std::size_t length;
            emit(entryIndex(s[i], s[i + 1], length), i);
            i += length;
        }
        while (i < available) {
            const unsigned char c = s[i];
            if (i + 1 == available) {
                // A lead byte waits for the next block, unless none comes.
                if ((kByteClass[c] & 1) != 0 && !atEnd) break;
                emit(c, i);
                ++i;
                continue;
            }
            std::size_t length;
            emit(entryIndex(c, s[i + 1], length), i);
            i += length;
        }
        o = p;
        return i;
    });
    m_written += static_cast<std::size_t>(o - out);
    return o;
}

void Sjis2Utf8Stream::convert(std::string_view block, bool last, std::string& out) {
    appendConverted(*this, block, last, out);
}

char* Utf82SjisStream::convert(std::string_view block, bool last, char* out) {
    const std::uint16_t* table = codeOfUnit().data();
    char* o = out;
    m_seam.run(block, last, [&](const unsigned char* s, std::size_t available, bool atEnd, std::size_t offset) {
        char* p = o;  // in a register, as above
        const auto emit = [&](char32_t c, std::size_t at) {
            const std::uint16_t code = c < 0x10000 ? table[c] : kNoCode;
            if (code == kNoCode) {
                if (m_losses.count++ == 0) {
                    m_losses.firstInput = offset + at;
                    m_losses.firstOutput = m_written + static_cast<std::size_t>(p - out);
                }
                p[0] = sjis::SjisCodec::kGetaMark[0];
                p[1] = sjis::SjisCodec::kGetaMark[1];
                p += 2;
                return;
            }
            // Both bytes are stored; the second counts for a pair only.
            p[0] = static_cast<char>(code > 0xFF ? code >> 8 : code);
            p[1] = static_cast<char>(code & 0xFF);
            p += code > 0xFF ? 2 : 1;
        };
        // Any character, as the codec reads it (a malformed byte is one
        // character); 0 when it may go on in the next block.
        const auto general = [&](std::size_t i) -> std::size_t {
            if (i + utf8Length(s[i]) > available && !atEnd) return 0;
            std::size_t pos = 0;
            emit(sjis::nextUtf8(std::string_view(reinterpret_cast<const char*>(s + i), available - i), pos), i);
            return pos;
        };
        std::size_t i = 0;
        // While eight bytes remain, ASCII words and the three-byte characters
        // of Japanese text take the short ways.
        while (i + 8 <= available) {
            // The ASCII bytes before the first other one are copied with one
            // word store and counted from the word, without a branch per byte.
            std::uint64_t word;
            std::memcpy(&word, s + i, 8);
            std::memcpy(p, &word, 8);
            const std::uint64_t high = word & kHighBits;
            if (high == 0) {
                p += 8;
                i += 8;
                continue;
            }
            const std::size_t ascii = static_cast<std::size_t>(std::countr_zero(high)) / 8;
            p += ascii;
            i += ascii;
            // Then the run of other characters up to the next ASCII byte.
            std::size_t used = 0;
            do {
                if (const char32_t three = (s[i] & 0xF0) == 0xE0 && i + 3 <= available ? threeByteCharacter(s + i) : 0) {
                    emit(three, i);
                    used = 3;
                } else {
                    used = general(i);
                }
                i += used;
            } while (used != 0 && i + 8 <= available && s[i] >= 0x80);
            if (used == 0) break;
        }
        while (i < available) {
            const std::size_t used = general(i);
            if (used == 0) break;
            i += used;
        }
        o = p;
        return i;
    });
    m_written += static_cast<std::size_t>(o - out);
    return o;
}

void Utf82SjisStream::convert(std::string_view block, bool last, std::string& out) {
    appendConverted(*this, block, last, out);
}

}  // namespace tabulo::kanji
