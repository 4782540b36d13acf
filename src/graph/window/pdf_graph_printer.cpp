#include "graph/window/pdf_graph_printer.h"

#include <QPageLayout>
#include <cmath>

namespace tabulo::graph {

PdfGraphPrinter::PdfGraphPrinter() : m_printer(QPrinter::HighResolution) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setResolution(600);
    choosePaper();
}

void PdfGraphPrinter::choosePaper() { m_printer.setPageSize(QPageSize(QPageSize::A4)); }

QString PdfGraphPrinter::paperName() { return m_printer.pageLayout().pageSize().name(); }

QSize PdfGraphPrinter::printableSize() {
    const QRectF area = m_printer.pageLayout().paintRect(QPageLayout::Millimeter);
    return {static_cast<int>(std::lround(area.width() * 10)), static_cast<int>(std::lround(area.height() * 10))};
}

}  // namespace tabulo::graph
