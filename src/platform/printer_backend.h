// What the printer settings ask of the printing system: the printers, a
// printer's default device settings, what it offers, and its unprintable
// border. SystemPrinterBackend answers over Qt print support (CUPS) plus the
// built-in PDF printer; tests give the settings object printers of their own.
#pragma once

#include "platform/all_printers_info.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace tabulo::platform {

// The device settings record of one printer. Only the fields whose bit is
// in `fields` are present (settable) on that printer. The paper length and
// width (custom sizes), the TrueType option, collate, the form name and the
// driver's own fields after it have nothing a job on a CUPS queue can carry
// through Qt's public printing interface, so the system printers never mark
// them present and the record has no bits for the driver's own fields.
struct DeviceSettings {
    enum Field : std::uint32_t {
        Orientation = 0x1,
        PaperSize = 0x2,
        PaperLength = 0x4,
        PaperWidth = 0x8,
        Scale = 0x10,
        Copies = 0x100,
        DefaultSource = 0x200,
        PrintQuality = 0x400,
        Color = 0x800,
        Duplex = 0x1000,
        YResolution = 0x2000,
        TTOption = 0x4000,
        Collate = 0x8000,
        FormName = 0x10000,
    };
    static constexpr int kPortrait = 1;
    static constexpr int kLandscape = 2;
    static constexpr int kMonochrome = 1;
    static constexpr int kColor = 2;
    static constexpr int kSimplex = 1;
    static constexpr int kDuplexLongSide = 2;
    static constexpr int kDuplexShortSide = 3;

    std::uint32_t fields = 0;
    int orientation = kPortrait;
    int paperSize = 0;  // paper code (DMPAPER number)
    int scale = 100;    // percent
    int copies = 1;
    int defaultSource = 0;  // paper bin number
    int printQuality = 0;  // dots per inch
    int color = kMonochrome;
    int yResolution = 0;  // dots per inch
    int duplex = kSimplex;

    bool has(Field field) const { return (fields & field) != 0; }
    bool operator==(const DeviceSettings&) const = default;
};

// What one printer offers. An empty list (or no copies) means the printer
// does not say, and that kind is not known.
struct PrinterCapabilities {
    static constexpr int kPaperNameLength = 64;
    static constexpr int kBinNameLength = 24;

    std::vector<int> paperCodes;
    QStringList paperNames;  // in the order of paperCodes
    std::vector<int> binNumbers;
    QStringList binNames;  // in the order of binNumbers
    std::vector<int> resolutions;  // dots per inch
    int maxCopies = 0;
};

class PrinterBackend {
public:
    virtual ~PrinterBackend() = default;

    virtual TAllPrintersInfo printers() = 0;
    // Index into `printers` of the printer to start with (-1 when empty).
    virtual int defaultPrinter(const TAllPrintersInfo& printers) = 0;
    virtual DeviceSettings defaults(const PrinterEntry& printer) = 0;
    virtual PrinterCapabilities capabilities(const PrinterEntry& printer) = 0;
    // The border of the sheet the printer cannot print on, in millimetres.
    virtual QMarginsF minimumMargins(const PrinterEntry& printer, const QPageSize& paper,
                                     QPageLayout::Orientation orientation) = 0;
    // Whether the printer can still take a job (a queue may vanish between
    // listing and printing).
    virtual bool isAvailable(const PrinterEntry& printer) = 0;
    // The port the printer prints to; empty when it cannot be read.
    virtual QString port(const PrinterEntry& printer) = 0;
};

class SystemPrinterBackend : public PrinterBackend {
public:
    TAllPrintersInfo printers() override;
    int defaultPrinter(const TAllPrintersInfo& printers) override;
    DeviceSettings defaults(const PrinterEntry& printer) override;
    PrinterCapabilities capabilities(const PrinterEntry& printer) override;
    QMarginsF minimumMargins(const PrinterEntry& printer, const QPageSize& paper,
                             QPageLayout::Orientation orientation) override;
    bool isAvailable(const PrinterEntry& printer) override;
    QString port(const PrinterEntry& printer) override;

    // The port of the built-in PDF printer: it writes a file.
    static inline const QString kBuiltinPdfPort = QStringLiteral("file:");
};

// The paper a code stands for; an invalid QPageSize when Qt knows no paper
// with that code.
QPageSize pageSizeOfCode(int paperCode);

// The paper bin number of a CUPS "media-source" keyword: the bins the
// printer settings record names have their own numbers, any other source
// is a driver's own bin, numbered from 256 in the order the queue lists it.
int binNumberOfSource(const QString& keyword, int position);

}  // namespace tabulo::platform
