// Conversions between Shift-JIS, EUC and JIS. Each converter is a step over
// one character (or escape sequence) that the block loop of block_seam.h
// runs, so a whole text and a text in blocks go through the same code. Bytes
// that form no character of the source code (a lead byte without a trail
// byte, an unknown escape, a byte outside the code) are copied as they are
// and never take a neighbouring byte with them, so damaged text loses
// nothing around the damage. A step that needs bytes the block does not hold
// yet returns 0, never when atEnd.
#include <cstddef>

#include "kanji/byte_classes.h"
#include "kanji/byte_writer.h"
#include "kanji/kanji_code.h"
#include "kanji/pair_tables.h"

namespace tabulo::kanji {
namespace {

using detail::ByteWriter;
using detail::kEsc;

// JIS X 0208 has no form for a JIS X 0212 character (EUC 0x8F + two bytes);
// it becomes the geta mark 〓 rather than being split into wrong characters.
constexpr unsigned char kGetaRow = 0x22;
constexpr unsigned char kGetaCell = 0x2E;

enum class JisTarget { Euc, Sjis };

// Reads JIS: ESC $ F enters kanji mode, ESC ( F leaves it (F a final byte
// 0x40 to 0x7E). In kanji mode two bytes 0x21 to 0x7E make a character;
// any other byte is copied, so a line break inside kanji mode survives.
template <JisTarget target>
std::size_t fromJisStep(const unsigned char* s, std::size_t available, bool atEnd, ByteWriter& out,
                        bool& kanji) {
    const unsigned char c = s[0];
    if (c == kEsc) {
        if (available < 3 && !atEnd) return 0;
        if (available < 2) return 1;  // ESC cut off by the end: nothing to show
        const unsigned char d = s[1];
        if (d == '$' || d == '(') {
            if (available < 3) return 2;
            const unsigned char f = s[2];
            if (f >= 0x40 && f <= 0x7E) {
                kanji = d == '$';
                return 3;
            }
        }
        // Not an escape sequence this reader knows: the ESC is a byte like
        // any other and the bytes after it are read normally.
        out.put(c);
        return 1;
    }
    if (kanji && detail::isJisByte(c)) {
        if (available < 2) {
            if (!atEnd) return 0;
        } else if (detail::isJisByte(s[1])) {
            const unsigned char cell = s[1];
            if constexpr (target == JisTarget::Sjis) {
                const unsigned sjis = detail::jisPairToSjis(c, cell);
                out.put2(static_cast<unsigned char>(sjis >> 8), sjis & 0xFF);
            } else {
                out.put2(c | 0x80, cell | 0x80);
            }
            return 2;
        }
    }
    out.put(c);
    return 1;
}

// The output side of the JIS writers: kanji mode is entered with ESC $ B
// before a two-byte character and left with ESC ( J before a 7-bit byte and
// at the end, so every line break stands outside kanji mode. The mode lives
// in the caller, across blocks.
class JisWriter {
public:
    JisWriter(ByteWriter& out, bool& kanji) : m_out(out), m_kanji(kanji) {}

    void ascii(unsigned char c) {
        leaveKanji();
        m_out.put(c);
    }
    void kanji(unsigned char row, unsigned char cell) {
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
        m_out.put(c);
    }
    void end() {
        leaveKanji();
    }

private:
    void leaveKanji() {
        if (m_kanji) {
            m_out.put2(kEsc, '(');
            m_out.put('J');
            m_kanji = false;
        }
    }

