// Measuring a Shift-JIS line and cutting it into pieces that fit a text
// column. Tabs advance to the next stop (every eight average character
// widths from the start of the piece). A double-byte character is never
// split; a piece that does not end in white space ends after the last
// white-space byte (32 or below) inside it, when there is one; a column
// narrower than one character still takes one character per piece.
#pragma once

#include "print/engine/text_metrics.h"

#include <string_view>
#include <vector>

namespace tabulo::print {

class LineCutter {
public:
    explicit LineCutter(const TextMetrics& metrics);

    // The advance of `text` drawn from a tab stop, in
    // 1/kAdvanceUnitsPerDot dots.
    long long textAdvance(std::string_view text) const;
    // The same in whole dots, to the nearest.
    int textWidth(std::string_view text) const;
    // Where text after a tab at `advance` goes on (both in 1/64 dots).
    long long nextTabStop(long long advance) const;
    // The pieces of `line` for a column `columnWidth` dots wide; views into
    // `line`. An empty line is one empty piece.
    std::vector<std::string_view> cut(std::string_view line, int columnWidth) const;

private:
    long long advance(long long x, std::string_view text, std::size_t pos) const;
    std::size_t pieceLength(std::string_view rest, std::size_t guess, long long columnAdvance) const;

    const TextMetrics& m_metrics;
    long long m_tabStop;  // in 1/64 dots
};

}  // namespace tabulo::print
