#include "script/engine/script_arguments.h"

#include "platform/codec/sjis_char.h"

namespace tabulo::script {
namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A lead byte before a space or a quote stands alone, so that those keep
// their meaning.
std::size_t charLength(std::string_view text, std::size_t pos) {
    return sjis::charLengthAtCheckingTrail(text, pos);
}

// Where the characters of `text` start, in order.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) starts.push_back(i);
    return starts;
}

std::string_view trimBlanks(std::string_view text) {
    const std::vector<std::size_t> starts = characterStarts(text);
    std::size_t first = 0;
    std::size_t last = starts.size();  // one past the last character kept
    const auto charAt = [&](std::size_t k) {
        const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
        return text.substr(starts[k], end - starts[k]);
    };
    const auto blank = [&](std::size_t k) {
        const std::string_view c = charAt(k);
        return (c.size() == 1 && isBlank(c[0])) || c == kFullWidthSpace;
    };
    while (first < last && blank(first)) ++first;
    while (last > first && blank(last - 1)) --last;
    if (first == last) return {};
    const std::size_t end = last < starts.size() ? starts[last] : text.size();
    return text.substr(starts[first], end - starts[first]);
}

}  // namespace

ScriptArguments splitArguments(std::string_view sjisText) {
    const std::string_view text = trimBlanks(sjisText);
    ScriptArguments result;
    std::string word;
    bool inWord = false;
    bool inQuote = false;
    std::size_t quoteStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (charLength(text, i) == 2) {
            word.append(text.substr(i, 2));
            inWord = true;
            ++i;
        } else if (c == '"') {
            if (inQuote && !result.quotedName) result.quotedName = std::string(text.substr(quoteStart, i - quoteStart));
            if (!inQuote) quoteStart = i + 1;
            inQuote = !inQuote;
            inWord = true;
        } else if (isBlank(c) && !inQuote) {
            if (inWord) result.words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) result.words.push_back(std::move(word));
    if (inQuote) {
        // The text stays as typed: split at blanks, quotes kept.
        ScriptArguments literal;
        literal.missingQuote = true;
        std::string current;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (charLength(text, i) == 2) {
                current.append(text.substr(i++, 2));
            } else if (isBlank(c)) {
                if (!current.empty()) literal.words.push_back(std::move(current));
                current.clear();
            } else {
                current += c;
            }
        }
        if (!current.empty()) literal.words.push_back(std::move(current));
        return literal;
    }
    return result;
}

}  // namespace tabulo::script
