#include "print/engine/page_builder.h"

#include "print/engine/print_rounding.h"

#include <algorithm>

namespace tabulo::print::detail {
namespace {

using Align = TStringsPrinterHeaderAlign;

int decimalDigits(std::size_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

bool hasBand(Align align, const std::string& templ) {
    return align != Align::haNone && !templ.empty();
}

}  // namespace

PageBuilder::PageBuilder(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
                         const PageGeometry& geometry, std::size_t lineCount, const LayoutCallbacks& callbacks)
    : m_props(properties), m_metrics(metrics), m_callbacks(callbacks), m_cutter(metrics) {
    const int dpi = geometry.dpi;
    const PaperOffset& o = geometry.offset;
    m_body.left = std::max(0, printerDot(dpi, m_props.MarginLeft()) - o.left);
    m_body.top = std::max(0, printerDot(dpi, m_props.MarginTop()) - o.top);
    m_body.right = std::min(geometry.pageWidth, geometry.pageWidth + o.right - printerDot(dpi, m_props.MarginRight()));
    m_body.bottom =
        std::min(geometry.pageHeight, geometry.pageHeight + o.bottom - printerDot(dpi, m_props.MarginBottom()));

    const int lineHeight = metrics.lineHeight();
    const int bandHeight = 3 * lineHeight / 2;
    m_headerTop = m_body.top;
    m_headerBottom = hasBand(m_props.HeaderAlign, m_props.Header) ? m_body.top + bandHeight : m_body.top;
    m_footerTop = hasBand(m_props.FooterAlign, m_props.Footer) ? m_body.bottom - bandHeight : m_body.bottom;

    m_numberWidth = m_props.LineNumber ? (decimalDigits(lineCount) + 2) * metrics.averageCharWidth() : 0;
    const int gap = printerDot(dpi, m_props.ColumnSpace());
    const int columns = m_props.ColumnCount();
    const int numberRight = m_body.left + m_numberWidth;
    m_textWidth = (m_body.right - numberRight - (gap + m_numberWidth) * (columns - 1)) / columns;
    m_columnStep = gap + m_numberWidth + m_textWidth;
    m_pitch = lineHeight + printerDot(dpi, m_props.MarginLine());

    // Every piece of text must find room on a page, or each one would
    // start a page of its own.
    if (m_textWidth <= 0 || m_footerTop - m_headerBottom < m_pitch || m_body.right <= m_body.left)
        throw EPrintLayout(kMarginsTooLarge);

    m_lineNumber = m_props.FirstLineNumber() - 1;
    m_pageNumber = m_props.RangeOption == TStringsPrinterRangeOption::roLimited
                       ? m_props.FirstPageNumber() - m_props.StartPage() + 1
                       : m_props.FirstPageNumber();
}

void PageBuilder::start() {
    startPage();
}

void PageBuilder::addLine(std::string_view line) {
    beginLine();
    placePieces(line, true);
}

void PageBuilder::beginLine() {
    ++m_lineNumber;
    m_number = std::to_string(m_lineNumber) + ':';
    m_firstPiece = true;
    m_held.clear();
}

void PageBuilder::addLinePart(std::string_view part) {
    if (m_held.empty()) {
        m_held.assign(part.substr(placePieces(part, false)));
        return;
    }
    m_held.append(part);
    m_held.erase(0, placePieces(m_held, false));
}

void PageBuilder::endLine() {
    placePieces(m_held, true);
    m_held.clear();
}

void PageBuilder::finish() {
    finishPage();
}

std::size_t PageBuilder::placePieces(std::string_view rest, bool lineEnds) {
    std::size_t used = 0;
    while (m_firstPiece || used < rest.size()) {
        const std::optional<std::size_t> length =
            m_cutter.nextPiece(rest.substr(used), m_textWidth, m_firstPiece, lineEnds);
        if (!length)
            break;
        placePiece(rest.substr(used, *length));
        m_firstPiece = false;
        used += *length;
    }
    return used;
}

void PageBuilder::placePiece(std::string_view piece) {
    if (m_footerTop < m_y + m_pitch) {
        if (m_column + 1 < m_props.ColumnCount()) {
            ++m_column;
            m_y = m_headerBottom;
        } else {
            finishPage();
            ++m_pageNumber;
            startPage();
        }
    }
    const int columnLeft = m_body.left + m_column * m_columnStep;
    const int baseline = m_y + m_metrics.ascent();
    if (m_props.LineNumber) {
        const int width = m_cutter.textWidth(m_number);
        m_page.runs.push_back({columnLeft + m_numberWidth - width, baseline, m_number});
    }
    addRuns(piece, columnLeft + m_numberWidth, baseline);
    m_y += m_pitch;
}

// Tabs are not drawn: the text after one starts at the next stop.
void PageBuilder::addRuns(std::string_view piece, int left, int baseline) {
    std::size_t start = 0;
    long long x = 0;  // in 1/64 dots; a run after a tab starts on a whole dot, its stop
    while (start <= piece.size()) {
        const std::size_t tab = piece.find('\t', start);
        const std::string_view run = piece.substr(start, tab == std::string_view::npos ? piece.npos : tab - start);
        if (!run.empty())
            m_page.runs.push_back({left + static_cast<int>(x / kAdvanceUnitsPerDot), baseline, std::string(run)});
        if (tab == std::string_view::npos)
            break;
        x = m_cutter.nextTabStop(x + m_cutter.textAdvance(run));
        start = tab + 1;
    }
}

void PageBuilder::drawBand(const std::string& templ, Align align, int top) {
    if (!hasBand(align, templ))
        return;
    std::string text = ParseHeader(templ, m_pageNumber, m_props.FileName, m_callbacks.clock());
    const int width = m_cutter.textWidth(text);
    int x = m_body.left;
    if (align == Align::haCenter)
        x = m_body.left + (m_body.right - m_body.left - width) / 2;
    else if (align == Align::haRight)
        x = m_body.right - width;
    m_page.runs.push_back({x, top + m_metrics.ascent(), std::move(text)});
}

void PageBuilder::startPage() {
    m_page = PrintPage{};
    m_column = 0;
    m_y = m_headerBottom;
    drawBand(m_props.Header, m_props.HeaderAlign, m_headerTop);
}

void PageBuilder::finishPage() {
    drawBand(m_props.Footer, m_props.FooterAlign, m_footerTop);
    m_callbacks.page(std::move(m_page));
}

}  // namespace tabulo::print::detail
