// TStringsPrinter: prints a list of Shift-JIS lines or shows them in the
// preview. The lines are laid out once (with the progress window), every
// page recorded, and the recordings replayed on the printer of the printer
// settings or in TFormStrPreview.
#pragma once

#include "print/engine/page_layout.h"
#include "print/engine/strings_printer_properties.h"
#include "print/window/meta_file_list.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QPainter;
class QPrinter;

namespace tabulo::platform {
class TPrinterSettings;
}

namespace tabulo::print {

// Lays `lines` out for a page of `geometry` in `font` (points; made a pixel
// font at the printer's resolution) and records every page into `list`.
// False when `progress` cancelled; the list is then empty.
bool recordPages(const TStringsPrinterProperties& properties, const QFont& font, const PageGeometry& geometry,
                 const LineSource& lines, TMetaFileList& list,
                 const std::function<bool(std::size_t, std::size_t)>& progress);

// Replays the pages the page range and odd/even option select onto the
// printer, one sheet each, with no blank sheet after the last. Throws
// std::runtime_error when the printer or file cannot be opened.
void printPages(const TMetaFileList& list, const TStringsPrinterProperties& properties, QPrinter& printer);

// The same a page at a time, for pages replayed as they are laid out.
class PagePrinter {
public:
    // Throws std::runtime_error when the printer or file cannot be opened.
    PagePrinter(const TStringsPrinterProperties& properties, QPrinter& printer);
    ~PagePrinter();
    PagePrinter(const PagePrinter&) = delete;
    PagePrinter& operator=(const PagePrinter&) = delete;

    // Replays recording `recording` of `list` as page `pageIndex` (0-based)
    // of the layout, when the page range and odd/even option select it.
    void print(const TMetaFileList& list, int recording, int pageIndex);
    // Closes the job.
    void end();

private:
    const TStringsPrinterProperties& m_properties;
    QPrinter& m_printer;
    std::unique_ptr<QPainter> m_painter;
    bool m_first = true;
};

class TStringsPrinter {
public:
    explicit TStringsPrinter(platform::TPrinterSettings& printer);

    TStringsPrinterProperties Properties;
    QFont Font;
    // The print job's title.
    QString Title;
    // Where the built-in PDF printer writes.
    QString PdfFileName;
    // How the preview window is run: modally by default; tests operate it.
    std::function<void(QDialog&)> runDialog;

    // False when the layout was cancelled.
    bool PrintStrings(const LineSource& lines);
    // True when the preview was shown.
    bool PreviewStrings(const LineSource& lines);
    bool DivideStringsToMetaFiles(const LineSource& lines, TMetaFileList& list, const QString& caption);
    void Assign(const TStringsPrinter& other);

    // TStringsPrinterInfo over the current printer.
    QString GetPrinterName() const;
    int GetPaperIndex() const;
    QString GetPaperName() const;
    QSize GetPaperSize() const;  // mm

    // The printable page of the current printer in dots, with the paper's
    // unprintable border.
    PageGeometry geometry() const;

private:
    platform::TPrinterSettings& m_printer;
};

}  // namespace tabulo::print
