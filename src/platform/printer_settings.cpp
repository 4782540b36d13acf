#include "platform/printer_settings.h"

#include <QPrinter>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace tabulo::platform {
namespace {

int dotsOfMillimetres(double mm) {
    return static_cast<int>(std::lround(mm * TPrinterSettings::kDotsPerInch / 25.4));
}

void cutNames(QStringList& names, int length) {
    for (QString& name : names)
        name.truncate(length);
}

}  // namespace

TPrinterSettings::TPrinterSettings(std::unique_ptr<PrinterBackend> backend)
    : m_backend(std::move(backend)), m_printers(m_backend->printers()) {
    selectPrinter(m_backend->defaultPrinter(m_printers));
}

int TPrinterSettings::visibleCount() const {
    int count = 0;
    for (int i = 0; i < m_printers.count(); ++i)
        if (!m_printers.isHidden(i))
            ++count;
    return count;
}

void TPrinterSettings::CheckNoPrinter() const {
    if (visibleCount() == 0)
        throw EPrinterNoPrinter("CheckNoPrinter", "No Printer");
}

QStringList TPrinterSettings::printerNames() const {
    CheckNoPrinter();
    QStringList names;
    for (int i = 0; i < m_printers.count(); ++i)
        if (!m_printers.isHidden(i))
            names.append(m_printers.name(i));
    return names;
}

int TPrinterSettings::GetIndex() const {
    CheckNoPrinter();
    if (m_current < 0)
        return -1;
    if (m_printers.isHidden(m_current))
        throw EPrinterIllegalIndex("GetIndex", "Printers.PrinterIndex is Illegal");
    int hiddenBefore = 0;
    for (int i = 0; i < m_current; ++i)
        if (m_printers.isHidden(i))
            ++hiddenBefore;
    return m_current - hiddenBefore;
}

void TPrinterSettings::SetIndex(int index) {
    CheckNoPrinter();
    if (index < -1 || index >= visibleCount())
        throw EPrinterRangeError("SetIndex", "Index is out of Range");
    if (index == -1) {
        selectPrinter(-1);
        return;
    }
    int visible = -1;
    for (int i = 0; i < m_printers.count(); ++i) {
        if (!m_printers.isHidden(i) && ++visible == index) {
            selectPrinter(i);
            return;
        }
    }
}

void TPrinterSettings::selectPrinter(int entryIndex) {
    m_current = entryIndex;
    m_record = entryIndex >= 0 ? m_backend->defaults(m_printers.entry(entryIndex)) : DeviceSettings{};
    m_copy.reset();
    m_changed = false;
    m_cachedIndex = -1;
}

const PrinterCapabilities& TPrinterSettings::capabilities() {
    CheckNoPrinter();
    if (m_cachedIndex != m_current) {
        m_cachedIndex = m_current;
        m_caps = m_current >= 0 ? m_backend->capabilities(m_printers.entry(m_current)) : PrinterCapabilities{};
        cutNames(m_caps.paperNames, PrinterCapabilities::kPaperNameLength);
        cutNames(m_caps.binNames, PrinterCapabilities::kBinNameLength);
    }
    return m_caps;
}

QStringList TPrinterSettings::readPorts() {
    QStringList ports;
    for (int i = 0; i < m_printers.count(); ++i) {
        const QString port = m_backend->port(m_printers.entry(i));
        if (!port.isEmpty() && !ports.contains(port))
            ports.append(port);
    }
    return ports;
}

const QStringList& TPrinterSettings::ports() {
    CheckNoPrinter();
    if (!m_ports)
        m_ports = readPorts();
    return *m_ports;
}

DeviceSettings& TPrinterSettings::copy() {
    if (!m_copy)
        m_copy = m_record;
    return *m_copy;
}

void TPrinterSettings::requireField(DeviceSettings::Field field, const char* operation, const char* name) {
    CheckNoPrinter();
    if (!copy().has(field))
        throw EPrinterNotSupported(operation, std::string(name) + " is not Supported");
}

