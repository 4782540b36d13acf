#include "graph/window/set_printer_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "graph/window/func_window.h"
#include "platform/busy_cursor.h"
#include "platform/error_handler.h"
#include "platform/printer_settings.h"

namespace tabulo::graph {

namespace {

QString number(long value) { return QString::number(value); }

}  // namespace

TfmSetPrinter::TfmSetPrinter(platform::TPrinterSettings& settings, TfmFunc& graph, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_graph(graph) {
    setObjectName(QStringLiteral("fmSetPrinter"));
    setWindowTitle(QStringLiteral("SetPrinter"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    buildControls();
}

void TfmSetPrinter::buildControls() {
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("ComboBox1"));
    m_papers = new QComboBox(this);
    m_papers->setObjectName(QStringLiteral("ComboBox2"));
    auto* orientation = new QGroupBox(QStringLiteral("紙の方向"), this);
    orientation->setObjectName(QStringLiteral("RadioGroup1"));
    m_portrait = new QRadioButton(QStringLiteral("縦"), orientation);
    m_landscape = new QRadioButton(QStringLiteral("横"), orientation);
    m_portrait->setChecked(true);
    auto* orientationLayout = new QHBoxLayout(orientation);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);
    m_color = new QCheckBox(QStringLiteral("カラー"), this);
    m_color->setObjectName(QStringLiteral("chkColor"));

    auto* size = new QGroupBox(QStringLiteral("描画サイズの縮小 10%～100%"), this);
    m_zoomEdit = new QLineEdit(size);
    m_zoomEdit->setObjectName(QStringLiteral("EditXY"));
    m_zoomEdit->setFixedWidth(70);
    m_zoomEdit->setMouseTracking(true);
    m_zoomEdit->installEventFilter(this);
    m_zoomBar = new QSlider(Qt::Horizontal, size);
    m_zoomBar->setObjectName(QStringLiteral("tbZoomXY"));
    m_zoomBar->setRange(10, 200);
    m_zoomBar->setValue(200);
    m_zoomBar->setToolTip(QStringLiteral("印字サイズ変更、CDジャケット121～3mm"));
    m_width = new QLabel(size);
    m_width->setObjectName(QStringLiteral("LabelX"));
    m_height = new QLabel(size);
    m_height->setObjectName(QStringLiteral("LabelY"));
    auto* sizeLayout = new QGridLayout(size);
    sizeLayout->addWidget(m_zoomEdit, 0, 0);
    sizeLayout->addWidget(m_zoomBar, 0, 1, 1, 4);
    sizeLayout->addWidget(new QLabel(QStringLiteral("横"), size), 1, 1);
    sizeLayout->addWidget(m_width, 1, 2);
    sizeLayout->addWidget(new QLabel(QStringLiteral("縦"), size), 1, 3);
    sizeLayout->addWidget(m_height, 1, 4);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_reflect = new QPushButton(QStringLiteral("反 映"), this);
    m_reflect->setObjectName(QStringLiteral("Button2"));
    m_reflect->setToolTip(QStringLiteral("サイズの決定とプレビュー"));
    m_print = new QPushButton(QStringLiteral("印　刷"), this);
    m_print->setObjectName(QStringLiteral("btPrint"));
    m_print->setToolTip(QStringLiteral("プリンターに印刷"));
    m_exit = new QPushButton(QStringLiteral("閉じる"), this);
    m_exit->setObjectName(QStringLiteral("btExit"));

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("プリンター"), this), 0, 0);
    form->addWidget(m_printers, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("紙サイズ"), this), 1, 0);
    form->addWidget(m_papers, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_reflect);
    buttons->addWidget(m_print);
    buttons->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(orientation);
    layout->addWidget(m_color);
    layout->addWidget(size);
    layout->addWidget(m_memo);
    layout->addLayout(buttons);

    connect(m_printers, &QComboBox::activated, this,
            [this](int index) { applyChoice([this, index] { m_settings.SetIndex(index); }); });
    connect(m_papers, &QComboBox::activated, this,
            [this](int index) { applyChoice([this, index] { m_settings.SetPaperSizeIndex(index); }); });
    connect(m_portrait, &QRadioButton::clicked, this,
            [this] { applyChoice([this] { m_settings.SetOrientation(false); }); });
    connect(m_landscape, &QRadioButton::clicked, this,
            [this] { applyChoice([this] { m_settings.SetOrientation(true); }); });
    connect(m_color, &QCheckBox::clicked, this,
            [this](bool on) { applyChoice([this, on] { m_settings.SetColor(on); }); });
    connect(m_zoomBar, &QSlider::valueChanged, this, [this](int value) {
        m_graph.setZoom(value);
        updateZoomFields();
    });
    connect(m_zoomEdit, &QLineEdit::returnPressed, this, &TfmSetPrinter::applyZoomEdit);
    connect(m_reflect, &QPushButton::clicked, this,
            [this] { platform::runGuarded(platform::prompts(), [this] { reflect(); }); });
    connect(m_print, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);  // Esc too
}

