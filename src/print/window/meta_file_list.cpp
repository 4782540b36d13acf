#include "print/window/meta_file_list.h"

#include "print/window/printer_glyphs.h"

#include <QPainter>

namespace tabulo::print {

TMetaFileList::TMetaFileList() = default;
TMetaFileList::~TMetaFileList() = default;

void TMetaFileList::reset(QSize pageSize, const QFont& font) {
    m_pages.clear();
    m_pageSize = pageSize;
    m_font = font;
    m_glyphs.reset();
}

void TMetaFileList::Clear() {
    m_pages.clear();
}

void TMetaFileList::Add(const PrintPage& page) {
    Page recorded;
    std::size_t size = 0;
    for (const TextRun& run : page.runs)
        size += run.text.size();
    recorded.bytes.reserve(size);
    recorded.runs.reserve(page.runs.size());
    for (const TextRun& run : page.runs) {
        recorded.runs.push_back({run.x, run.baseline, static_cast<std::uint32_t>(recorded.bytes.size()),
                                 static_cast<std::uint32_t>(run.text.size())});
        recorded.bytes += run.text;
    }
    m_pages.push_back(std::move(recorded));
}

void TMetaFileList::play(QPainter& painter, int index, const QRectF& target) const {
    const Page& page = m_pages.at(static_cast<std::size_t>(index));
    if (!m_glyphs)
        m_glyphs = std::make_unique<PrinterGlyphs>(m_font);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / m_pageSize.width(), target.height() / m_pageSize.height());
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const std::string_view bytes = page.bytes;
    for (const Run& run : page.runs)
        m_glyphs->draw(painter, QPointF(run.x, run.baseline), bytes.substr(run.offset, run.length));
    m_glyphs->flush(painter);
    painter.restore();
}

}  // namespace tabulo::print
