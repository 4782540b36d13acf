// Measuring a Shift-JIS line and cutting it into pieces that fit a text
// column. Tabs advance to the next stop (every eight average character
// widths from the start of the piece). A line that fits is one piece;
// otherwise each piece is the longest start of the rest that is not wider
// than the column (at least one character), and a piece that does not end
// in white space ends after the last white-space byte (32 or below) inside
// it, when there is one. A double-byte character is never split. A piece
// holds at most kMaxPieceBytes bytes, so that characters without width
// cannot make one piece of a whole endless line.
//
// Each piece depends only on the bytes up to its end and the character
// after it, so a line can be cut as it is read, a part at a time.
#pragma once

#include "print/engine/text_metrics.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tabulo::print {

class LineCutter {
public:
    static constexpr std::size_t kMaxPieceBytes = std::size_t{1} << 16;

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
    // The length of the next piece of a line being cut: `rest` is what is
    // left of the line (all of it when `lineEnds`, else the part read so
    // far), `first` says that no piece has been taken from it yet. Nothing
    // when the piece may reach past `rest`.
    std::optional<std::size_t> nextPiece(std::string_view rest, int columnWidth, bool first, bool lineEnds) const;

private:
    long long advance(long long x, std::string_view text, std::size_t pos) const;

    const TextMetrics& m_metrics;
    long long m_tabStop;  // in 1/64 dots
};

}  // namespace tabulo::print
