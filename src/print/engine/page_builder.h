// The page builder behind layoutPages and PageStream: places the pieces of
// each line on pages (columns, line numbers, header and footer) and hands
// every finished page over. A line is given whole or a part at a time;
// only the part of a line whose pieces are not yet known is held.
#pragma once

#include "print/engine/line_cutter.h"
#include "print/engine/page_layout.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::print::detail {

class PageBuilder {
public:
    // lineCount sets the width of the number column. Throws EPrintLayout
    // when no line fits on the page.
    PageBuilder(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
                const PageGeometry& geometry, std::size_t lineCount, const LayoutCallbacks& callbacks);

    // Starts the first page.
    void start();
    void addLine(std::string_view line);
    // A line in parts: beginLine, addLinePart for each part, endLine.
    void beginLine();
    void addLinePart(std::string_view part);
    void endLine();
    // Hands the last page over.
    void finish();

private:
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // Places the pieces `rest` is known to hold; returns how many bytes they took.
    std::size_t placePieces(std::string_view rest, bool lineEnds);
    void placePiece(std::string_view piece);
    void addRuns(std::string_view piece, int left, int baseline);
    void drawBand(const std::string& templ, TStringsPrinterHeaderAlign align, int top);
    void startPage();
    void finishPage();

    const TStringsPrinterProperties& m_props;
    const TextMetrics& m_metrics;
    const LayoutCallbacks& m_callbacks;
    LineCutter m_cutter;
    Rect m_body;
    int m_headerTop = 0;
    int m_headerBottom = 0;
    int m_footerTop = 0;
    int m_numberWidth = 0;
    int m_textWidth = 0;
    int m_columnStep = 0;
    int m_pitch = 0;
    int m_lineNumber = 0;
    int m_pageNumber = 0;
    int m_column = 0;
    int m_y = 0;
    PrintPage m_page;
    // The line being laid out: its number text, whether a piece of it has
    // been placed, and the bytes read whose pieces are not yet known.
    std::string m_number;
    bool m_firstPiece = true;
    std::string m_held;
};

}  // namespace tabulo::print::detail
