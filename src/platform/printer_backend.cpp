#include "platform/printer_backend.h"

#include "platform/cups_queue.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace tabulo::platform {
namespace {

constexpr int kPrinterDpi = 600;
constexpr int kAutomaticBin = 7;

// The papers of the built-in PDF printer.
const std::vector<QPageSize::PageSizeId>& builtinPdfPapers() {
    static const std::vector<QPageSize::PageSizeId> papers = {
        QPageSize::A3,     QPageSize::A4,    QPageSize::A5,    QPageSize::A6,
        QPageSize::JisB4,  QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal,
        QPageSize::Postcard,
    };
    return papers;
}

QPrinterInfo systemPrinter(const PrinterEntry& printer) {
    return QPrinterInfo::printerInfo(printer.name);
}

int duplexOf(QPrinter::DuplexMode mode) {
    switch (mode) {
    case QPrinter::DuplexLongSide:
        return DeviceSettings::kDuplexLongSide;
    case QPrinter::DuplexShortSide:
        return DeviceSettings::kDuplexShortSide;
    default:
        return DeviceSettings::kSimplex;
    }
}

}  // namespace

QPageSize pageSizeOfCode(int paperCode) {
    if (paperCode <= 0)
        return {};
    const QPageSize::PageSizeId id = QPageSize::id(paperCode);
    if (id == QPageSize::Custom)
        return {};
    return QPageSize(id);
}

int binNumberOfSource(const QString& keyword, int position) {
    struct Bin {
        const char* keyword;
        int number;
    };
    static constexpr Bin kBins[] = {
        {"top", 1},      {"bottom", 2},           {"middle", 3},          {"manual", 4},
        {"envelope", 5}, {"auto", kAutomaticBin}, {"large-capacity", 11},
    };
    for (const Bin& bin : kBins)
        if (keyword == QLatin1String(bin.keyword))
            return bin.number;
    return 256 + position;
}

TAllPrintersInfo SystemPrinterBackend::printers() {
    return TAllPrintersInfo::fromSystem();
}

int SystemPrinterBackend::defaultPrinter(const TAllPrintersInfo& printers) {
    const QString name = QPrinterInfo::defaultPrinterName();
    for (int i = 0; i < printers.count(); ++i)
        if (!printers.entry(i).builtinPdf && printers.name(i) == name)
            return i;
    for (int i = 0; i < printers.count(); ++i)
        if (printers.entry(i).builtinPdf)
            return i;
    return printers.count() > 0 ? 0 : -1;
}

DeviceSettings SystemPrinterBackend::defaults(const PrinterEntry& printer) {
    DeviceSettings settings;
    settings.fields = DeviceSettings::Orientation | DeviceSettings::PaperSize | DeviceSettings::Scale |
                      DeviceSettings::Copies | DeviceSettings::PrintQuality | DeviceSettings::YResolution;
    settings.printQuality = kPrinterDpi;
    settings.yResolution = kPrinterDpi;
    if (printer.builtinPdf) {
        settings.fields |= DeviceSettings::Color;
        settings.color = DeviceSettings::kColor;
        settings.paperSize = QPageSize::windowsId(QPageSize::A4);
        return settings;
    }
    const QPrinterInfo info = systemPrinter(printer);
    const QList<QPrinter::ColorMode> modes = info.supportedColorModes();
    if (modes.contains(QPrinter::Color)) {
        settings.fields |= DeviceSettings::Color;
        settings.color = info.defaultColorMode() == QPrinter::Color ? DeviceSettings::kColor
                                                                    : DeviceSettings::kMonochrome;
    }
    const int code = info.defaultPageSize().windowsId();
    settings.paperSize = code > 0 ? code : QPageSize::windowsId(QPageSize::A4);
    const QList<QPrinter::DuplexMode> sides = info.supportedDuplexModes();
    if (sides.contains(QPrinter::DuplexLongSide) || sides.contains(QPrinter::DuplexShortSide)) {
        settings.fields |= DeviceSettings::Duplex;
        settings.duplex = duplexOf(info.defaultDuplexMode());
    }
    // The queue's default source is what a job gets without asking; Qt's
    // public interface has no way to ask for another, so it is reported,
    // never changed. A queue that names no default picks the bin itself,
    // which the record calls automatic selection.
    if (const auto details = cupsQueueDetails(printer.name); details && !details->sourceKeywords.isEmpty()) {
        settings.fields |= DeviceSettings::DefaultSource;
        const auto position = details->sourceKeywords.indexOf(details->defaultSource);
        settings.defaultSource = position >= 0 ? binNumberOfSource(details->defaultSource, static_cast<int>(position))
                                               : kAutomaticBin;
    }
    return settings;
}

PrinterCapabilities SystemPrinterBackend::capabilities(const PrinterEntry& printer) {
    PrinterCapabilities caps;
    QList<QPageSize> papers;
    if (printer.builtinPdf) {
        for (QPageSize::PageSizeId id : builtinPdfPapers())
            papers.append(QPageSize(id));
        caps.resolutions = {kPrinterDpi};
        // A PDF file has no paper bins, and it holds one copy: more copies
        // are the business of whoever prints the file.
        caps.maxCopies = 1;
    } else {
        const QPrinterInfo info = systemPrinter(printer);
        papers = info.supportedPageSizes();
        for (int dpi : info.supportedResolutions())
            caps.resolutions.push_back(dpi);
        if (const auto details = cupsQueueDetails(printer.name)) {
            for (int i = 0; i < details->sourceKeywords.size(); ++i) {
                caps.binNumbers.push_back(binNumberOfSource(details->sourceKeywords[i], i));
                caps.binNames.append(details->sourceNames[i]);
            }
            caps.maxCopies = details->maxCopies;
        }
    }
    for (const QPageSize& paper : papers) {
        const int code = paper.windowsId();
        // Papers with no code of their own cannot be chosen by code.
        if (code <= 0 || code == QPageSize::windowsId(QPageSize::Custom))
            continue;
        if (std::find(caps.paperCodes.begin(), caps.paperCodes.end(), code) != caps.paperCodes.end())
            continue;
        caps.paperCodes.push_back(code);
        caps.paperNames.append(paper.name());
    }
    return caps;
}

QMarginsF SystemPrinterBackend::minimumMargins(const PrinterEntry& printer, const QPageSize& paper,
                                               QPageLayout::Orientation orientation) {
    if (printer.builtinPdf)
        return {};
    QPrinter device(systemPrinter(printer), QPrinter::HighResolution);
    device.setPageSize(paper);
    device.setPageOrientation(orientation);
    QPageLayout layout = device.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    return layout.minimumMargins();
}

bool SystemPrinterBackend::isAvailable(const PrinterEntry& printer) {
    return printer.builtinPdf || !systemPrinter(printer).isNull();
}

// A queue's port is its device URI ("cups-pdf:/", "ipp://host/queue", ...).
QString SystemPrinterBackend::port(const PrinterEntry& printer) {
    if (printer.builtinPdf)
        return kBuiltinPdfPort;
    const auto details = cupsQueueDetails(printer.name);
    return details ? details->deviceUri : QString();
}

}  // namespace tabulo::platform
