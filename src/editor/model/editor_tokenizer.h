// The editor's highlighting tokenizer: cuts a logical line of Shift-JIS text
// into coloured tokens (words, numbers, double-byte runs, strings, comments,
// bracket regions, links, mail addresses) and marks tokens that are reserved
// words. A bracket region left open at a line's end carries into the next
// line; everything else starts afresh with each line. Rows of a soft-wrapped
// line are coloured from the tokens of the whole line, so a token cut by the
// wrap keeps its class on the next row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/model/editor_view_settings.h"

namespace tabulo::editor {

enum class TokenKind : std::uint8_t { None, Ank, Comment, DBCS, Int, Mail, Str, Symbol, Url, Bracket };

struct Token {
    std::size_t begin = 0;  // byte range of the line
    std::size_t end = 0;
    TokenKind kind = TokenKind::None;
    bool reserved = false;  // drawn in the Reserve colour
    int bracket = -1;       // bracket item of a Bracket token
    bool operator==(const Token&) const = default;
};

struct TEditorBracketItem {
    std::string LeftBracket;
    std::string RightBracket;
    TEditorColor ItemColor;
};

// At most 14 bracket regions.
class TEditorBracketCollection {
public:
    static constexpr int kMaxItems = 14;
    // Throws std::length_error when the collection is full.
    void Add(TEditorBracketItem item);
    void Clear() { m_items.clear(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    const TEditorBracketItem& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    bool empty() const { return m_items.empty(); }

private:
    std::vector<TEditorBracketItem> m_items;
};

// A sorted list of words without duplicates, matched ignoring letter case.
class ReserveWordList {
public:
    void Assign(const std::vector<std::string>& words);
    void Add(const std::string& word);
    bool Contains(std::string_view word) const;
    int Count() const { return static_cast<int>(m_words.size()); }

private:
    std::vector<std::string> m_words;  // lower-cased, sorted
};

struct TokenizerContext {
    const TEditorViewInfo& view;
    const TEditorBracketCollection& brackets;
    const ReserveWordList& reserved;
};

// Tokens of one logical line. `openBracket` is the bracket region open at
// the line's start (-1: none); returns the one open at its end.
int tokenizeLine(std::string_view line, int openBracket, const TokenizerContext& context,
                 std::vector<Token>& tokens);

// True for the characters a link token runs over.
bool isLinkChar(unsigned char b);

// The word a double-click selects: the byte range of the run of word
// characters holding the character at `byte`, cut where the script changes
// (ASCII letters, digits and "_"; full-width digits; full-width letters;
// hiragana; katakana, each of the kana with "ー" and "－"; kanji; half-width
// katakana). Any other character is a word of its own. Empty at or past the
// line's end.
std::pair<std::size_t, std::size_t> wordRangeAt(std::string_view line, std::size_t byte);

}  // namespace tabulo::editor
