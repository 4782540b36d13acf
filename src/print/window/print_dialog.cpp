#include "print/window/print_dialog.h"

#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/modal_dialogs.h"
#include "platform/printer_settings.h"
#include "print/engine/print_defaults.h"
#include "print/window/printer_font_metrics.h"
#include "print/window/printer_setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tabulo::print {
namespace {

const QString kTemplateHint = QStringLiteral(
    "%p  ページ番号\n%f  ファイル名パス付き\n%F  ファイル名パス無し\n%y  年\n%m  月\n%d  日\n%t  時間");

QGroupBox* radioGroup(QWidget* parent, const QString& name, const QString& caption, const QStringList& items,
                      int checked, QButtonGroup*& group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* layout = new QHBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    group->button(checked)->setChecked(true);
    return box;
}

QSpinBox* spinBox(QWidget* parent, int minimum, int maximum, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

TStringsPrinterHeaderAlign alignOf(int item) {
    switch (item) {
    case 1: return TStringsPrinterHeaderAlign::haLeft;
    case 2: return TStringsPrinterHeaderAlign::haCenter;
    case 3: return TStringsPrinterHeaderAlign::haRight;
    default: return TStringsPrinterHeaderAlign::haNone;
    }
}

std::string toSjis(const QString& text) {
    return sjis::SjisCodec::instance().fromUtf16Lossy(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace

TfmPrint::TfmPrint(platform::TPrinterSettings& printer, QWidget* parent)
    : QDialog(parent), StringsPrinter1(printer), m_printer(printer),
      m_runDialog([](QDialog& dialog) { platform::runModal(dialog); }) {
    setObjectName(QStringLiteral("fmPrint"));
    setWindowTitle(QStringLiteral("印刷"));
    PrintFont = defaultPrintFont();
    const TStringsPrinterProperties defaults = printDialogDefaults();

    const QStringList aligns = {QStringLiteral("なし"), QStringLiteral("左"), QStringLiteral("中央"),
                                QStringLiteral("右")};
    HeaderRadioGroup1 = radioGroup(this, QStringLiteral("HeaderRadioGroup1"), QStringLiteral("ヘッダー"), aligns,
                                   static_cast<int>(defaults.HeaderAlign), headerItems);
    HeaderEdit1 = new QLineEdit(QString::fromLatin1(kDefaultHeader), this);
    HeaderEdit1->setObjectName(QStringLiteral("HeaderEdit1"));
    HeaderEdit1->setToolTip(kTemplateHint);
    FooterRadioGroup1 = radioGroup(this, QStringLiteral("FooterRadioGroup1"), QStringLiteral("フッター"), aligns,
                                   static_cast<int>(defaults.FooterAlign), footerItems);
    FooterEdit1 = new QLineEdit(QString::fromLatin1(kDefaultFooter), this);
    FooterEdit1->setObjectName(QStringLiteral("FooterEdit1"));
    FooterEdit1->setToolTip(kTemplateHint);

    auto* margins = new QGroupBox(QStringLiteral("余白 (mm)"), this);
    auto* marginGrid = new QGridLayout(margins);
    MarginLeftEdit = spinBox(margins, 0, 100, defaults.MarginLeft());
    MarginRightEdit = spinBox(margins, 0, 100, defaults.MarginRight());
    MarginTopEdit = spinBox(margins, 0, 100, defaults.MarginTop());
    MarginBottomEdit = spinBox(margins, 0, 100, defaults.MarginBottom());
    const std::pair<QString, QSpinBox*> marginFields[] = {
        {QStringLiteral("左(&L):"), MarginLeftEdit},
        {QStringLiteral("右(&R):"), MarginRightEdit},
        {QStringLiteral("上(&T):"), MarginTopEdit},
        {QStringLiteral("下(&B):"), MarginBottomEdit},
    };
    int cell = 0;
    for (const auto& [caption, field] : marginFields) {
        // Leaving the field shows the number it counts as: 0 for no number.
        field->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        auto* label = new QLabel(caption, margins);
        label->setBuddy(field);
        marginGrid->addWidget(label, cell / 2, (cell % 2) * 2);
        marginGrid->addWidget(field, cell / 2, (cell % 2) * 2 + 1);
        ++cell;
    }
    MarginLineEdit = spinBox(this, 0, 100, defaults.MarginLine());

    ColumnsRadioGroup1 = radioGroup(this, QStringLiteral("ColumnsRadioGroup1"), QStringLiteral("段組"),
                                    {QStringLiteral("&1"), QStringLiteral("&2"), QStringLiteral("&3")},
                                    defaults.ColumnCount() - 1, columnItems);
    ColumnSpaceEdit = spinBox(this, 1, 40, defaults.ColumnSpace());
    ColumnSpaceEdit->setEnabled(false);
    connect(columnItems, &QButtonGroup::idClicked, this, [this](int id) { ColumnSpaceEdit->setEnabled(id > 0); });
    NumberCheckBox1 = new QCheckBox(QStringLiteral("行番号印刷"), this);
    NumberCheckBox1->setObjectName(QStringLiteral("NumberCheckBox1"));

    PrinterLabel = new QLabel(this);
    OrientationLabel = new QLabel(this);
    PaperLabel = new QLabel(this);
    FontButton = new QPushButton(QStringLiteral("印刷フォント"), this);
    PrinterButton = new QPushButton(QStringLiteral("プリンタ設定"), this);
    PreviewButton = new QPushButton(QStringLiteral("プレビュー(&P)..."), this);
    PrintButton = new QPushButton(QStringLiteral("印  刷"), this);
    PrintButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(HeaderRadioGroup1, 0, 0);
    layout->addWidget(HeaderEdit1, 1, 0);
    layout->addWidget(FooterRadioGroup1, 2, 0);
    layout->addWidget(FooterEdit1, 3, 0);
    layout->addWidget(margins, 4, 0);
    auto* lineMargin = new QHBoxLayout;
    lineMargin->addWidget(new QLabel(QStringLiteral("行間余白"), this));
    lineMargin->addWidget(MarginLineEdit);
    lineMargin->addStretch();
    layout->addLayout(lineMargin, 5, 0);
    layout->addWidget(ColumnsRadioGroup1, 6, 0);
    auto* columnSpace = new QHBoxLayout;
    columnSpace->addWidget(new QLabel(QStringLiteral("段組余白"), this));
    columnSpace->addWidget(ColumnSpaceEdit);
    columnSpace->addWidget(NumberCheckBox1);
    columnSpace->addStretch();
    layout->addLayout(columnSpace, 7, 0);
    auto* printerInfo = new QGridLayout;
    const std::pair<QString, QLabel*> infoRows[] = {
        {QStringLiteral("プリンタ"), PrinterLabel},
        {QStringLiteral("印刷向き"), OrientationLabel},
        {QStringLiteral("用紙"), PaperLabel},
    };
    int row = 0;
    for (const auto& [caption, value] : infoRows) {
        printerInfo->addWidget(new QLabel(caption, this), row, 0);
        printerInfo->addWidget(value, row++, 1);
    }
    layout->addLayout(printerInfo, 8, 0);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {FontButton, PrinterButton, PreviewButton, PrintButton, CancelButton})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 1, 9, 1);

    const auto guarded = [this](void (TfmPrint::*handler)()) {
        return [this, handler] { platform::runGuarded(platform::prompts(), [&] { (this->*handler)(); }); };
    };
    connect(FontButton, &QPushButton::clicked, this, guarded(&TfmPrint::FontClick));
    connect(PrinterButton, &QPushButton::clicked, this, guarded(&TfmPrint::PrinterSetupClick));
    connect(PreviewButton, &QPushButton::clicked, this, guarded(&TfmPrint::PreviewClick));
    connect(PrintButton, &QPushButton::clicked, this, guarded(&TfmPrint::PrintClick));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmPrint::setDocument(LineSource lines, const QString& title, const QString& path) {
    m_lines = std::move(lines);
    StringsPrinter1.Title = title;
    m_path = path;
}

void TfmPrint::setDialogRunner(std::function<void(QDialog&)> runner) {
    m_runDialog = std::move(runner);
    StringsPrinter1.runDialog = m_runDialog;
}

void TfmPrint::refreshPrinter() {
    m_printer.refreshPrinters();
    PrinterLabel->setText(StringsPrinter1.GetPrinterName());
    const bool landscape = m_printer.currentPrinter() &&
                           m_printer.record().orientation != platform::DeviceSettings::kPortrait;
    OrientationLabel->setText(landscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"));
    PaperLabel->setText(StringsPrinter1.GetPaperName());
}

void TfmPrint::copySettings() {
    TStringsPrinterProperties& p = StringsPrinter1.Properties;
    StringsPrinter1.Font = PrintFont;
    p.SetColumnCount(columnItems->checkedId() + 1);
    p.SetColumnSpace(ColumnSpaceEdit->value());
    p.Header = toSjis(HeaderEdit1->text());
    p.Footer = toSjis(FooterEdit1->text());
    p.HeaderAlign = alignOf(headerItems->checkedId());
    p.FooterAlign = alignOf(footerItems->checkedId());
    p.LineNumber = NumberCheckBox1->isChecked();
    p.SetMarginLeft(MarginLeftEdit->value());
    p.SetMarginRight(MarginRightEdit->value());
    p.SetMarginTop(MarginTopEdit->value());
    p.SetMarginBottom(MarginBottomEdit->value());
    p.SetMarginLine(MarginLineEdit->value());
    // Names in documents are Shift-JIS; the file system's are UTF-8.
    p.FileName = toSjis(m_path);
}

void TfmPrint::PreviewClick() {
    if (m_lines.count == 0)
        return;
    copySettings();
    StringsPrinter1.PreviewStrings(m_lines);
}

QString TfmPrint::askPdfFile() {
    const QString name = m_path.isEmpty() ? QStringLiteral("tabulo") : QFileInfo(m_path).completeBaseName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const auto chosen = platform::prompts().saveFile(
        QStringLiteral("PDF ファイルに印刷"), QDir(folder).filePath(name + QStringLiteral(".pdf")),
        QStringLiteral("PDF ファイル(*.pdf)|*.pdf"));
    return chosen.value_or(QString());
}

void TfmPrint::PrintClick() {
    if (m_lines.count == 0)
        return;
    copySettings();
    if (m_printer.currentIsBuiltinPdf()) {
        StringsPrinter1.PdfFileName = askPdfFile();
        if (StringsPrinter1.PdfFileName.isEmpty())
            return;
    }
    StringsPrinter1.PrintStrings(m_lines);
    accept();
}

void TfmPrint::PrinterSetupClick() {
    PrinterSetupDialog setup(m_printer, this);
    m_runDialog(setup);
    if (setup.result() == QDialog::Accepted) {
        setup.apply();
        refreshPrinter();
    }
}

void TfmPrint::FontClick() {
    if (const auto font = platform::prompts().chooseFont(PrintFont))
        PrintFont = *font;
}

}  // namespace tabulo::print
