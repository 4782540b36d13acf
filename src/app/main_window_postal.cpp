// The postal code conversion of the caret line (F11): a 7-digit code gets its
// address, an address gets its codes, from the address file named in the
// options.
#include <QApplication>

#include "app/main_window.h"
#include "app/option_dialog.h"
#include "platform/busy_cursor.h"
#include "platform/error_handler.h"
#include "search/engine/postal_conversion.h"

namespace tabulo::app {

void TfmTabulo::registerPostalCommands() {
    m_postal.setEventPump([] { QCoreApplication::processEvents(); });
    addCommand(QStringLiteral("MChgLine"), [this](QAction*) { convertPostalLine(); });
}

void TfmTabulo::convertPostalLine() {
    const int line = m_document.LineIndexOfRow(m_document.Row());
    if (line < 0 || line >= m_document.Lines().Count()) return;
    const std::string original = m_document.Lines().Get(line);
    std::string converted = original;
    search::PostalStatus status = search::PostalStatus::NotFound;
    {
        platform::BusyCursor busy;
        // A search error keeps the hits written so far, like a stop would.
        const auto writeBack = [&] {
            if (converted == original) return;
            writeBackLines(line, line, {converted});
            m_document.SetRow(m_document.firstRowOfLine(line));
        };
        try {
            status = m_postal.convert(converted, m_option->paths().postal);
        } catch (...) {
            writeBack();
            throw;
        }
        writeBack();
    }
    const std::string_view message = search::postalMessage(status);
    if (!message.empty()) {
        platform::prompts().message(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    }
}

}  // namespace tabulo::app
