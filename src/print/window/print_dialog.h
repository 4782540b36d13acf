// TfmPrint: the text print dialog. It holds the header and footer templates
// and alignments, margins, line margin, columns and line numbers, shows the
// current printer, orientation and paper, and prints or previews the
// document's lines through its TStringsPrinter. It lives as long as the main
// window, so its settings persist between uses while the program runs.
#pragma once

#include "print/engine/page_layout.h"
#include "print/window/strings_printer.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tabulo::platform {
class TPrinterSettings;
}

namespace tabulo::print {

class TfmPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfmPrint(platform::TPrinterSettings& printer, QWidget* parent = nullptr);

    // The document to print: its lines, the job title (the main window's
    // caption) and its path ("%f", "%F" and the PDF file's default name).
    void setDocument(LineSource lines, const QString& title, const QString& path);
    // How the preview and the printer set-up are run: modally by default.
    void setDialogRunner(std::function<void(QDialog&)> runner);
    // Re-reads the printers and refreshes the printer labels (when shown).
    void refreshPrinter();

    // Copies the dialog's settings into the printer component.
    void copySettings();
    void PreviewClick();
    void PrintClick();
    void PrinterSetupClick();
    void FontClick();

    TStringsPrinter StringsPrinter1;
    QFont PrintFont;

    QGroupBox* HeaderRadioGroup1 = nullptr;
    QButtonGroup* headerItems = nullptr;
    QLineEdit* HeaderEdit1 = nullptr;
    QGroupBox* FooterRadioGroup1 = nullptr;
    QButtonGroup* footerItems = nullptr;
    QLineEdit* FooterEdit1 = nullptr;
    QSpinBox* MarginLeftEdit = nullptr;
    QSpinBox* MarginRightEdit = nullptr;
    QSpinBox* MarginTopEdit = nullptr;
    QSpinBox* MarginBottomEdit = nullptr;
    QSpinBox* MarginLineEdit = nullptr;
    QGroupBox* ColumnsRadioGroup1 = nullptr;
    QButtonGroup* columnItems = nullptr;
    QSpinBox* ColumnSpaceEdit = nullptr;
    QCheckBox* NumberCheckBox1 = nullptr;
    QLabel* PrinterLabel = nullptr;
    QLabel* OrientationLabel = nullptr;
    QLabel* PaperLabel = nullptr;
    QPushButton* FontButton = nullptr;
    QPushButton* PrinterButton = nullptr;
    QPushButton* PreviewButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    // The PDF file the built-in PDF printer writes; empty when cancelled.
    QString askPdfFile();

    platform::TPrinterSettings& m_printer;
    LineSource m_lines;
    QString m_path;
    std::function<void(QDialog&)> m_runDialog;
};

}  // namespace tabulo::print
