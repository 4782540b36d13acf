#include "print/window/strings_printer.h"

#include "platform/modal_dialogs.h"
#include "platform/printer_settings.h"
#include "print/engine/paper_table.h"
#include "print/window/printer_font_metrics.h"
#include "print/window/str_preview_form.h"
#include "print/window/str_progress_form.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPrinter>

#include <memory>
#include <stdexcept>

namespace tabulo::print {

TStringsPrinter::TStringsPrinter(platform::TPrinterSettings& printer)
    : runDialog([](QDialog& dialog) { platform::runModal(dialog); }), m_printer(printer) {}

void TStringsPrinter::Assign(const TStringsPrinter& other) {
    Properties = other.Properties;
    Font = other.Font;
    Title = other.Title;
    PdfFileName = other.PdfFileName;
}

QString TStringsPrinter::GetPrinterName() const {
    const auto current = m_printer.currentPrinter();
    return current ? current->name : QString();
}

int TStringsPrinter::GetPaperIndex() const {
    return m_printer.currentPrinter() ? m_printer.record().paperSize : -1;
}

QString TStringsPrinter::GetPaperName() const {
    return QString::fromLatin1(paperEntry(GetPaperIndex()).name);
}

QSize TStringsPrinter::GetPaperSize() const {
    const PaperEntry paper = paperEntry(GetPaperIndex());
    return {paper.widthMm, paper.heightMm};
}

PageGeometry TStringsPrinter::geometry() const {
    const QRect page = m_printer.pageLayout().paintRectPixels(platform::TPrinterSettings::kDotsPerInch);
    PageGeometry result;
    result.dpi = platform::TPrinterSettings::kDotsPerInch;
    result.pageWidth = page.width();
    result.pageHeight = page.height();
    const bool landscape = m_printer.record().orientation != platform::DeviceSettings::kPortrait;
    result.offset = paperOffset(GetPaperIndex(), landscape, result.dpi, page.width(), page.height());
    return result;
}

bool recordPages(const TStringsPrinterProperties& properties, const QFont& font, const PageGeometry& geometry,
                 const LineSource& lines, TMetaFileList& list,
                 const std::function<bool(std::size_t, std::size_t)>& progress) {
    const QFont pixelFont = printerFont(font, geometry.dpi);
    const PrinterFontMetrics metrics(pixelFont);
    list.reset(QSize(geometry.pageWidth, geometry.pageHeight), pixelFont);
    LayoutCallbacks callbacks;
    callbacks.progress = progress;
    callbacks.page = [&](PrintPage&& page) { list.Add(page); };
    const bool done = layoutPages(properties, metrics, geometry, lines, callbacks);
    if (!done)
        list.Clear();
    return done;
}

void printPages(const TMetaFileList& list, const TStringsPrinterProperties& properties, QPrinter& printer) {
    PagePrinter pages(properties, printer);
    for (int i = 0; i < list.Count(); ++i)
        pages.print(list, i, i);
    pages.end();
}

PagePrinter::PagePrinter(const TStringsPrinterProperties& properties, QPrinter& printer)
    : m_properties(properties), m_printer(printer), m_painter(std::make_unique<QPainter>()) {
    if (!m_painter->begin(&printer)) {
        const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        throw std::runtime_error(QStringLiteral("印刷を開始できません: %1").arg(target).toStdString());
    }
}

PagePrinter::~PagePrinter() = default;

void PagePrinter::print(const TMetaFileList& list, int recording, int pageIndex) {
    if (!m_properties.isPagePrinted(pageIndex))
        return;
    if (!m_first)
        m_printer.newPage();
    list.play(*m_painter, recording, QRectF(QPointF(0, 0), QSizeF(list.pageSize())));
    m_first = false;
}

void PagePrinter::end() {
    m_painter->end();
}

bool TStringsPrinter::DivideStringsToMetaFiles(const LineSource& lines, TMetaFileList& list, const QString& caption) {
    m_printer.CheckNoPrinter();
    // The window is closed and freed when the layout ends, cancelled or not.
    // It belongs to the modal print dialog, if any, so that its Cancel takes
    // clicks while that dialog blocks the other windows.
    const auto progress = std::make_unique<TFormStrProgress>(QApplication::activeModalWidget());
    progress->Execute(caption);
    return recordPages(Properties, Font, geometry(), lines, list, [&](std::size_t maximum, std::size_t position) {
        return progress->Progress(caption, maximum, position);
    });
}

bool TStringsPrinter::PrintStrings(const LineSource& lines) {
    TMetaFileList list;
    if (!DivideStringsToMetaFiles(lines, list, QStringLiteral("印刷中")))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    m_printer.configure(printer);
    if (m_printer.currentIsBuiltinPdf())
        printer.setOutputFileName(PdfFileName);
    printer.setDocName(Title);
    printer.setCreator(QStringLiteral("tabulo"));
    printPages(list, Properties, printer);
    return true;
}

bool TStringsPrinter::PreviewStrings(const LineSource& lines) {
    TMetaFileList list;
    if (!DivideStringsToMetaFiles(lines, list, QStringLiteral("プレビューを作成中")))
        return false;
    TFormStrPreview preview;
    preview.Execute(list, geometry().offset, runDialog);
    return true;
}

}  // namespace tabulo::print
