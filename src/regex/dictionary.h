// Dictionaries of interchangeable spellings used by the pattern rewrite:
// ordered rows of ordered entries. Rows are written as comma texts.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulo::regex {

// Splits one comma text: entries separated by commas; a quoted entry runs to
// its closing quote with "" standing for one quote; an unquoted entry ends at
// a comma or at any byte of value 32 or below; blanks around separators are
// skipped and a comma at the very end adds no entry.
std::vector<std::string> splitCommaText(std::string_view text);

class Dictionary {
public:
    using Row = std::vector<std::string>;

    Dictionary() = default;
    explicit Dictionary(std::vector<Row> rows) : m_rows(std::move(rows)) {}
    static Dictionary fromCommaTexts(const std::vector<std::string_view>& rows);

    const std::vector<Row>& rows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};

// The built-in dictionary of interchangeable characters (full and half width,
// kana forms, voiced marks, digits and numerals), 145 rows, created once and
// never modified.
const Dictionary& fuzzyCharDictionary();

}  // namespace tabulo::regex