void TPrinterSettings::requirePaperInfo(const char* operation) {
    CheckNoPrinter();
    if (capabilities().paperCodes.empty())
        throw EPrinterNoInfo(operation, "No PaperSize Info Available");
}

int TPrinterSettings::GetPaperSizeNumber() {
    requireField(DeviceSettings::PaperSize, "GetPaperSizeNumber", "PaperSize");
    return copy().paperSize;
}

void TPrinterSettings::SetPaperSizeNumber(int code) {
    requireField(DeviceSettings::PaperSize, "SetPaperSizeNumber", "PaperSize");
    if (copy().paperSize != code) {
        copy().paperSize = code;
        m_changed = true;
    }
}

bool TPrinterSettings::HasPaperNumber(int code) {
    requirePaperInfo("HasPaperNumber");
    const auto& codes = capabilities().paperCodes;
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

QStringList TPrinterSettings::GetPaperSizeNames() {
    requirePaperInfo("GetPaperSizeNames");
    return capabilities().paperNames;
}

int TPrinterSettings::GetPaperSizeIndex() {
    requirePaperInfo("GetPaperSizeIndex");
    const int code = GetPaperSizeNumber();
    const auto& codes = capabilities().paperCodes;
    const auto found = std::find(codes.begin(), codes.end(), code);
    if (found == codes.end())
        throw EPrinterPaperSizeError("GetPaperSizeIndex", "Cannot Get Paper Index");
    return static_cast<int>(found - codes.begin());
}

void TPrinterSettings::SetPaperSizeIndex(int index) {
    requirePaperInfo("SetPaperSizeIndex");
    const auto& codes = capabilities().paperCodes;
    if (index < 0 || index >= static_cast<int>(codes.size()))
        throw EPrinterPaperSizeError("SetPaperSizeIndex", "No such PaperSize Index");
    SetPaperSizeNumber(codes[static_cast<std::size_t>(index)]);
}

bool TPrinterSettings::GetOrientation() {
    requireField(DeviceSettings::Orientation, "GetOrientation", "Orientation");
    return copy().orientation != DeviceSettings::kPortrait;
}

void TPrinterSettings::SetOrientation(bool landscape) {
    requireField(DeviceSettings::Orientation, "SetOrientation", "Orientation");
    const int value = landscape ? DeviceSettings::kLandscape : DeviceSettings::kPortrait;
    if (copy().orientation != value) {
        copy().orientation = value;
        m_changed = true;
    }
}

bool TPrinterSettings::GetColor() {
    requireField(DeviceSettings::Color, "GetColor", "Color");
    return copy().color == DeviceSettings::kColor;
}

void TPrinterSettings::SetColor(bool on) {
    requireField(DeviceSettings::Color, "SetColor", "Color");
    const int value = on ? DeviceSettings::kColor : DeviceSettings::kMonochrome;
    if (copy().color != value) {
        copy().color = value;
        m_changed = true;
    }
}

TPrinterSettings::Quality TPrinterSettings::GetQuality() {
    requireField(DeviceSettings::PrintQuality, "GetQuality", "PrintQuality");
    const DeviceSettings& settings = copy();
    Quality quality{settings.printQuality, 0};
    if (settings.printQuality > 0 && settings.has(DeviceSettings::YResolution))
        quality.yResolution = settings.yResolution;
    return quality;
}

int TPrinterSettings::scale() {
    CheckNoPrinter();
    return copy().has(DeviceSettings::Scale) ? copy().scale : 100;
}

void TPrinterSettings::ApplySettings() {
    CheckNoPrinter();
    if (!m_changed)
        return;
    assert(m_copy);
    m_record = *m_copy;
    m_copy.reset();
    m_changed = false;
    m_cachedIndex = -1;
}

QPageSize TPrinterSettings::appliedPaper() const {
    QPageSize paper = pageSizeOfCode(m_record.paperSize);
    // A code Qt knows no paper for prints on A4 rather than on nothing.
    return paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

QMarginsF TPrinterSettings::appliedMargins() {
    CheckNoPrinter();
    if (m_current < 0)
        throw EPrinterNoPrinter("CheckNoPrinter", "No Printer");
    const auto orientation =
        m_record.orientation == DeviceSettings::kPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    return m_backend->minimumMargins(m_printers.entry(m_current), appliedPaper(), orientation);
}

QPageLayout TPrinterSettings::pageLayout() {
    const QMarginsF margins = appliedMargins();
    const auto orientation =
        m_record.orientation == DeviceSettings::kPortrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    return QPageLayout(appliedPaper(), orientation, margins, QPageLayout::Millimeter, margins);
}

QSize TPrinterSettings::printableSize() {
    const QRectF area = pageLayout().paintRect(QPageLayout::Millimeter);
    return {static_cast<int>(std::lround(area.width() * 10)), static_cast<int>(std::lround(area.height() * 10))};
}

QSize TPrinterSettings::paperSize() {
    const QRectF sheet = pageLayout().fullRect(QPageLayout::Millimeter);
    const int percent = m_record.has(DeviceSettings::Scale) ? m_record.scale : 100;
    const auto tenths = [&](double mm) {
        return static_cast<int>(static_cast<long long>(percent) * dotsOfMillimetres(mm) * 254 / kDotsPerInch / 100);
    };
    return {tenths(sheet.width()), tenths(sheet.height())};
}

QPoint TPrinterSettings::offset() {
    const QRectF area = pageLayout().paintRect(QPageLayout::Millimeter);
    return {dotsOfMillimetres(area.left()), dotsOfMillimetres(area.top())};
}

int TPrinterSettings::colorBits() {
    CheckNoPrinter();
    return m_record.has(DeviceSettings::Color) && m_record.color == DeviceSettings::kColor ? 24 : 1;
}

std::optional<PrinterEntry> TPrinterSettings::currentPrinter() const {
    if (m_current < 0)
        return std::nullopt;
    return m_printers.entry(m_current);
}

bool TPrinterSettings::currentIsBuiltinPdf() const {
    return m_current >= 0 && m_printers.entry(m_current).builtinPdf;
}

void TPrinterSettings::refreshPrinters() {
    TAllPrintersInfo fresh = m_backend->printers();
    if (fresh == m_printers) {
        if (!m_ports)
            return;
        QStringList ports = readPorts();
        if (ports == *m_ports)
            return;
        m_ports = std::move(ports);
        if (OnChange)
            OnChange();
        return;
    }
    const std::optional<PrinterEntry> current = currentPrinter();
    m_printers = std::move(fresh);
    m_ports.reset();
    int found = -1;
    for (int i = 0; current && i < m_printers.count(); ++i)
        if (m_printers.entry(i) == *current)
            found = i;
    if (found >= 0) {
        // The same printer keeps its applied record.
        m_current = found;
        m_copy.reset();
        m_changed = false;
        m_cachedIndex = -1;
    } else {
        selectPrinter(m_backend->defaultPrinter(m_printers));
    }
    if (OnChange)
        OnChange();
}

void TPrinterSettings::configure(QPrinter& printer) {
    CheckNoPrinter();
    const std::optional<PrinterEntry> current = currentPrinter();
    if (!current || !m_backend->isAvailable(*current))
        throw EPrinterNoPrinter("StartJob", "No Printer" + (current ? " " + current->name.toStdString() : std::string()));
    if (current->builtinPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(current->name);
    }
    printer.setResolution(kDotsPerInch);
    printer.setFullPage(false);
    printer.setPageLayout(pageLayout());
    printer.setColorMode(m_record.has(DeviceSettings::Color) && m_record.color == DeviceSettings::kColor
                             ? QPrinter::Color
                             : QPrinter::GrayScale);
    if (m_record.has(DeviceSettings::Duplex))
        printer.setDuplex(m_record.duplex == DeviceSettings::kDuplexLongSide    ? QPrinter::DuplexLongSide
                          : m_record.duplex == DeviceSettings::kDuplexShortSide ? QPrinter::DuplexShortSide
                                                                                : QPrinter::DuplexNone);
}

}  // namespace tabulo::platform
