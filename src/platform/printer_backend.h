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
// in `fields` are present (settable) on that printer.
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

    std::uint32_t fields = 0;
    int orientation = kPortrait;
    int paperSize = 0;  // paper code (DMPAPER number)
    int scale = 100;    // percent
    int copies = 1;
    int printQuality = 0;  // dots per inch
    int color = kMonochrome;
    int yResolution = 0;  // dots per inch

    bool has(Field field) const { return (fields & field) != 0; }
    bool operator==(const DeviceSettings&) const = default;
};

// What one printer offers. An empty list means the printer does not say.
struct PrinterCapabilities {
    std::vector<int> paperCodes;
    QStringList paperNames;  // in the order of paperCodes
    QStringList binNames;
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
};

// The paper a code stands for; an invalid QPageSize when Qt knows no paper
// with that code.
QPageSize pageSizeOfCode(int paperCode);

}  // namespace tabulo::platform
