#include "graph/window/graph_paint_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace tabulo::graph {

GraphPaintBox::GraphPaintBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphPaintBox::setImage(QImage image) {
    m_image = std::move(image);
    update();
}

void GraphPaintBox::setRubberBand(const QRect& band, bool shown) {
    m_band = band;
    m_bandShown = shown;
    update();
}

void GraphPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, m_image);
    if (m_bandShown) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_band);
    }
}

void GraphPaintBox::mousePressEvent(QMouseEvent* event) {
    if (onPress) onPress(event);
}

void GraphPaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (onMove) onMove(event);
}

void GraphPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (onRelease) onRelease(event);
}

}  // namespace tabulo::graph