int TfmSetPrinter::zoom() const { return m_zoomBar->value(); }
void TfmSetPrinter::setZoom(int zoom) { m_zoomBar->setValue(zoom); }
QString TfmSetPrinter::zoomText() const { return m_zoomEdit->text(); }
QString TfmSetPrinter::memoText() const { return m_memo->toPlainText(); }

void TfmSetPrinter::prepare() {
    for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(true);
    m_print->setText(QStringLiteral("印　刷"));
    m_graph.setZoom(zoom());
    refresh();
}

void TfmSetPrinter::refresh() {
    platform::BusyCursor busy;
    m_filling = true;
    m_printers->clear();
    m_printers->addItems(m_settings.printerNames());
    m_printers->setCurrentIndex(m_settings.GetIndex());
    m_papers->clear();
    const QStringList papers = m_settings.GetPaperSizeNames();
    m_papers->addItems(papers);
    const int paper = m_settings.GetPaperSizeIndex();
    m_papers->setCurrentIndex(paper);
    m_graph.setPanelText(4, QStringLiteral("用紙:") + papers.value(paper));
    m_filling = false;
    if (m_color->isEnabled()) m_color->setChecked(m_settings.GetColor());
    if (m_settings.record().has(platform::DeviceSettings::Orientation)) {
        (m_settings.GetOrientation() ? m_landscape : m_portrait)->setChecked(true);
    }

    const QSize printable = m_settings.printableSize();
    const QSize paperSize = m_settings.paperSize();
    const QSize dpi = m_settings.resolution();
    const QPoint offset = m_settings.offset();
    const platform::TPrinterSettings::Quality quality = m_settings.GetQuality();
    const QStringList lines = {
        QStringLiteral("印刷情報 (mm * 10)"),
        QString(),
        QStringLiteral("印字の範囲 (横") + number(printable.width()) + QStringLiteral(" , 縦") +
            number(printable.height()) + QStringLiteral(")"),
        QStringLiteral("用紙サイズ (横") + number(paperSize.width()) + QStringLiteral(" , 縦") +
            number(paperSize.height()) + QStringLiteral(")"),
        QString(),
        QStringLiteral("------------------------------"),
        QString(),
        QStringLiteral("DPI           = (") + number(dpi.width()) + QStringLiteral(",") + number(dpi.height()) +
            QStringLiteral(")"),
        QStringLiteral("Offset        = (") + number(offset.x()) + QStringLiteral(",") + number(offset.y()) +
            QStringLiteral(")"),
        QStringLiteral("ColorBitCount = ") + number(m_settings.colorBits()),
        QStringLiteral("PrintQuality  =(") + number(quality.quality) + QStringLiteral(",") +
            number(quality.yResolution) + QStringLiteral(")"),
    };
    m_memo->setPlainText(lines.join(u'\n'));
    updateZoomFields();
}

void TfmSetPrinter::updateZoomFields() {
    const int z = zoom();
    m_zoomEdit->setText(QStringLiteral("%1%").arg(z / 2.0, 3, 'f', 1));
    const QSize printable = m_settings.printableSize();
    m_width->setText(number(static_cast<long>(printable.width() * z * 0.0005 + 0.5)) + QStringLiteral("mm"));
    m_height->setText(number(static_cast<long>(printable.height() * z * 0.0005 + 0.5)) + QStringLiteral("mm"));
}

void TfmSetPrinter::applyZoomEdit() {
    QString text = m_zoomEdit->text();
    const qsizetype at = text.indexOf(u'%');
    if (at >= 0) text.remove(at, 1);
    bool ok = false;
    const double r = text.toDouble(&ok);
    if (!ok || !std::isfinite(r) || std::trunc(2 * r) <= 0) return;
    setZoom(static_cast<int>(std::min(2 * r, 1000.0)));
    updateZoomFields();
}

bool TfmSetPrinter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_zoomEdit) {
        if (event->type() == QEvent::KeyPress) {
            // Digits, "." and control keys only.
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit() && text.at(0) != u'.') return true;
        } else if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseMove) {
            applyZoomEdit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfmSetPrinter::applyChoice(const std::function<void()>& change) {
    if (m_filling) return;
    platform::runGuarded(platform::prompts(), [&] {
        change();
        m_settings.ApplySettings();
        refresh();
    });
}

void TfmSetPrinter::reflect() {
    refresh();
    m_graph.setZoom(zoom());
    m_graph.resizeAndRedraw();
}

}  // namespace tabulo::graph
