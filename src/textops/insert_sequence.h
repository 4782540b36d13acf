// What the insert-strings command puts into the k-th line it processes: a
// fixed string, a number from a template such as "【***】", or the k-th member
// of a fixed sequence (circled numbers, Roman numerals, letters, Greek
// letters, kana). All texts are Shift-JIS bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::textops {

// The items of the "挿入種類" radio group, in its order.
enum class InsertKind {
    FixedString = 0,
    Numbers = 1,
    CircledNumbers = 2,
    SmallRoman = 3,
    CapitalRoman = 4,
    SmallLetters = 5,
    CapitalLetters = 6,
    GreekLetters = 7,
    Katakana = 8,
    Hiragana = 9,
};

// A number template: prefix, the number zero-padded to at least digits
// digits, suffix. Built from the text before the first '*', the run of '*'
// that starts there, and the text after the last '*'; text between that run
// and the last '*' is dropped. '%' and other bytes are plain text.
struct NumberTemplate {
    std::string prefix;
    std::size_t digits = 0;
    std::string suffix;
};

// nullopt when text has no '*' ("数字桁数の指定 * がありません").
std::optional<NumberTemplate> parseNumberTemplate(std::string_view text);

std::string formatNumber(const NumberTemplate& numberTemplate, std::size_t k);

// The whole fixed sequence of a sequence kind (CircledNumbers to Hiragana) as
// Shift-JIS bytes; empty for FixedString and Numbers.
std::string_view sequenceText(InsertKind kind);

class InsertSequence {
public:
    // nullopt only for Numbers when text holds no '*'. text is ignored by the
    // fixed sequences.
    static std::optional<InsertSequence> make(InsertKind kind, std::string_view text);

    InsertKind kind() const { return m_kind; }

    // How many lines the sequence can fill; nullopt for no limit.
    std::optional<std::size_t> length() const;

    // The text for the k-th processed line, k from 1 (k <= length()).
    std::string at(std::size_t k) const;

    // The kind's text for the status bar after "Add ": the string, the run of
    // '*' of a template, or the whole sequence.
    std::string label() const;

private:
    InsertKind m_kind = InsertKind::FixedString;
    std::string m_text;                       // FixedString
    NumberTemplate m_template;                // Numbers
    std::vector<std::string_view> m_members;  // fixed sequences, views into static text
};

}  // namespace tabulo::textops
