// TPrinterSettings: the one printer-settings object of the run. It keeps the
// current printer and that printer's device settings record (what the program
// has applied; it never changes the user's CUPS defaults), works on a private
// copy of the record that callers read and change, and writes the copy back
// only in ApplySettings. Measures (printable size, offsets, paper size) follow
// the applied record. Every printer prints at 600 dpi, so device units mean
// the same on every printer, the PDF one included.
//
// The printer-change notice is a re-read: refreshPrinters() is called
// whenever a print dialog opens.
#pragma once

#include "platform/all_printers_info.h"
#include "platform/printer_backend.h"
#include "platform/printer_errors.h"

#include <QPageLayout>
#include <QPoint>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;

namespace tabulo::platform {

class TPrinterSettings {
public:
    static constexpr int kDotsPerInch = 600;

    explicit TPrinterSettings(std::unique_ptr<PrinterBackend> backend =
                                  std::make_unique<SystemPrinterBackend>());

    // Passes when at least one visible printer exists (EPrinterNoPrinter).
    void CheckNoPrinter() const;
    // The visible printers' names, in list order.
    QStringList printerNames() const;
    // The current printer's position among the visible printers, -1 when none.
    int GetIndex() const;
    // Makes the i-th visible printer current with its default settings
    // (-1: none); drops the settings copy.
    void SetIndex(int index);

    int GetPaperSizeNumber();
    void SetPaperSizeNumber(int code);
    bool HasPaperNumber(int code);
    QStringList GetPaperSizeNames();
    int GetPaperSizeIndex();
    void SetPaperSizeIndex(int index);
    // True when the copy's orientation is not portrait.
    bool GetOrientation();
    void SetOrientation(bool landscape);
    // True when the copy says colour; EPrinterNotSupported on a printer
    // without colour.
    bool GetColor();
    void SetColor(bool on);
    // The print quality and, when it is positive and the vertical
    // resolution is present, the vertical resolution (else 0).
    struct Quality {
        int quality = 0;
        int yResolution = 0;
    };
    Quality GetQuality();
    // Percent; 100 when the printer has no scale field.
    int scale();
    // What the current printer offers, read once per printer: paper codes
    // and names (up to 64 characters), paper bins and their names (up to 24
    // characters), resolutions, the most copies of one job. A kind the
    // printer does not report is empty (no copies: 0).
    const PrinterCapabilities& capabilities();
    // The ports the printers print to (hidden ones too), each once, in
    // printer-list order; read when first asked and again when the printers
    // change.
    const QStringList& ports();

    // Whether the copy differs from the applied record.
    bool changed() const { return m_changed; }
    // Writes a changed copy into the current printer's record and drops it.
    void ApplySettings();

    // Measures of the current printer with its applied record.
    QSize printableSize();  // 0.1 mm
    QSize resolution() const { return {kDotsPerInch, kDotsPerInch}; }
    QSize paperSize();  // the sheet, 0.1 mm, times the scale
    QPoint offset();    // of the printable area from the sheet's edge, dots
    int colorBits();
    // The sheet and printable area as a page layout (millimetres).
    QPageLayout pageLayout();

    // The current printer's applied record (paper code, orientation, ...).
    const DeviceSettings& record() const { return m_record; }
    // The current printer; std::nullopt when none.
    std::optional<PrinterEntry> currentPrinter() const;
    bool currentIsBuiltinPdf() const;

    // Takes a new snapshot of the printers; when it differs, the current
    // printer is looked up again by name (or the default taken), the
    // settings copy dropped and OnChange called. When the printers are the
    // same, the ports read so far are read again and OnChange is called if
    // they differ.
    void refreshPrinters();
    std::function<void()> OnChange;

    // Sets up the platform printer for a job on the current printer with the
    // applied record: format, queue, paper, orientation, colour, 600 dpi.
    // The output file of the built-in PDF printer is the caller's.
    // EPrinterNoPrinter when there is no printer or it has gone away.
    void configure(QPrinter& printer);

private:
    int visibleCount() const;
    QStringList readPorts();
    DeviceSettings& copy();
    void requireField(DeviceSettings::Field field, const char* operation, const char* name);
    void requirePaperInfo(const char* operation);
    void selectPrinter(int entryIndex);
    QPageSize appliedPaper() const;
    QMarginsF appliedMargins();

    std::unique_ptr<PrinterBackend> m_backend;
    TAllPrintersInfo m_printers;
    int m_current = -1;  // index into m_printers (hidden ones included)
    DeviceSettings m_record;
    std::optional<DeviceSettings> m_copy;
    bool m_changed = false;
    int m_cachedIndex = -1;
    PrinterCapabilities m_caps;
    std::optional<QStringList> m_ports;
};

}  // namespace tabulo::platform
