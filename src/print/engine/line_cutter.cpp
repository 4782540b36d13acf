#include "print/engine/line_cutter.h"

#include "sjis/sjis_char.h"

#include <algorithm>

namespace tabulo::print {
namespace {

unsigned charCode(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (sjis::charLengthAt(text, pos) == 2)
        return lead * 256u + static_cast<unsigned char>(text[pos + 1]);
    return lead;
}

bool isWhiteSpace(char byte) {
    return static_cast<unsigned char>(byte) <= 32;
}

}  // namespace

LineCutter::LineCutter(const TextMetrics& metrics)
    : m_metrics(metrics),
      m_tabStop(static_cast<long long>(std::max(1, 8 * metrics.averageCharWidth())) * kAdvanceUnitsPerDot) {}

long long LineCutter::nextTabStop(long long advance) const {
    return (advance / m_tabStop + 1) * m_tabStop;
}

long long LineCutter::advance(long long x, std::string_view text, std::size_t pos) const {
    if (text[pos] == '\t')
        return nextTabStop(x);
    return x + m_metrics.charAdvance(charCode(text, pos));
}

long long LineCutter::textAdvance(std::string_view text) const {
    long long x = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += sjis::charLengthAt(text, pos))
        x = advance(x, text, pos);
    return x;
}

int LineCutter::textWidth(std::string_view text) const {
    return static_cast<int>((textAdvance(text) + kAdvanceUnitsPerDot / 2) / kAdvanceUnitsPerDot);
}

// Starts from the guess (moved back to a character boundary), grows while
// the piece is narrower than the column, then shrinks while it is wider,
// never below one character.
std::size_t LineCutter::pieceLength(std::string_view rest, std::size_t guess, long long columnAdvance) const {
    // Character boundaries of `rest` and the widths of the prefixes ending
    // there, built as far as the search needs them.
    std::vector<std::size_t> bounds{0};
    std::vector<long long> widths{0};
    const auto extend = [&] {
        const std::size_t pos = bounds.back();
        widths.push_back(advance(widths.back(), rest, pos));
        bounds.push_back(pos + sjis::charLengthAt(rest, pos));
    };
    const std::size_t start = std::min(guess, rest.size());
    while (bounds.back() < rest.size() && bounds.back() + sjis::charLengthAt(rest, bounds.back()) <= start)
        extend();
    std::size_t k = bounds.size() - 1;
    while (widths[k] < columnAdvance && bounds[k] < rest.size()) {
        if (k + 1 == bounds.size())
            extend();
        ++k;
    }
    while (widths[k] > columnAdvance && k > 1)
        --k;
    if (k == 0) {
        if (bounds.size() == 1)
            extend();
        k = 1;
    }
    std::size_t length = bounds[k];
    if (!isWhiteSpace(rest[length - 1])) {
        for (std::size_t p = length - 1; p-- > 0;) {
            if (isWhiteSpace(rest[p])) {
                length = p + 1;
                break;
            }
        }
    }
    return length;
}

std::vector<std::string_view> LineCutter::cut(std::string_view line, int columnWidth) const {
    const long long width = textAdvance(line);
    const long long column = static_cast<long long>(columnWidth) * kAdvanceUnitsPerDot;
    if (width <= column)
        return {line};
    const long long pieces = column > 0 ? (width + column - 1) / column : static_cast<long long>(line.size());
    const std::size_t guess = line.size() / static_cast<std::size_t>(std::max(1LL, pieces));
    std::vector<std::string_view> result;
    std::string_view rest = line;
    while (!rest.empty()) {
        const std::size_t length = pieceLength(rest, guess, column);
        result.push_back(rest.substr(0, length));
        rest.remove_prefix(length);
    }
    return result;
}

}  // namespace tabulo::print
