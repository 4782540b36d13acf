// Conversions between Shift-JIS, EUC and JIS. Each converter walks the input
// once. Bytes that form no character of the source code (a lead byte without
// a trail byte, an unknown escape, a byte outside the code) are copied as
// they are and never take a neighbouring byte with them, so damaged text
// loses nothing around the damage.
#include <cstddef>

#include "kanji/byte_classes.h"
#include "kanji/byte_writer.h"
#include "kanji/kanji_code.h"
#include "kanji/pair_tables.h"

namespace tabulo::kanji {
namespace {

using detail::ByteWriter;
using detail::kEsc;

const unsigned char* bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// JIS X 0208 has no form for a JIS X 0212 character (EUC 0x8F + two bytes);
// it becomes the geta mark 〓 rather than being split into wrong characters.
constexpr unsigned char kGetaRow = 0x22;
constexpr unsigned char kGetaCell = 0x2E;

enum class JisTarget { Euc, Sjis };

// Reads JIS: ESC $ F enters kanji mode, ESC ( F leaves it (F a final byte
// 0x40 to 0x7E). In kanji mode two bytes 0x21 to 0x7E make a character;
// any other byte is copied, so a line break inside kanji mode survives.
template <JisTarget target>
std::string fromJis(std::string_view text) {
    const unsigned char* s = bytes(text);
    const std::size_t n = text.size();
    ByteWriter out(n);  // never longer than the input
    bool kanji = false;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c == kEsc) {
            if (i + 1 >= n) break;  // ESC cut off by the end: nothing to show
            const unsigned char d = s[i + 1];
            if (d == '$' || d == '(') {
                if (i + 2 >= n) break;
                const unsigned char f = s[i + 2];
                if (f >= 0x40 && f <= 0x7E) {
                    kanji = d == '$';
                    i += 3;
                    continue;
                }
            }
            // Not an escape sequence this reader knows: the ESC is a byte
            // like any other and the bytes after it are read normally.
            out.put(c);
            ++i;
            continue;
        }
        if (kanji && detail::isJisByte(c) && i + 1 < n && detail::isJisByte(s[i + 1])) {
            const unsigned char cell = s[i + 1];
            if constexpr (target == JisTarget::Sjis) {
                const unsigned sjis = detail::jisPairToSjis(c, cell);
                out.put2(static_cast<unsigned char>(sjis >> 8), sjis & 0xFF);
            } else {
                out.put2(c | 0x80, cell | 0x80);
            }
            i += 2;
        } else {
            out.put(c);
            ++i;
        }
    }
    return out.finish();
}

// The output side of the JIS writers: kanji mode is entered with ESC $ B
// before a two-byte character and left with ESC ( J before a 7-bit byte and
// at the end, so every line break stands outside kanji mode.
class JisWriter {
public:
    explicit JisWriter(std::size_t n) : m_out(n + n / 4 + 8) {}

    void ascii(unsigned char c) {
        m_out.ensure(4);
        leaveKanji();
        m_out.put(c);
    }
    void kanji(unsigned char row, unsigned char cell) {
        m_out.ensure(5);
        if (!m_kanji) {
            m_out.put2(kEsc, '$');
            m_out.put('B');
            m_kanji = true;
        }
        m_out.put2(row, cell);
    }
    void kanji(unsigned code) { kanji(static_cast<unsigned char>(code >> 8), code & 0xFF); }
    // A byte outside the source code, kept as it is in the current mode.
    void raw(unsigned char c) {
        m_out.ensure(1);
        m_out.put(c);
    }
    std::string finish() {
        m_out.ensure(3);
        leaveKanji();
        return m_out.finish();
    }

private:
    void leaveKanji() {
        if (m_kanji) {
            m_out.put2(kEsc, '(');
            m_out.put('J');
            m_kanji = false;
        }
    }

    ByteWriter m_out;
    bool m_kanji = false;
};

// Writes one half-width katakana as full-width JIS, merging the following
// voicing mark *mark (when haveMark) into it; returns 1 when the mark was
// used, else 0.
std::size_t writeHalfKana(JisWriter& out, unsigned char kana, const unsigned char* mark,
                          bool haveMark) {
    if (haveMark) {
        if (unsigned voiced = detail::voicedKanaToJis(kana, *mark)) {
            out.kanji(voiced);
            return 1;
        }
    }
    out.kanji(detail::halfKanaToJis(kana));
    return 0;
}

}  // namespace

std::string ToSjis(unsigned char row, unsigned char cell) {
    unsigned char out[2];
    detail::jisToSjis(row, cell, out);
    return std::string(reinterpret_cast<const char*>(out), 2);
}

std::string ToJis(unsigned char lead, unsigned char trail) {
    unsigned char out[2];
    detail::sjisToJis(lead, trail, out);
    return std::string(reinterpret_cast<const char*>(out), 2);
}

