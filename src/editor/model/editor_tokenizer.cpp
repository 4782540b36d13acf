#include "editor/model/editor_tokenizer.h"

#include <algorithm>
#include <cctype>

#include "sjis/ascii_case.h"
#include "sjis/sjis_char.h"

namespace tabulo::editor {

using sjis::isLeadByte;
using sjis::charLengthAt;

namespace {

bool startsWith(std::string_view s, std::size_t pos, std::string_view prefix) {
    return !prefix.empty() && s.substr(pos, prefix.size()) == prefix;
}

bool isDigit(unsigned char b) {
    return b >= '0' && b <= '9';
}

bool isHexDigit(unsigned char b) {
    return std::isxdigit(b) != 0;
}

bool isWordChar(unsigned char b) {
    return std::isalnum(b) != 0 || b == '_';
}

bool isMailChar(unsigned char b) {
    return std::isalnum(b) != 0 || std::string_view("!$%&*,-./;=?@^_~").find(static_cast<char>(b)) != std::string_view::npos;
}

unsigned char at(std::string_view s, std::size_t i) {
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

// Position after the first `close` at or after `from`, stepping over
// double-byte characters whole; npos when the line ends first.
std::size_t findClose(std::string_view line, std::size_t from, std::string_view close) {
    for (std::size_t pos = from; pos < line.size(); pos += charLengthAt(line, pos)) {
        if (startsWith(line, pos, close)) return pos + close.size();
    }
    return std::string_view::npos;
}

// The class of a double-byte character for runs: 1 full-width digit,
// 2 full-width letter, 3 hiragana, 4 katakana, 5 kanji, 0 other.
int dbcsRunClass(unsigned char lead, unsigned char trail) {
    if (lead == 0x82) {
        if (trail >= 0x4F && trail <= 0x58) return 1;
        if ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A)) return 2;
        if (trail >= 0x9F && trail <= 0xF1) return 3;
    }
    if (lead == 0x83 && trail >= 0x40 && trail <= 0x96) return 4;
    if ((lead >= 0x88 && lead <= 0x9F) || lead >= 0xE0) return 5;
    return 0;
}

// Whether a character may continue a run of the class (besides its own).
bool continuesRun(int cls, unsigned char lead, unsigned char trail) {
    if (dbcsRunClass(lead, trail) == cls) return true;
    if (lead != 0x81) return false;
    if (cls == 1) return trail == 0x43 || trail == 0x44;  // ， ．
    if (cls == 3 || cls == 4) return trail == 0x5B || trail == 0x7C;  // ー －
    return false;
}

std::size_t numberEnd(std::string_view line, std::size_t pos) {
    while (isDigit(at(line, pos))) ++pos;
    auto exponent = [&](std::size_t p) -> std::size_t {
        const unsigned char e = at(line, p);
        if (e != 'E' && e != 'e') return p;
        std::size_t q = p + 1;
        if (at(line, q) == '+' || at(line, q) == '-') ++q;
        if (!isDigit(at(line, q))) return p;
        while (isDigit(at(line, q))) ++q;
        return q;
    };
    if (at(line, pos) == '.' && isDigit(at(line, pos + 1))) {
        pos += 1;
        while (isDigit(at(line, pos))) ++pos;
    }
    return exponent(pos);
}

}  // namespace

void TEditorBracketCollection::Add(TEditorBracketItem item) {
    if (Count() >= kMaxItems) {
        throw std::length_error("TEditorBracketCollection\r\nYou can not add item over " + std::to_string(kMaxItems));
    }
    m_items.push_back(std::move(item));
}

void ReserveWordList::Assign(const std::vector<std::string>& words) {
    m_words.clear();
    for (const auto& w : words) Add(w);
}

void ReserveWordList::Add(const std::string& word) {
    std::string key = sjis::lowerAsciiLetters(word);
    const auto it = std::lower_bound(m_words.begin(), m_words.end(), key);
    if (it != m_words.end() && *it == key) return;
    m_words.insert(it, std::move(key));
}

