// What the graph window needs of the current printer: the paper chosen when
// the window is shown, its name, the printable page, and a print job set up
// for it. Errors of the printer settings (no printer, no paper information)
// leave as exceptions.
#pragma once

#include <QSize>
#include <QString>

class QPrinter;

namespace tabulo::graph {

class GraphPrinter {
public:
    virtual ~GraphPrinter() = default;

    // Selects A4 when the printer offers it, else the first it offers of
    // A6, the Japanese postcard, A5 and B5, and applies the settings.
    virtual void choosePaper() = 0;
    virtual QString paperName() = 0;
    // The printable width and height in 0.1 mm.
    virtual QSize printableSize() = 0;
    // Sets up `printer` for a job on the current printer; true when it
    // writes a PDF file, whose name is then the caller's to give.
    virtual bool configure(QPrinter& printer) = 0;
};

}  // namespace tabulo::graph