std::string jis2euc(std::string_view text) { return fromJis<JisTarget::Euc>(text); }
std::string jis2sjis(std::string_view text) { return fromJis<JisTarget::Sjis>(text); }

std::string sjis2jis83(std::string_view text) {
    const unsigned char* s = bytes(text);
    const std::size_t n = text.size();
    JisWriter out(n);
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.ascii(c);
            ++i;
        } else if (sjis::isHalfKana(c)) {
            i += 1 + writeHalfKana(out, c, s + i + 1, i + 1 < n);
        } else if (sjis::isLeadByte(c) && i + 1 < n && sjis::isTrailByte(s[i + 1])) {
            out.kanji(detail::sjisPairToJis(c, s[i + 1]));
            i += 2;
        } else {
            out.raw(c);
            ++i;
        }
    }
    return out.finish();
}

std::string euc2jis83(std::string_view text) {
    const unsigned char* s = bytes(text);
    const std::size_t n = text.size();
    JisWriter out(n);
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.ascii(c);
            ++i;
        } else if (c == 0x8E && i + 1 < n && sjis::isHalfKana(s[i + 1])) {
            // The voicing mark is the next pair 0x8E 0xDE or 0x8E 0xDF.
            const bool haveMark = i + 3 < n && s[i + 2] == 0x8E;
            i += 2 + 2 * writeHalfKana(out, s[i + 1], s + i + 3, haveMark);
        } else if (c == 0x8F && i + 2 < n && detail::isEucByte(s[i + 1]) &&
                   detail::isEucByte(s[i + 2])) {
            out.kanji(kGetaRow, kGetaCell);
            i += 3;
        } else if (detail::isEucByte(c) && i + 1 < n && detail::isEucByte(s[i + 1])) {
            out.kanji(c & 0x7F, s[i + 1] & 0x7F);
            i += 2;
        } else {
            out.raw(c);
            ++i;
        }
    }
    return out.finish();
}

std::string euc2sjis(std::string_view text) {
    const unsigned char* s = bytes(text);
    const std::size_t n = text.size();
    ByteWriter out(n);  // never longer than the input
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.put(c);
            ++i;
        } else if (c == 0x8E && i + 1 < n && sjis::isHalfKana(s[i + 1])) {
            out.put(s[i + 1]);
            i += 2;
        } else if (c == 0x8F && i + 2 < n && detail::isEucByte(s[i + 1]) &&
                   detail::isEucByte(s[i + 2])) {
            const unsigned geta = detail::jisPairToSjis(kGetaRow, kGetaCell);
            out.put2(static_cast<unsigned char>(geta >> 8), geta & 0xFF);
            i += 3;
        } else if (detail::isEucByte(c) && i + 1 < n && detail::isEucByte(s[i + 1])) {
            const unsigned sjis = detail::jisPairToSjis(c & 0x7F, s[i + 1] & 0x7F);
            out.put2(static_cast<unsigned char>(sjis >> 8), sjis & 0xFF);
            i += 2;
        } else {
            out.put(c);
            ++i;
        }
    }
    return out.finish();
}

std::string sjis2euc(std::string_view text) {
    const unsigned char* s = bytes(text);
    const std::size_t n = text.size();
    ByteWriter out(2 * n);  // at most two bytes for each input byte
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.put(c);
            ++i;
        } else if (sjis::isLeadByte(c) && i + 1 < n && sjis::isTrailByte(s[i + 1])) {
            const unsigned jis = detail::sjisPairToJis(c, s[i + 1]) | 0x8080u;
            out.put2(static_cast<unsigned char>(jis >> 8), jis & 0xFF);
            i += 2;
        } else if (sjis::isHalfKana(c)) {
            out.put2(0x8E, c);
            ++i;
        } else {
            out.put(c);
            ++i;
        }
    }
    return out.finish();
}

std::string StrictConvertJCode(std::string_view text, int source, int target) {
    const bool fromJis = source == kCodeJisB || source == kCodeJisAt;
    switch (target) {
    case kCodeJisB:
        if (source == kCodeEuc) return euc2jis83(text);
        if (source == kCodeSjis) return sjis2jis83(text);
        break;
    case kCodeEuc:
        if (fromJis) return jis2euc(text);
        if (source == kCodeSjis) return sjis2euc(text);
        break;
    case kCodeSjis:
        if (fromJis) return jis2sjis(text);
        if (source == kCodeEuc) return euc2sjis(text);
        break;
    default:
        break;
    }
    return std::string(text);
}

std::string ConvertJCode(std::string_view text, int target) {
    return StrictConvertJCode(text, InCodeCheck(text), target);
}

}  // namespace tabulo::kanji
