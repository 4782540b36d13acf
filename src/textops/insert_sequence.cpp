// The fixed sequences are stored as the Shift-JIS bytes the document gets.
// The circled and capital Roman numerals are the NEC row-13 characters; the
// small Roman numerals are the IBM extension codes 0xFA40.., which is where
// converters put them when text is saved as Shift-JIS.
#include "textops/insert_sequence.h"

#include <stdexcept>

#include "sjis/sjis_char.h"

namespace tabulo::textops {

using sjis::charLengthAt;

namespace {

// ①..⑳
constexpr std::string_view kCircledNumbers =
    "\x87\x40\x87\x41\x87\x42\x87\x43\x87\x44\x87\x45\x87\x46\x87\x47\x87\x48\x87\x49"
    "\x87\x4a\x87\x4b\x87\x4c\x87\x4d\x87\x4e\x87\x4f\x87\x50\x87\x51\x87\x52\x87\x53";
// ⅰ..ⅹ
constexpr std::string_view kSmallRoman =
    "\xfa\x40\xfa\x41\xfa\x42\xfa\x43\xfa\x44\xfa\x45\xfa\x46\xfa\x47\xfa\x48\xfa\x49";
// Ⅰ..Ⅹ
constexpr std::string_view kCapitalRoman =
    "\x87\x54\x87\x55\x87\x56\x87\x57\x87\x58\x87\x59\x87\x5a\x87\x5b\x87\x5c\x87\x5d";
constexpr std::string_view kSmallLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kCapitalLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// α..ω
constexpr std::string_view kGreekLetters =
    "\x83\xbf\x83\xc0\x83\xc1\x83\xc2\x83\xc3\x83\xc4\x83\xc5\x83\xc6\x83\xc7\x83\xc8\x83\xc9\x83\xca"
    "\x83\xcb\x83\xcc\x83\xcd\x83\xce\x83\xcf\x83\xd0\x83\xd1\x83\xd2\x83\xd3\x83\xd4\x83\xd5\x83\xd6";
// ア..ン (no small kana, no ヰ ヱ ヲ)
constexpr std::string_view kKatakana =
    "\x83\x41\x83\x43\x83\x45\x83\x47\x83\x49\x83\x4a\x83\x4c\x83\x4e\x83\x50\x83\x52"
    "\x83\x54\x83\x56\x83\x58\x83\x5a\x83\x5c\x83\x5e\x83\x60\x83\x63\x83\x65\x83\x67"
    "\x83\x69\x83\x6a\x83\x6b\x83\x6c\x83\x6d\x83\x6e\x83\x71\x83\x74\x83\x77\x83\x7a"
    "\x83\x7d\x83\x7e\x83\x80\x83\x81\x83\x82\x83\x84\x83\x86\x83\x88\x83\x89\x83\x8a"
    "\x83\x8b\x83\x8c\x83\x8d\x83\x8f\x83\x93";
// あ..ん
constexpr std::string_view kHiragana =
    "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad\x82\xaf\x82\xb1"
    "\x82\xb3\x82\xb5\x82\xb7\x82\xb9\x82\xbb\x82\xbd\x82\xbf\x82\xc2\x82\xc4\x82\xc6"
    "\x82\xc8\x82\xc9\x82\xca\x82\xcb\x82\xcc\x82\xcd\x82\xd0\x82\xd3\x82\xd6\x82\xd9"
    "\x82\xdc\x82\xdd\x82\xde\x82\xdf\x82\xe0\x82\xe2\x82\xe4\x82\xe6\x82\xe7\x82\xe8"
    "\x82\xe9\x82\xea\x82\xeb\x82\xed\x82\xf1";

std::vector<std::string_view> splitCharacters(std::string_view text) {
    std::vector<std::string_view> members;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = charLengthAt(text, pos);
        members.push_back(text.substr(pos, length));
        pos += length;
    }
    return members;
}

}  // namespace

std::optional<NumberTemplate> parseNumberTemplate(std::string_view text) {
    // '*' is below 0x40 and so never a trail byte: a byte search is exact.
    const std::size_t first = text.find('*');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t runEnd = text.find_first_not_of('*', first);
    const std::size_t last = text.rfind('*');
    NumberTemplate result;
    result.prefix = std::string(text.substr(0, first));
    result.digits = (runEnd == std::string_view::npos ? text.size() : runEnd) - first;
    result.suffix = std::string(text.substr(last + 1));
    return result;
}

std::string formatNumber(const NumberTemplate& numberTemplate, std::size_t k) {
    const std::string number = std::to_string(k);
    std::string result = numberTemplate.prefix;
    if (number.size() < numberTemplate.digits) result.append(numberTemplate.digits - number.size(), '0');
    result += number;
    result += numberTemplate.suffix;
    return result;
}

std::string_view sequenceText(InsertKind kind) {
    switch (kind) {
        case InsertKind::FixedString:
        case InsertKind::Numbers: return {};
        case InsertKind::CircledNumbers: return kCircledNumbers;
        case InsertKind::SmallRoman: return kSmallRoman;
        case InsertKind::CapitalRoman: return kCapitalRoman;
        case InsertKind::SmallLetters: return kSmallLetters;
        case InsertKind::CapitalLetters: return kCapitalLetters;
        case InsertKind::GreekLetters: return kGreekLetters;
        case InsertKind::Katakana: return kKatakana;
        case InsertKind::Hiragana: return kHiragana;
    }
    throw std::invalid_argument("unknown insert kind");
}

std::optional<InsertSequence> InsertSequence::make(InsertKind kind, std::string_view text) {
    InsertSequence sequence;
    sequence.m_kind = kind;
    if (kind == InsertKind::FixedString) {
        sequence.m_text = std::string(text);
    } else if (kind == InsertKind::Numbers) {
        std::optional<NumberTemplate> parsed = parseNumberTemplate(text);
        if (!parsed) return std::nullopt;
        sequence.m_template = std::move(*parsed);
    } else {
        sequence.m_members = splitCharacters(sequenceText(kind));
    }
    return sequence;
}

std::optional<std::size_t> InsertSequence::length() const {
    if (m_kind == InsertKind::FixedString || m_kind == InsertKind::Numbers) return std::nullopt;
    return m_members.size();
}

std::string InsertSequence::at(std::size_t k) const {
    switch (m_kind) {
        case InsertKind::FixedString: return m_text;
        case InsertKind::Numbers: return formatNumber(m_template, k);
        default:
            if (k < 1 || k > m_members.size()) throw std::out_of_range("sequence member " + std::to_string(k));
            return std::string(m_members[k - 1]);
    }
}

std::string InsertSequence::label() const {
    switch (m_kind) {
        case InsertKind::FixedString: return m_text;
        case InsertKind::Numbers: return std::string(m_template.digits, '*');
        default: return std::string(sequenceText(m_kind));
    }
}

}  // namespace tabulo::textops
