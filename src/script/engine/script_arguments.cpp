#include "script/engine/script_arguments.h"

#include "platform/codec/sjis_char.h"
#include "textops/trim_blanks.h"

namespace tabulo::script {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A lead byte before a space or a quote stands alone, so that those keep
// their meaning.
std::size_t charLength(std::string_view text, std::size_t pos) {
    return sjis::charLengthAtCheckingTrail(text, pos);
}

}  // namespace

ScriptArguments splitArguments(std::string_view sjisText) {
    const std::string_view text = textops::trimBlanks(sjisText);
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
