// The graph page drawn off the screen: into a bitmap to save, or onto a
// printer set up for a job. The graph window and tabulo-cli share these.
#pragma once

#include <QImage>
#include <QSize>

#include "calc/expr_compo.h"
#include "graph/engine/graph_page.h"

class QPrinter;

namespace tabulo::graph {

// A white bitmap of `size` pixels at `dpi` pixels per inch with the page
// drawn on it at the bitmap's own scale.
QImage renderGraphBitmap(QSize size, double dpi, calc::TExprCompo& calculator, const PageOptions& options,
                         const QImage* picture);

// Draws the page as one printed page on `printer`, already set up for the
// job; false when the job could not start.
bool printGraphPage(QPrinter& printer, calc::TExprCompo& calculator, const PageOptions& options,
                    const QImage* picture);

// The job title of printed graphs.
inline constexpr const char* kGraphJobTitle = "Tabulo Graphic.";

}  // namespace tabulo::graph