bool ReserveWordList::Contains(std::string_view word) const {
    return !m_words.empty() && std::binary_search(m_words.begin(), m_words.end(), sjis::lowerAsciiLetters(word));
}

bool isLinkChar(unsigned char b) {
    return std::isalnum(b) != 0 || std::string_view("#%&+-./:=?_~").find(static_cast<char>(b)) != std::string_view::npos;
}

int tokenizeLine(std::string_view line, int openBracket, const TokenizerContext& ctx, std::vector<Token>& tokens) {
    const TEditorViewInfo& view = ctx.view;
    std::size_t pos = 0;
    auto push = [&](std::size_t end, TokenKind kind, int bracket = -1) {
        Token t{pos, end, kind, false, bracket};
        if (kind != TokenKind::Bracket && kind != TokenKind::Comment) {
            t.reserved = ctx.reserved.Contains(line.substr(pos, end - pos));
        }
        tokens.push_back(t);
        pos = end;
    };
    if (openBracket >= 0 && openBracket < ctx.brackets.Count()) {
        const std::size_t close = findClose(line, 0, ctx.brackets[openBracket].RightBracket);
        if (close == std::string_view::npos) {
            if (!line.empty()) push(line.size(), TokenKind::Bracket, openBracket);
            return openBracket;
        }
        push(close, TokenKind::Bracket, openBracket);
    }
    while (pos < line.size()) {
        const unsigned char b = at(line, pos);
        if (b >= 0x01 && b <= 0x20 && b != '\t') {
            ++pos;
            continue;
        }
        bool made = false;
        for (int i = 0; i < ctx.brackets.Count() && !made; ++i) {
            const TEditorBracketItem& item = ctx.brackets[i];
            if (!startsWith(line, pos, item.LeftBracket)) continue;
            const std::size_t close = findClose(line, pos + item.LeftBracket.size(), item.RightBracket);
            if (close == std::string_view::npos) {
                push(line.size(), TokenKind::Bracket, i);
                return i;
            }
            push(close, TokenKind::Bracket, i);
            made = true;
        }
        if (made) continue;
        if (view.Mail && b != '@' && isMailChar(b)) {
            std::size_t end = pos;
            while (end < line.size() && isMailChar(at(line, end))) ++end;
            const std::string_view run = line.substr(pos, end - pos);
            const std::size_t atSign = run.find('@');
            if (atSign != std::string_view::npos && run.find('.', atSign) != std::string_view::npos) {
                push(end, TokenKind::Mail);
                continue;
            }
        }
        if (view.Url) {
            for (std::string_view prefix : {"ftp:", "http:", "https:", "www."}) {
                if (!startsWith(line, pos, prefix)) continue;
                std::size_t end = pos + prefix.size();
                while (end < line.size() && isLinkChar(at(line, end))) ++end;
                push(end, TokenKind::Url);
                made = true;
                break;
            }
            if (made) continue;
        }
        if (startsWith(line, pos, view.Commenter)) {
            push(line.size(), TokenKind::Comment);
            continue;
        }
        if (!view.Quotation.empty() && static_cast<char>(b) == view.Quotation[0]) {
            const char q = view.Quotation[0];
            std::size_t end = pos + 1;
            while (end < line.size()) {
                if (line[end] == q) {
                    if (end + 1 < line.size() && line[end + 1] == q) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                end += charLengthAt(line, end);
            }
            push(std::min(end, line.size()), TokenKind::Str);
            continue;
        }
        if (view.ControlCode && b == '#') {
            std::size_t end = pos + 1;
            if (at(line, end) == '$' && isHexDigit(at(line, end + 1))) {
                end += 1;
                while (isHexDigit(at(line, end))) ++end;
                push(end, TokenKind::Str);
                continue;
            }
            if (isDigit(at(line, end))) {
                while (isDigit(at(line, end))) ++end;
                push(end, TokenKind::Str);
                continue;
            }
        }
        if (!view.HexPrefix.empty() &&
            sjis::lowerAsciiLetters(line.substr(pos, view.HexPrefix.size())) ==
                sjis::lowerAsciiLetters(view.HexPrefix) &&
            isHexDigit(at(line, pos + view.HexPrefix.size()))) {
            std::size_t end = pos + view.HexPrefix.size();
            while (isHexDigit(at(line, end))) ++end;
            push(end, TokenKind::Int);
            continue;
        }
        if (b == '\t') {
            push(pos + 1, TokenKind::None);
        } else if (isDigit(b)) {
            push(numberEnd(line, pos), TokenKind::Int);
        } else if (std::isalpha(b) != 0 || b == '_') {
            std::size_t end = pos + 1;
            while (isWordChar(at(line, end))) ++end;
            push(end, TokenKind::Ank);
        } else if (charLengthAt(line, pos) == 2) {
            const int cls = dbcsRunClass(b, at(line, pos + 1));
            std::size_t end = pos + 2;
            if (cls != 0) {
                while (end + 1 < line.size() && isLeadByte(at(line, end)) && continuesRun(cls, at(line, end), at(line, end + 1))) {
                    end += 2;
                }
            }
            push(end, TokenKind::DBCS);
        } else if (b >= 0xA1 && b <= 0xA5) {
            push(pos + 1, TokenKind::DBCS);
        } else if (b >= 0xA6 && b <= 0xDF) {
            std::size_t end = pos + 1;
            while (at(line, end) >= 0xA6 && at(line, end) <= 0xDF) ++end;
            push(end, TokenKind::DBCS);
        } else {
            push(pos + 1, TokenKind::Symbol);
        }
    }
    return -1;
}

namespace {

// Word classes of whole characters: 0 is no word character; a double-byte
// class is kDbcsBase plus its run class (dbcsRunClass).
enum WordClass { kNoWord = 0, kAnk = 1, kHalfKana = 2, kDbcsBase = 10, kHiragana = 13, kKatakana = 14 };

bool isKanaMark(std::string_view line, std::size_t pos) {
    return at(line, pos) == 0x81 && (at(line, pos + 1) == 0x5B || at(line, pos + 1) == 0x7C);
}

int wordClassAt(std::string_view line, std::size_t pos) {
    const unsigned char b = at(line, pos);
    if (charLengthAt(line, pos) == 2) {
        const int cls = dbcsRunClass(b, at(line, pos + 1));
        return cls == 0 ? kNoWord : kDbcsBase + cls;
    }
    if (isWordChar(b)) return kAnk;
    if (b >= 0xA6 && b <= 0xDF) return kHalfKana;
    return kNoWord;
}

bool continuesWord(int cls, std::string_view line, std::size_t pos) {
    if (cls == kNoWord) return false;
    if (cls >= kDbcsBase) {
        return charLengthAt(line, pos) == 2 && continuesRun(cls - kDbcsBase, at(line, pos), at(line, pos + 1));
    }
    return wordClassAt(line, pos) == cls;
}

}  // namespace

std::pair<std::size_t, std::size_t> wordRangeAt(std::string_view line, std::size_t byte) {
    if (byte >= line.size()) return {line.size(), line.size()};
    // Character starts up to the clicked one; Shift-JIS cannot be read backwards.
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    while (pos + charLengthAt(line, pos) <= byte) {
        starts.push_back(pos);
        pos += charLengthAt(line, pos);
    }
    starts.push_back(pos);  // the clicked character
    std::size_t index = starts.size() - 1;
    int cls = wordClassAt(line, pos);
    // A long-vowel mark belongs to the kana before it.
    if (cls == kNoWord && isKanaMark(line, pos)) {
        std::size_t k = index;
        while (k > 0 && isKanaMark(line, starts[k])) --k;
        const int before = wordClassAt(line, starts[k]);
        if (before == kHiragana || before == kKatakana) cls = before;
    }
    if (cls == kNoWord) return {pos, pos + charLengthAt(line, pos)};
    while (index > 0 && continuesWord(cls, line, starts[index - 1])) --index;
    std::size_t end = pos + charLengthAt(line, pos);
    while (end < line.size() && continuesWord(cls, line, end)) end += charLengthAt(line, end);
    return {starts[index], end};
}

}  // namespace tabulo::editor
