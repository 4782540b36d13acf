#include "graph/window/graph_rendering.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "graph/window/qt_graph_surface.h"

namespace tabulo::graph {

QImage renderGraphBitmap(QSize size, double dpi, calc::TExprCompo& calculator, const PageOptions& options,
                         const QImage* picture) {
    QImage bitmap(size, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    bitmap.setDotsPerMeterX(dotsPerMetre);
    bitmap.setDotsPerMeterY(dotsPerMetre);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    QtGraphSurface surface(painter, bitmap, picture, false);
    drawGraphPage(surface, calculator, options);
    return bitmap;
}

bool printGraphPage(QPrinter& printer, calc::TExprCompo& calculator, const PageOptions& options,
                    const QImage* picture) {
    printer.setDocName(QString::fromUtf8(kGraphJobTitle));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The painter's origin is the printable page's top-left corner, and the
    // printer's resolution makes page units real tenths of a millimetre.
    QtGraphSurface surface(painter, printer, picture, false);
    drawGraphPage(surface, calculator, options);
    return painter.end();
}

}  // namespace tabulo::graph
