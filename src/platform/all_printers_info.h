// TAllPrintersInfo: a snapshot of the printers, taken when it is made. The
// built-in "PDF" printer (writes a PDF file, needs no spooler) comes first,
// then the CUPS queues in the order CUPS lists them. A printer whose
// attributes carry the hidden bit counts nowhere in the printer list or in
// index arithmetic; CUPS queues are never hidden, the bit exists for the
// printer lists tests build.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tabulo::platform {

struct PrinterEntry {
    QString name;
    std::uint32_t attributes = 0;
    // The built-in PDF printer rather than a CUPS queue; a CUPS queue may
    // carry the same name.
    bool builtinPdf = false;

    bool operator==(const PrinterEntry&) const = default;
};

class TAllPrintersInfo {
public:
    static constexpr std::uint32_t kHidden = 0x20;
    static inline const QString kBuiltinPdfName = QStringLiteral("PDF");

    TAllPrintersInfo() = default;
    explicit TAllPrintersInfo(std::vector<PrinterEntry> entries);

    // The built-in PDF printer and the CUPS queues as they are now.
    static TAllPrintersInfo fromSystem();

    int count() const { return static_cast<int>(m_entries.size()); }
    const PrinterEntry& entry(int i) const { return m_entries.at(static_cast<std::size_t>(i)); }
    const QString& name(int i) const { return entry(i).name; }
    std::uint32_t attributes(int i) const { return entry(i).attributes; }
    bool isHidden(int i) const { return (attributes(i) & kHidden) != 0; }

    // Same count, and entry by entry the same name, attributes and kind.
    bool operator==(const TAllPrintersInfo&) const = default;

private:
    std::vector<PrinterEntry> m_entries;
};

}  // namespace tabulo::platform
