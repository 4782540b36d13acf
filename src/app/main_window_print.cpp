// Printing the document: "印刷(&P)" (Ctrl+P, the tool button) shows the text
// print dialog modally over the document's lines.
#include "app/main_window.h"
#include "print/window/print_dialog.h"

#include <QAction>
#include <QFile>

namespace tabulo::app {

void TfmTabulo::registerPrintCommands() {
    addCommand(QStringLiteral("Print1"), [this](QAction*) { printCommand(); });
}

platform::TPrinterSettings& TfmTabulo::printerSettings() {
    if (!m_printerSettings)
        m_printerSettings = std::make_unique<platform::TPrinterSettings>();
    return *m_printerSettings;
}

print::TfmPrint& TfmTabulo::printDialog() {
    if (!m_print)
        m_print = new print::TfmPrint(printerSettings(), this);
    return *m_print;
}

void TfmTabulo::printCommand() {
    print::TfmPrint& dialog = printDialog();
    const editor::TEditorStrings& lines = m_document.Lines();
    // A new document has no path of its own: "%f" stays empty for it.
    const QString path = QFile::exists(m_documentName) ? m_documentName : QString();
    dialog.setDocument({static_cast<std::size_t>(lines.Count()),
                        [&lines](std::size_t i) { return lines.Get(static_cast<int>(i)); }},
                       windowTitle(), path);
    dialog.setDialogRunner(m_runDialog);
    dialog.refreshPrinter();
    dialog.adjustSize();
    QRect place = dialog.frameGeometry();
    place.moveCenter(frameGeometry().center());
    dialog.move(place.topLeft());
    m_runDialog(dialog);
}

}  // namespace tabulo::app
