#include "graph/window/qt_graph_surface.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <cmath>

#include "sjis/sjis_codec.h"

namespace tabulo::graph {

namespace {

QString fromSjis(const std::string& bytes) {
    return QString::fromStdString(sjis::SjisCodec::instance().toUtf8(bytes));
}

}  // namespace

QtGraphSurface::QtGraphSurface(QPainter& painter, const QPaintDevice& device, const QImage* picture, bool screen)
    : m_painter(painter), m_picture(picture), m_screen(screen), m_scaleX(device.logicalDpiX() / 254.0),
      m_scaleY(device.logicalDpiY() / 254.0), m_dpiY(device.logicalDpiY()) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.setBrush(Qt::NoBrush);
    setFontSize(9);
}

QFont QtGraphSurface::labelFont(int pixelSize) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

void QtGraphSurface::fillWhite(int left, int top, int right, int bottom) {
    if (right > left && bottom > top) m_painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::white);
}

void QtGraphSurface::setPen(int width, PenStyle style) {
    QPen pen(Qt::black);
    pen.setWidth(width);
    pen.setStyle(style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
}

void QtGraphSurface::moveTo(int x, int y) { m_position = QPoint(x, y); }

void QtGraphSurface::lineTo(int x, int y) {
    const QPoint to(x, y);
    m_painter.drawLine(m_position, to);
    m_position = to;
}

void QtGraphSurface::setFontSize(int points) {
    m_painter.setFont(labelFont(static_cast<int>(std::lround(points * m_dpiY / 72.0))));
}

TextExtent QtGraphSurface::textExtent(const std::string& text) {
    const QFontMetrics metrics = m_painter.fontMetrics();
    return {metrics.horizontalAdvance(fromSjis(text)), metrics.height()};
}

void QtGraphSurface::textOut(int x, int y, const std::string& text) {
    const QPen pen = m_painter.pen();
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), fromSjis(text));
    m_painter.setPen(pen);
}

void QtGraphSurface::stretchPicture(int left, int top, int right, int bottom) {
    if (!m_picture || m_picture->isNull()) return;
    m_painter.drawImage(QRect(left, top, right - left, bottom - top), *m_picture);
}

}  // namespace tabulo::graph
