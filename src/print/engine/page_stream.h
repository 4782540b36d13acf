// Laying out a text that comes a block at a time, as the command-line tool
// reads it: lines end at CR LF, a lone CR or a lone LF (an empty text has
// no lines, "a\r\n" is one), and a line is cut into pieces as its bytes
// come, so a line of any length is laid out in bounded memory. The pages are
// those layoutPages makes of the same lines.
#pragma once

#include "print/engine/page_builder.h"

#include <cstddef>
#include <string_view>

namespace tabulo::print {

class PageStream {
public:
    // lineCount sets the width of the number column (when line numbers are
    // printed). Throws EPrintLayout when no line fits on the page.
    PageStream(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
               const PageGeometry& geometry, std::size_t lineCount, const LayoutCallbacks& callbacks);

    // The next bytes of the text.
    void write(std::string_view bytes);
    // Lays out a last line without a break and hands the last page over.
    void finish();

    // The lines begun so far.
    std::size_t lineCount() const { return m_lines; }

private:
    detail::PageBuilder m_builder;
    bool m_inLine = false;
    bool m_afterCr = false;  // the last byte written was a CR: an LF next is part of its break
    std::size_t m_lines = 0;
};

}  // namespace tabulo::print
