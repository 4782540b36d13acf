#include "print/window/printer_setup_dialog.h"

#include "platform/printer_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>

namespace tabulo::print {

PrinterSetupDialog::PrinterSetupDialog(platform::TPrinterSettings& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("プリンタ設定"));
    auto* form = new QFormLayout(this);
    PrinterCombo = new QComboBox(this);
    PaperCombo = new QComboBox(this);
    PortraitButton = new QRadioButton(QStringLiteral("縦"), this);
    LandscapeButton = new QRadioButton(QStringLiteral("横"), this);
    ColorCheck = new QCheckBox(QStringLiteral("カラー"), this);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(PortraitButton);
    orientation->addWidget(LandscapeButton);
    form->addRow(QStringLiteral("プリンタ"), PrinterCombo);
    form->addRow(QStringLiteral("用紙"), PaperCombo);
    form->addRow(QStringLiteral("印刷向き"), orientation);
    form->addRow(QString(), ColorCheck);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    PrinterCombo->addItems(m_printer.printerNames());
    PrinterCombo->setCurrentIndex(m_printer.GetIndex());
    showPrinter(PrinterCombo->currentIndex());
    connect(PrinterCombo, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::showPrinter);
}

void PrinterSetupDialog::showPrinter(int index) {
    if (index != m_printer.GetIndex())
        m_printer.SetIndex(index);
    PaperCombo->clear();
    PaperCombo->addItems(m_printer.GetPaperSizeNames());
    const int code = m_printer.GetPaperSizeNumber();
    PaperCombo->setCurrentIndex(m_printer.HasPaperNumber(code) ? m_printer.GetPaperSizeIndex() : -1);
    (m_printer.GetOrientation() ? LandscapeButton : PortraitButton)->setChecked(true);
    const bool colour = m_printer.record().has(platform::DeviceSettings::Color);
    ColorCheck->setEnabled(colour);
    ColorCheck->setChecked(colour && m_printer.GetColor());
}

void PrinterSetupDialog::apply() {
    if (PrinterCombo->currentIndex() != m_printer.GetIndex())
        m_printer.SetIndex(PrinterCombo->currentIndex());
    if (PaperCombo->currentIndex() >= 0)
        m_printer.SetPaperSizeIndex(PaperCombo->currentIndex());
    m_printer.SetOrientation(LandscapeButton->isChecked());
    if (ColorCheck->isEnabled())
        m_printer.SetColor(ColorCheck->isChecked());
    m_printer.ApplySettings();
}

}  // namespace tabulo::print
