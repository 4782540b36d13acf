#include "print/engine/line_cutter.h"

#include "sjis/sjis_char.h"

#include <algorithm>
#include <string_view>

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

std::optional<std::size_t> LineCutter::nextPiece(std::string_view rest, int columnWidth, bool first,
                                                 bool lineEnds) const {
    const long long column = static_cast<long long>(columnWidth) * kAdvanceUnitsPerDot;
    // Walks the characters, keeping the width of the start up to pos and
    // the first boundary where that width reaches the column.
    long long x = 0;
    std::size_t pos = 0;
    std::size_t reached = std::string_view::npos;
    bool tooWide = false;
    for (;;) {
        if (x >= column && reached == std::string_view::npos) {
            reached = pos;
            // Only a line that is one piece may still go on without growing wider.
            if (!first)
                break;
        }
        if (pos == rest.size()) {
            if (!lineEnds)
                return std::nullopt;
            break;
        }
        if (pos >= kMaxPieceBytes) {
            tooWide = true;
            break;
        }
        if (pos + 1 == rest.size() && !lineEnds && sjis::isLeadByte(static_cast<unsigned char>(rest[pos])))
            return std::nullopt;  // its trail byte is still to come
        const long long next = advance(x, rest, pos);
        if (next > column) {
            tooWide = true;
            break;
        }
        x = next;
        pos += sjis::charLengthAt(rest, pos);
    }
    if (first && !tooWide)
        return rest.size();  // the whole line fits
    std::size_t length = reached != std::string_view::npos ? reached : pos;
    if (length == 0)
        length = sjis::charLengthAt(rest, 0);
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
    std::vector<std::string_view> result;
    std::string_view rest = line;
    do {
        const std::size_t length = *nextPiece(rest, columnWidth, result.empty(), true);
        result.push_back(rest.substr(0, length));
        rest.remove_prefix(length);
    } while (!rest.empty());
    return result;
}

}  // namespace tabulo::print
