#include "print/engine/page_stream.h"

namespace tabulo::print {

PageStream::PageStream(const TStringsPrinterProperties& properties, const TextMetrics& metrics,
                       const PageGeometry& geometry, std::size_t lineCount, const LayoutCallbacks& callbacks)
    : m_builder(properties, metrics, geometry, lineCount, callbacks) {
    m_builder.start();
}

void PageStream::write(std::string_view bytes) {
    std::size_t pos = 0;
    if (m_afterCr && !bytes.empty()) {
        m_afterCr = false;
        if (bytes.front() == '\n')
            pos = 1;
    }
    while (pos < bytes.size()) {
        if (!m_inLine) {
            m_builder.beginLine();
            m_inLine = true;
            ++m_lines;
        }
        const std::size_t lineBreak = bytes.find_first_of("\r\n", pos);
        if (lineBreak == std::string_view::npos) {
            m_builder.addLinePart(bytes.substr(pos));
            return;
        }
        m_builder.addLinePart(bytes.substr(pos, lineBreak - pos));
        m_builder.endLine();
        m_inLine = false;
        pos = lineBreak + 1;
        if (bytes[lineBreak] == '\r') {
            if (pos == bytes.size())
                m_afterCr = true;
            else if (bytes[pos] == '\n')
                ++pos;
        }
    }
}

void PageStream::finish() {
    if (m_inLine)
        m_builder.endLine();
    m_inLine = false;
    m_builder.finish();
}

}  // namespace tabulo::print
