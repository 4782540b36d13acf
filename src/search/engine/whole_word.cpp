#include "search/engine/whole_word.h"

#include "search/engine/text_chars.h"

namespace tabulo::search {

namespace {

// Runs a character can belong to; two characters join when they share one.
enum RunBits : unsigned {
    kAsciiWord = 1,
    kWideDigit = 2,
    kWideLatin = 4,
    kHiragana = 8,
    kKatakana = 16,
    kKanji = 32,
    kHalfKana = 64,
};

unsigned runsOf(std::string_view text, std::size_t pos) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (charLengthAt(text, pos) == 1) {
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_') return kAsciiWord;
        if (b >= 0xA6 && b <= 0xDF) return kHalfKana;
        return 0;
    }
    const auto t = static_cast<unsigned char>(text[pos + 1]);
    if (b == 0x81 && (t == 0x5B || t == 0x7C)) return kHiragana | kKatakana;  // ー and － join kana runs
    if (b == 0x82 && t >= 0x4F && t <= 0x58) return kWideDigit;
    if (b == 0x82 && ((t >= 0x60 && t <= 0x79) || (t >= 0x81 && t <= 0x9A))) return kWideLatin;
    if (b == 0x82 && t >= 0x9F && t <= 0xF1) return kHiragana;
    if (b == 0x83 && t >= 0x40 && t <= 0x96) return kKatakana;
    if ((b >= 0x88 && b <= 0x9F) || b >= 0xE0) return kKanji;
    return 0;
}

}  // namespace

bool isWholeWord(std::string_view text, std::size_t start, std::size_t end) {
    if (start > 0 && (runsOf(text, previousCharStart(text, start)) & runsOf(text, start)) != 0) return false;
    if (end < text.size() && (runsOf(text, previousCharStart(text, end)) & runsOf(text, end)) != 0) return false;
    return true;
}

}  // namespace tabulo::search
