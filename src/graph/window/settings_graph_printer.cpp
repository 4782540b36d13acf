#include "graph/window/settings_graph_printer.h"

#include "platform/printer_settings.h"

namespace tabulo::graph {

namespace {

// Paper codes of the printer driver interface.
constexpr int kA4 = 9;
constexpr int kFallbackPapers[] = {70 /* A6 */, 43 /* Japanese postcard */, 11 /* A5 */, 13 /* B5 */};

}  // namespace

void SettingsGraphPrinter::choosePaper() {
    m_settings.CheckNoPrinter();
    if (m_settings.HasPaperNumber(kA4)) {
        m_settings.SetPaperSizeNumber(kA4);
    } else {
        for (int code : kFallbackPapers) {
            if (m_settings.HasPaperNumber(code)) {
                m_settings.SetPaperSizeNumber(code);
                break;
            }
        }
    }
    m_settings.ApplySettings();
}

QString SettingsGraphPrinter::paperName() {
    const QStringList names = m_settings.GetPaperSizeNames();
    const int index = m_settings.GetPaperSizeIndex();
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

QSize SettingsGraphPrinter::printableSize() {
    m_settings.CheckNoPrinter();
    return m_settings.printableSize();
}

bool SettingsGraphPrinter::configure(QPrinter& printer) {
    m_settings.configure(printer);
    return m_settings.currentIsBuiltinPdf();
}

}  // namespace tabulo::graph
