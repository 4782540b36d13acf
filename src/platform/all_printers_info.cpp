#include "platform/all_printers_info.h"

#include <QPrinterInfo>

namespace tabulo::platform {

TAllPrintersInfo::TAllPrintersInfo(std::vector<PrinterEntry> entries) : m_entries(std::move(entries)) {}

TAllPrintersInfo TAllPrintersInfo::fromSystem() {
    std::vector<PrinterEntry> entries;
    entries.push_back({kBuiltinPdfName, 0, true});
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        entries.push_back({info.printerName(), 0, false});
    return TAllPrintersInfo(std::move(entries));
}

}  // namespace tabulo::platform
