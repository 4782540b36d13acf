#include "print/window/meta_file_list.h"

#include "print/window/printer_font_metrics.h"

#include <QPainter>

namespace tabulo::print {

void TMetaFileList::reset(QSize pageSize, const QFont& font) {
    m_pages.clear();
    m_pageSize = pageSize;
    m_font = font;
}

void TMetaFileList::Clear() {
    m_pages.clear();
}

void TMetaFileList::Add(const PrintPage& page) {
    auto picture = std::make_unique<QPicture>();
    picture->setBoundingRect(QRect(QPoint(0, 0), m_pageSize));
    QPainter painter(picture.get());
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    for (const TextRun& run : page.runs)
        painter.drawText(QPoint(run.x, run.baseline), sjisToQString(run.text));
    painter.end();
    m_pages.push_back(std::move(picture));
}

void TMetaFileList::play(QPainter& painter, int index, const QRectF& target) const {
    const QPicture& picture = GetMetaFile(index);
    // A picture replays scaled by the device's resolution over its own;
    // the target rectangle alone decides the scale here.
    const QPaintDevice* device = painter.device();
    const double dpiX = static_cast<double>(picture.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = static_cast<double>(picture.logicalDpiY()) / device->logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / m_pageSize.width() * dpiX, target.height() / m_pageSize.height() * dpiY);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

}  // namespace tabulo::print
