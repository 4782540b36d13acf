// The graph window's printer while only the built-in PDF printer exists:
// A4 at 600 dots per inch.
#pragma once

#include <QPrinter>

#include "graph/window/graph_printer.h"

namespace tabulo::graph {

class PdfGraphPrinter : public GraphPrinter {
public:
    PdfGraphPrinter();

    void choosePaper() override;
    QString paperName() override;
    QSize printableSize() override;

private:
    QPrinter m_printer;
};

}  // namespace tabulo::graph