    ByteWriter& m_out;
    bool& m_kanji;
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

std::size_t sjisToJisStep(const unsigned char* s, std::size_t available, bool atEnd, JisWriter& out) {
    const unsigned char c = s[0];
    if (c < 0x80) {
        out.ascii(c);
        return 1;
    }
    if (sjis::isHalfKana(c)) {
        if (available < 2 && !atEnd) return 0;
        return 1 + writeHalfKana(out, c, s + 1, available >= 2);
    }
    if (sjis::isLeadByte(c)) {
        if (available < 2) {
            if (!atEnd) return 0;
        } else if (sjis::isTrailByte(s[1])) {
            out.kanji(detail::sjisPairToJis(c, s[1]));
            return 2;
        }
    }
    out.raw(c);
    return 1;
}

std::size_t eucToJisStep(const unsigned char* s, std::size_t available, bool atEnd, JisWriter& out) {
    const unsigned char c = s[0];
    if (c < 0x80) {
        out.ascii(c);
        return 1;
    }
    if (c == 0x8E) {
        // The voicing mark is the next pair 0x8E 0xDE or 0x8E 0xDF.
        if (available < 4 && !atEnd) return 0;
        if (available >= 2 && sjis::isHalfKana(s[1])) {
            const bool haveMark = available >= 4 && s[2] == 0x8E;
            return 2 + 2 * writeHalfKana(out, s[1], s + 3, haveMark);
        }
    } else if (c == 0x8F) {
        if (available < 3 && !atEnd) return 0;
        if (available >= 3 && detail::isEucByte(s[1]) && detail::isEucByte(s[2])) {
            out.kanji(kGetaRow, kGetaCell);
            return 3;
        }
    } else if (detail::isEucByte(c)) {
        if (available < 2) {
            if (!atEnd) return 0;
        } else if (detail::isEucByte(s[1])) {
            out.kanji(c & 0x7F, s[1] & 0x7F);
            return 2;
        }
    }
    out.raw(c);
    return 1;
}

std::size_t eucToSjisStep(const unsigned char* s, std::size_t available, bool atEnd, ByteWriter& out) {
    const unsigned char c = s[0];
    if (c == 0x8E) {
        if (available < 2 && !atEnd) return 0;
        if (available >= 2 && sjis::isHalfKana(s[1])) {
            out.put(s[1]);
            return 2;
        }
    } else if (c == 0x8F) {
        if (available < 3 && !atEnd) return 0;
        if (available >= 3 && detail::isEucByte(s[1]) && detail::isEucByte(s[2])) {
            const unsigned geta = detail::jisPairToSjis(kGetaRow, kGetaCell);
            out.put2(static_cast<unsigned char>(geta >> 8), geta & 0xFF);
            return 3;
        }
    } else if (detail::isEucByte(c)) {
        if (available < 2) {
            if (!atEnd) return 0;
        } else if (detail::isEucByte(s[1])) {
            const unsigned sjis = detail::jisPairToSjis(c & 0x7F, s[1] & 0x7F);
            out.put2(static_cast<unsigned char>(sjis >> 8), sjis & 0xFF);
            return 2;
        }
    }
    out.put(c);
    return 1;
}

std::size_t sjisToEucStep(const unsigned char* s, std::size_t available, bool atEnd, ByteWriter& out) {
    const unsigned char c = s[0];
    if (sjis::isLeadByte(c)) {
        if (available < 2) {
            if (!atEnd) return 0;
        } else if (sjis::isTrailByte(s[1])) {
            const unsigned jis = detail::sjisPairToJis(c, s[1]) | 0x8080u;
            out.put2(static_cast<unsigned char>(jis >> 8), jis & 0xFF);
            return 2;
        }
    } else if (sjis::isHalfKana(c)) {
        out.put2(0x8E, c);
        return 1;
    }
    out.put(c);
    return 1;
}

KanjiCodeStream::Kind kindOf(int source, int target) {
    using Kind = KanjiCodeStream::Kind;
    const bool fromJis = source == kCodeJisB || source == kCodeJisAt;
    switch (target) {
    case kCodeJisB:
        if (source == kCodeEuc) return Kind::EucToJis;
        if (source == kCodeSjis) return Kind::SjisToJis;
        break;
    case kCodeEuc:
        if (fromJis) return Kind::JisToEuc;
        if (source == kCodeSjis) return Kind::SjisToEuc;
        break;
    case kCodeSjis:
        if (fromJis) return Kind::JisToSjis;
        if (source == kCodeEuc) return Kind::EucToSjis;
        break;
    default:
        break;
    }
    return Kind::Copy;
}

std::string convertedBy(std::string_view text, int source, int target) {
    std::string out;
    StrictConvertJCodeTo(text, source, target, out);
    return out;
}

}  // namespace

KanjiCodeStream::KanjiCodeStream(int source, int target) : m_kind(kindOf(source, target)) {}

namespace {

// The most bytes a conversion writes for count input bytes: JIS output may
// put a kanji-in or kanji-out sequence beside every byte (a half-width
// katakana becomes ESC $ B and two bytes), EUC output two bytes for a
// half-width katakana; the others never grow. Slack for the end's ESC ( J.
std::size_t mostOutput(KanjiCodeStream::Kind kind, std::size_t count) {
    using Kind = KanjiCodeStream::Kind;
    switch (kind) {
    case Kind::EucToJis:
    case Kind::SjisToJis: return 5 * count + 8;
    case Kind::SjisToEuc: return 2 * count + 8;
    default: return count + 8;
    }
}

}  // namespace

void KanjiCodeStream::convert(std::string_view block, bool last, std::string& out) {
    if (m_kind == Kind::Copy) {
        out.append(block);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + mostOutput(m_kind, block.size() + m_seam.held()));
    auto* const base = reinterpret_cast<unsigned char*>(out.data()) + start;
    unsigned char* end = base;
    // Each block (and the seam) in one loop, with the output position and
    // the modes in locals.
    const auto run = [&](auto step) {
        m_seam.run(block, last, [&](const unsigned char* s, std::size_t available, bool atEnd, std::size_t) {
            ByteWriter writer(end);
            bool readKanji = m_readKanji;
            bool writeKanji = m_writeKanji;
            JisWriter jis(writer, writeKanji);
            std::size_t i = 0;
            while (i < available) {
                const std::size_t used = step(s + i, available - i, atEnd, writer, jis, readKanji);
                if (used == 0) break;
                i += used;
            }
            m_readKanji = readKanji;
            m_writeKanji = writeKanji;
            end = writer.position();
            return i;
        });
    };
    switch (m_kind) {
    case Kind::JisToEuc:
        run([](auto s, auto a, auto e, ByteWriter& w, JisWriter&, bool& k) { return fromJisStep<JisTarget::Euc>(s, a, e, w, k); });
        break;
    case Kind::JisToSjis:
        run([](auto s, auto a, auto e, ByteWriter& w, JisWriter&, bool& k) { return fromJisStep<JisTarget::Sjis>(s, a, e, w, k); });
        break;
    case Kind::EucToJis:
        run([](auto s, auto a, auto e, ByteWriter&, JisWriter& j, bool&) { return eucToJisStep(s, a, e, j); });
        break;
    case Kind::SjisToJis:
        run([](auto s, auto a, auto e, ByteWriter&, JisWriter& j, bool&) { return sjisToJisStep(s, a, e, j); });
        break;
    case Kind::EucToSjis:
        run([](auto s, auto a, auto e, ByteWriter& w, JisWriter&, bool&) { return eucToSjisStep(s, a, e, w); });
        break;
    case Kind::SjisToEuc:
        run([](auto s, auto a, auto e, ByteWriter& w, JisWriter&, bool&) { return sjisToEucStep(s, a, e, w); });
        break;
    case Kind::Copy: break;
    }
    if (last) {
        ByteWriter writer(end);
        JisWriter(writer, m_writeKanji).end();
        end = writer.position();
        m_readKanji = false;
    }
    out.resize(start + static_cast<std::size_t>(end - base));
}

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

std::string jis2euc(std::string_view text) { return convertedBy(text, kCodeJisB, kCodeEuc); }
std::string jis2sjis(std::string_view text) { return convertedBy(text, kCodeJisB, kCodeSjis); }
std::string sjis2jis83(std::string_view text) { return convertedBy(text, kCodeSjis, kCodeJisB); }
std::string euc2jis83(std::string_view text) { return convertedBy(text, kCodeEuc, kCodeJisB); }
std::string euc2sjis(std::string_view text) { return convertedBy(text, kCodeEuc, kCodeSjis); }
std::string sjis2euc(std::string_view text) { return convertedBy(text, kCodeSjis, kCodeEuc); }

void StrictConvertJCodeTo(std::string_view text, int source, int target, std::string& out) {
    KanjiCodeStream(source, target).convert(text, true, out);
}

std::string StrictConvertJCode(std::string_view text, int source, int target) {
    return convertedBy(text, source, target);
}

void ConvertJCodeTo(std::string_view text, int target, std::string& out) {
    StrictConvertJCodeTo(text, InCodeCheck(text), target, out);
}

std::string ConvertJCode(std::string_view text, int target) {
    return StrictConvertJCode(text, InCodeCheck(text), target);
}

}  // namespace tabulo::kanji
