// MIME encoded words of ISO-2022-JP header text.
#include "kanji/header_string.h"

#include <algorithm>

#include "kanji/byte_classes.h"
#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"

namespace tabulo::kanji {
namespace {

constexpr std::string_view kWordOpen = "=?ISO-2022-JP?B?";
constexpr std::string_view kWordClose = "?=";
constexpr std::string_view kKanjiOut = "\x1B(J";

bool isTwoByteAt(std::string_view text, std::size_t i) {
    return i + 1 < text.size() && sjis::isLeadByte(static_cast<unsigned char>(text[i])) &&
           sjis::isTrailByte(static_cast<unsigned char>(text[i + 1]));
}

std::size_t findIgnoringCase(std::string_view text, std::string_view word, std::size_t from) {
    // ASCII case folding only: the marker is ASCII, and Shift-JIS bytes must
    // not match it under any locale.
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const auto sameLetter = [&upper](char a, char b) { return upper(a) == upper(b); };
    if (from > text.size()) return std::string_view::npos;
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                word.begin(), word.end(), sameLetter);
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

}  // namespace

std::string CreateHeaderString(std::string_view sjisText) {
    std::string out;
    std::size_t i = 0;
    while (i < sjisText.size()) {
        if (!isTwoByteAt(sjisText, i)) {
            out.push_back(sjisText[i++]);
            continue;
        }
        const std::size_t start = i;
        while (isTwoByteAt(sjisText, i)) i += 2;
        out.append(kWordOpen);
        out.append(EncodeBase64(sjis2jis83(sjisText.substr(start, i - start))));
        out.append(kWordClose);
    }
    return out;
}

std::string DecodeHeaderString(std::string_view text) {
    std::string out(text);
    std::size_t from = 0;
    for (std::size_t at; (at = findIgnoringCase(out, kWordOpen, from)) != std::string::npos;) {
        out.erase(at, kWordOpen.size());
        const std::size_t close = out.find(kWordClose, at);
        if (close == std::string::npos) break;
        std::string decoded = DecodeBase64(std::string_view(out).substr(at, close - at));
        decoded.append(kKanjiOut);
        out.replace(at, close + kWordClose.size() - at, decoded);
        // Decoded bytes are never searched again, even if they happen to
        // spell a marker.
        from = at + decoded.size();
    }
    return out;
}

}  // namespace tabulo::kanji
