// The printer set-up dialog of the print dialog: the printer, its paper, the
// orientation and colour, applied to the printer settings on OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace tabulo::platform {
class TPrinterSettings;
}

namespace tabulo::print {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(platform::TPrinterSettings& printer, QWidget* parent = nullptr);

    // Writes the choices into the printer settings and applies them.
    void apply();

    QComboBox* PrinterCombo = nullptr;
    QComboBox* PaperCombo = nullptr;
    QRadioButton* PortraitButton = nullptr;
    QRadioButton* LandscapeButton = nullptr;
    QCheckBox* ColorCheck = nullptr;

private:
    // Fills the paper list and switches from the chosen printer's defaults.
    void showPrinter(int index);

    platform::TPrinterSettings& m_printer;
};

}  // namespace tabulo::print
