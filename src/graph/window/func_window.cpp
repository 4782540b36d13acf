#include "graph/window/func_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "calc/result_format.h"
#include "graph/engine/picture_error.h"
#include "graph/window/clip_dialog.h"
#include "graph/window/graph_paint_box.h"
#include "graph/window/graph_printer.h"
#include "graph/window/graph_rendering.h"
#include "graph/window/picture_file.h"
#include "graph/window/picture_save_name.h"
#include "graph/window/qt_graph_surface.h"
#include "graph/window/set_printer_dialog.h"
#include "platform/clipboard_picture.h"
#include "sjis/sjis_codec.h"
#include "platform/error_handler.h"
#include "platform/modal_dialogs.h"

namespace tabulo::graph {

namespace {

constexpr int kGraphPanelHeight = 90;
constexpr int kPicturePanelHeight = 33;
constexpr const char* kOpenFilter = "グラフィック（*.BMP *.JPG *.JPEG）|*.BMP;*.JPG;*.JPEG";
// Pending events run between samples at most this often, so that a long
// drawing stays responsive without spending its time in the event loop.
constexpr int kPumpIntervalMs = 40;

CheckState checkStateOf(const QCheckBox& box) {
    switch (box.checkState()) {
    case Qt::Checked: return CheckState::Checked;
    case Qt::PartiallyChecked: return CheckState::Grayed;
    default: return CheckState::Unchecked;
    }
}

// Reads a decimal integer after removing the first `suffix`; -1 when the
// rest is not one.
int fieldNumber(QString text, const QString& suffix) {
    const qsizetype at = text.indexOf(suffix);
    if (at >= 0) text.remove(at, suffix.size());
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : -1;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

double screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

}  // namespace

TfmFunc::TfmFunc(calc::TExprCompo& calculator, GraphPrinter& printer, std::function<GraphKind()> kind,
                 std::function<void(GraphKind)> setKind, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_calc(calculator), m_printer(printer), m_kind(std::move(kind)),
      m_setKind(std::move(setKind)) {
    setObjectName(QStringLiteral("fmFunc"));
    setWindowTitle(QStringLiteral("関数グラフ"));
    buildControls();
    m_clipDialog = new TfmClipDialog(this);
    resize(482, 666);
}

TfmFunc::~TfmFunc() = default;

void TfmFunc::buildControls() {
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFixedHeight(kGraphPanelHeight);

    m_open = new QPushButton(QStringLiteral("開く"), m_panel);
    m_open->setObjectName(QStringLiteral("BBtnOpengr"));
    m_open->setToolTip(QStringLiteral("BMP,JPEGファイルの読み込み"));
    m_print = speedButton(m_panel, "sbPrint", QStringLiteral("印"), QStringLiteral("サイズ変更と印刷"));
    m_redraw = speedButton(m_panel, "SpeedButton2", QStringLiteral("描"), QStringLiteral("関数グラフの再描画"));
    m_paste = speedButton(m_panel, "sbClipToPaint", QStringLiteral("貼"), QStringLiteral("クリップボードから貼り付け"));
    m_save = speedButton(m_panel, "SpeedButton1", QStringLiteral("保"), QStringLiteral("Jpeg BMP ファイルで保存"));
    m_exit = new QPushButton(QStringLiteral("終了"), m_panel);
    m_exit->setObjectName(QStringLiteral("btExit"));

    m_lineLabel = new QLabel(QStringLiteral("Line"), m_panel);
    m_lineWidth = new QSpinBox(m_panel);
    m_lineWidth->setObjectName(QStringLiteral("CSpin"));
    m_lineWidth->setRange(1, 4);
    m_lineWidth->setValue(1);
    m_lineWidth->setToolTip(QStringLiteral("座標の線の太さ"));
    m_fontLabel = new QLabel(QStringLiteral("Ｆｏｎｔ"), m_panel);
    m_fontSize = new QSpinBox(m_panel);
    m_fontSize->setObjectName(QStringLiteral("CSpinFont"));
    m_fontSize->setRange(3, 20);
    m_fontSize->setValue(9);

    m_grid = new QCheckBox(QStringLiteral("Grid"), m_panel);
    m_grid->setObjectName(QStringLiteral("CheckBox1"));
    m_grid->setTristate(true);
    m_grid->setCheckState(Qt::Checked);
    m_grid->setToolTip(QStringLiteral("座標のメッシュOn,Off"));
    m_numbers = new QCheckBox(QStringLiteral("軸目盛"), m_panel);
    m_numbers->setObjectName(QStringLiteral("CheckBox2"));
    m_numbers->setTristate(true);
    m_numbers->setCheckState(Qt::PartiallyChecked);
    m_numbers->setToolTip(QStringLiteral("座標の目盛り（３段階）"));
    m_labels = new QCheckBox(QStringLiteral("式表示"), m_panel);
    m_labels->setObjectName(QStringLiteral("CheckBox3"));
    m_labels->setChecked(true);
    m_labels->setToolTip(QStringLiteral("左下に関数式を表示、非表示"));

    m_scaleLabel = new QLabel(QStringLiteral("間隔"), m_panel);
    m_edit2 = new QLineEdit(m_panel);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setFixedWidth(60);
    m_scaleBar = new QSlider(Qt::Horizontal, m_panel);
    m_scaleBar->setObjectName(QStringLiteral("TrackBar1"));
    m_scaleBar->setRange(10, 500);
    m_scaleBar->setValue(100);
    m_scaleBar->setToolTip(QStringLiteral("目盛りの間隔変更0.1mm"));
    m_precisionLabel = new QLabel(QStringLiteral("精度"), m_panel);
    m_edit3 = new QLineEdit(m_panel);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_edit3->setFixedWidth(60);
    m_precisionBar = new QSlider(Qt::Horizontal, m_panel);
    m_precisionBar->setObjectName(QStringLiteral("TrackBar2"));
    m_precisionBar->setRange(1, 1000);
    m_precisionBar->setValue(200);
    m_precisionBar->setToolTip(QStringLiteral("計算精度"));

    m_edit1 = new QLineEdit(m_panel);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    QFont editFont = m_edit1->font();
    editFont.setPixelSize(16);
    m_edit1->setFont(editFont);
    m_edit1->setToolTip(
        QStringLiteral("関数式 ； 関数式 ； ．．　左クリック→原点移動、右ドラッグ→範囲コピー"));

    auto* row1 = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_open, m_print, m_redraw, m_paste, m_save, m_lineLabel,
                                                       m_lineWidth, m_fontLabel, m_fontSize, m_grid, m_numbers,
                                                       m_labels}) {
        row1->addWidget(w);
    }
    row1->addStretch();
    row1->addWidget(m_exit);
    auto* row2 = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_scaleLabel, m_edit2, m_scaleBar, m_precisionLabel, m_edit3,
                                                       m_precisionBar}) {
        row2->addWidget(w);
    }
    auto* panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->setSpacing(2);
    panelLayout->addLayout(row1);
    panelLayout->addLayout(row2);
    panelLayout->addWidget(m_edit1);

    m_paintBox = new GraphPaintBox;
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setWidget(m_paintBox);
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    const int widths[5] = {170, 50, 50, 60, 50};
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(m_status);
        m_panels[i]->setMinimumWidth(widths[i]);
        m_status->addWidget(m_panels[i], i == 4 ? 1 : 0);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_panel);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_status);
    m_paste->hide();

    connect(m_open, &QPushButton::clicked, this, [this] {
        platform::runGuarded(platform::prompts(), [this] { openPicture(QString()); });
    });
    connect(m_redraw, &QToolButton::clicked, this, &TfmFunc::redraw);
    connect(m_print, &QToolButton::clicked, this,
            [this] { platform::runGuarded(platform::prompts(), [this] { print(); }); });
    connect(m_paste, &QToolButton::clicked, this,
            [this] { platform::runGuarded(platform::prompts(), [this] { pastePicture(); }); });
    connect(m_save, &QToolButton::clicked, this,
            [this] { platform::runGuarded(platform::prompts(), [this] { saveDrawing(); }); });
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(m_lineWidth, &QSpinBox::valueChanged, this, &TfmFunc::redraw);
    connect(m_fontSize, &QSpinBox::valueChanged, this, &TfmFunc::redraw);
    for (QCheckBox* box : {m_grid, m_numbers, m_labels}) connect(box, &QCheckBox::clicked, this, &TfmFunc::redraw);
    connect(m_scaleBar, &QSlider::valueChanged, this, [this] { writeScaleEdit(); });
    connect(m_precisionBar, &QSlider::valueChanged, this,
            [this](int value) { m_edit3->setText(QString::number(value) + QStringLiteral("回")); });
    connect(m_edit1, &QLineEdit::returnPressed, this, &TfmFunc::redraw);
    connect(m_edit2, &QLineEdit::returnPressed, this, [this] { applyScaleEdit(true); });
    connect(m_edit3, &QLineEdit::returnPressed, this, [this] { applyPrecisionEdit(true); });
    for (QWidget* w : std::initializer_list<QWidget*>{m_edit2, m_edit3, m_scaleBar}) w->installEventFilter(this);
    m_edit2->setMouseTracking(true);
    m_edit3->setMouseTracking(true);

    m_paintBox->onPress = [this](QMouseEvent* e) { mousePress(e); };
    m_paintBox->onMove = [this](QMouseEvent* e) { mouseMove(e); };
    m_paintBox->onRelease = [this](QMouseEvent* e) { mouseRelease(e); };
    writeScaleEdit();
    m_edit3->setText(QString::number(m_precisionBar->value()) + QStringLiteral("回"));
}

bool TfmFunc::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit2 || watched == m_edit3) {
        if (event->type() == QEvent::KeyPress) {
            // Only digits and control keys are typed into the scale fields.
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !(text.at(0) >= u'0' && text.at(0) <= u'9')) return true;
        } else if (event->type() == QEvent::FocusOut || event->type() == QEvent::MouseMove) {
            if (watched == m_edit2) applyScaleEdit(false);
            if (watched == m_edit3) applyPrecisionEdit(false);
        }
    } else if (watched == m_scaleBar && event->type() == QEvent::FocusOut) {
        redraw();
    }
    return QWidget::eventFilter(watched, event);
}

int TfmFunc::scale() const { return m_scaleBar->value(); }
int TfmFunc::precision() const { return m_precisionBar->value(); }

double TfmFunc::screenScale() const { return screenDpi() / 254.0; }

QString TfmFunc::panelText(int panel) const { return m_panels[panel]->text(); }
void TfmFunc::setPanelText(int panel, const QString& text) { m_panels[panel]->setText(text); }

void TfmFunc::setZoom(int zoom) { m_zoom = std::clamp(zoom, 10, 200); }

void TfmFunc::writeScaleEdit() {
    m_edit2->setText(QString::fromStdString(calc::formatResult(m_scaleBar->value() / 10.0L)) + QStringLiteral("mm"));
}

void TfmFunc::applyScaleEdit(bool redrawAfter) {
    const int number = fieldNumber(m_edit2->text(), QStringLiteral("mm"));
    if (number <= 0) return;
    m_scaleBar->setValue(number > 50 ? 500 : number * 10);
    writeScaleEdit();
    if (redrawAfter) redraw();
}

void TfmFunc::applyPrecisionEdit(bool redrawAfter) {
    const int number = fieldNumber(m_edit3->text(), QStringLiteral("回"));
    if (number <= 0) return;
    m_precisionBar->setValue(number);
    m_edit3->setText(QString::number(m_precisionBar->value()) + QStringLiteral("回"));
    if (redrawAfter) redraw();
}

void TfmFunc::setPictureLayout(bool on) {
    m_pictureLayout = on;
    for (QWidget* w : std::initializer_list<QWidget*>{m_edit1, m_edit2, m_edit3, m_scaleBar, m_precisionBar, m_grid,
                                                       m_numbers, m_labels, m_lineWidth, m_fontSize, m_redraw,
                                                       m_lineLabel, m_fontLabel, m_scaleLabel, m_precisionLabel}) {
        w->setVisible(!on);
    }
    m_paste->setVisible(on);
    m_panel->setFixedHeight(on ? kPicturePanelHeight : kGraphPanelHeight);
}

void TfmFunc::computeDrawingArea() {
    m_printable = m_printer.printableSize();
    m_width = m_zoom * m_printable.width() / 200;
    m_height = m_zoom * m_printable.height() / 200;
    m_panels[0]->setText(QStringLiteral("印刷範囲 横") + QString::number(std::lround(m_width / 10.0)) +
                         QStringLiteral("mm 縦") + QString::number(std::lround(m_height / 10.0)) + QStringLiteral("mm"));
}

void TfmFunc::showGraph() {
    m_printer.choosePaper();
    m_panels[4]->setText(QStringLiteral("用紙:") + m_printer.paperName() + QStringLiteral("  右クリックでトリミング"));
    computeDrawingArea();
    m_origin = QPoint(m_width / 2, m_height / 2);
    sizePaintBox();
    writeScaleEdit();
    m_edit3->setText(QString::number(m_precisionBar->value()) + QStringLiteral("回"));
    setPictureLayout(m_kind() == GraphKind::Picture);
    show();
    raise();
    activateWindow();
    redraw();
}

void TfmFunc::sizePaintBox() {
    m_paintBox->resize(static_cast<int>(m_printable.width() / 2.5), static_cast<int>(m_printable.height() / 2.5));
}

void TfmFunc::resizeAndRedraw() {
    computeDrawingArea();
    sizePaintBox();
    redraw();
}

void TfmFunc::print() {
    if (!m_setPrinter) return;
    m_setPrinter->prepare();
    if (const QWidget* owner = parentWidget()) {
        m_setPrinter->adjustSize();
        const QRect main = owner->geometry();
        m_setPrinter->move(main.left() + (main.width() - m_setPrinter->width()) / 2, main.top() + 100);
    }
    runDialog(*m_setPrinter);
    if (m_setPrinter->result() != QDialog::Accepted) return;
    // The graph origin keeps its page position.
    resizeAndRedraw();

    QPrinter printer(QPrinter::HighResolution);
    if (m_printer.configure(printer)) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const std::optional<QString> name = platform::prompts().saveFile(
            QString(), folder + QStringLiteral("/Tabulo Graphic.pdf"), QStringLiteral("PDF(*.pdf)|*.pdf"));
        if (!name || name->isEmpty()) return;
        printer.setOutputFileName(*name);
    }
    if (!printGraphPage(printer, m_calc, pageOptions(), &m_picture)) {
        platform::prompts().message(QStringLiteral("印刷を開始できません"));
    }
}

PageOptions TfmFunc::pageOptions() const {
    PageOptions options;
    options.kind = m_kind();
    options.specification = sjis::SjisCodec::instance().fromUtf8Lossy(m_edit1->text().toStdString());
    options.view = {m_width, m_height, m_origin.x(), m_origin.y(), scale(), precision()};
    options.lineWidth = m_lineWidth->value();
    options.fontSize = m_fontSize->value();
    options.grid = checkStateOf(*m_grid);
    options.numbers = checkStateOf(*m_numbers);
    options.labels = m_labels->isChecked();
    options.pictureWidth = m_picture.isNull() ? 0 : m_picture.width();
    options.pictureHeight = m_picture.isNull() ? 0 : m_picture.height();
    return options;
}

void TfmFunc::redraw() {
    // A redraw asked for while curves are being drawn stops that drawing
    // and starts again with the newest settings.
    if (m_drawing) {
        m_redrawPending = true;
        return;
    }
    m_drawing = true;
    do {
        m_redrawPending = false;
        drawScreen(true);
    } while (m_redrawPending);
    m_drawing = false;
}

void TfmFunc::drawScreen(bool withCurves) {
    QImage image(m_paintBox->size(), QImage::Format_RGB32);
    const double dotsPerMetre = screenDpi() / 0.0254;
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerMetre)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerMetre)));
    image.fill(Qt::white);
    PageOptions options = pageOptions();
    if (!withCurves) options.specification.clear();
    CurvesResult result;
    {
        QPainter painter(&image);
        QtGraphSurface surface(painter, image, &m_picture, true);
        QElapsedTimer sincePump;
        sincePump.start();
        result = drawGraphPage(surface, m_calc, options, [this, &sincePump] {
            if (sincePump.elapsed() >= kPumpIntervalMs) {
                QCoreApplication::processEvents();
                sincePump.restart();
            }
            return !m_redrawPending;
        });
    }
    if (result.stopped) return;
    m_paintBox->setImage(std::move(image));
    if (options.kind == GraphKind::Picture) {
        m_edit1->clear();
        setPictureLayout(true);
    }
    // An over-long specification is reported once, not at every redraw.
    const char* message = specificationMessage(result.status);
    if (*message && options.specification != m_reportedSpecification) {
        m_reportedSpecification = options.specification;
        platform::prompts().message(QString::fromUtf8(message));
    } else if (!*message) {
        m_reportedSpecification.clear();
    }
}

bool TfmFunc::openPicture(const QString& path) {
    QString name = path;
    if (name.isEmpty()) {
        const std::optional<QString> chosen =
            platform::prompts().openFile(QString(), QString(), QString::fromUtf8(kOpenFilter));
        if (!chosen || chosen->isEmpty()) return false;
        name = *chosen;
    }
    if (pictureFormatOf(name) == PictureFormat::Unsupported) {
        platform::prompts().message(name + QStringLiteral(" はサポートされていない画像形式です"));
        return false;
    }
    try {
        m_picture = readPicture(name);
    } catch (const EPictureError& error) {
        platform::prompts().message(QString::fromUtf8(error.what()));
        return false;
    }
    drawScreen(false);
    return true;
}

void TfmFunc::pastePicture() {
    const std::optional<QImage> picture = platform::clipboardPicture();
    if (!picture) {
        platform::prompts().message(QStringLiteral("クリップボードに画像がありません"));
        return;
    }
    if (static_cast<long long>(picture->width()) * picture->height() > kMaxPicturePixels) {
        platform::prompts().message(QString::fromUtf8(kPictureTooLargeMessage));
        return;
    }
    m_picture = *picture;
    drawScreen(false);
}

void TfmFunc::saveDrawing() {
    const QImage bitmap = renderGraphBitmap(m_paintBox->size(), screenDpi(), m_calc, pageOptions(), &m_picture);
    const QString name = askPictureSaveName();
    if (!name.isEmpty()) writePicture(bitmap, name);
}

void TfmFunc::mousePress(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
        const double s = screenScale();
        if (at.x() > 0 && at.x() < m_width * s && at.y() > 0 && at.y() < m_height * s) {
            m_origin = QPoint(static_cast<int>(at.x() / s), static_cast<int>(at.y() / s));
            redraw();
        }
    } else if (event->button() == Qt::RightButton) {
        if (m_selectStart.isNull()) m_selectStart = at;
        m_selectEnd = at;
        m_selecting = true;
    }
}

void TfmFunc::mouseMove(QMouseEvent* event) {
    if (!m_selecting) return;
    m_selectEnd = event->position().toPoint();
    m_paintBox->setRubberBand(QRect(m_selectStart, m_selectEnd).normalized(), true);
    const int dx = m_selectEnd.x() - m_selectStart.x();
    const int dy = m_selectEnd.y() - m_selectStart.y();
    m_panels[1]->setText(QStringLiteral("X=") + QString::number(std::abs(dx)));
    m_panels[2]->setText(QStringLiteral("Y=") + QString::number(std::abs(dy)));
    if (dy != 0 && m_height != 0) {
        const long r = static_cast<long>((static_cast<double>(dx) / dy + 0.005) * 100);
        const long area = static_cast<long>((static_cast<double>(m_width) / m_height + 0.005) * 100);
        m_panels[3]->setText(r == area ? QStringLiteral("Similar")
                                       : QStringLiteral("X/Y=") + QString::fromStdString(calc::formatResult(r * 0.01L)));
    }
}

void TfmFunc::mouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::RightButton || !m_selecting) return;
    m_selectEnd = event->position().toPoint();
    m_paintBox->setRubberBand({}, false);
    platform::runGuarded(platform::prompts(), [this] { copySelection(); });
    m_selectStart = m_selectEnd = QPoint(0, 0);
    m_selecting = false;
    redraw();
    for (int i = 1; i <= 3; ++i) m_panels[i]->clear();
}

void TfmFunc::copySelection() {
    m_clipDialog->resetDestination();
    m_clipDialog->move(geometry().left() + 10, geometry().top() + 2);
    runDialog(*m_clipDialog);
    const CopyDestination destination = m_clipDialog->destination();
    if (destination == CopyDestination::Cancelled) return;
    const int left = std::min(m_selectStart.x(), m_selectEnd.x()) - 1;
    const int top = std::min(m_selectStart.y(), m_selectEnd.y()) - 1;
    const int right = std::max(m_selectStart.x(), m_selectEnd.x());
    const int bottom = std::max(m_selectStart.y(), m_selectEnd.y());
    QImage copy = m_paintBox->image().copy(QRect(left, top, right - left, bottom - top));
    if (destination == CopyDestination::ClipboardFramed || destination == CopyDestination::FileFramed) {
        // The selection rectangle, drawn black, frames the copy.
        QPainter painter(&copy);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(QRect(m_selectStart, m_selectEnd).normalized().translated(-left, -top));
    }
    if (destination == CopyDestination::ClipboardFramed || destination == CopyDestination::Clipboard) {
        platform::setClipboardPicture(copy);
        return;
    }
    const QString name = askPictureSaveName();
    if (!name.isEmpty()) writePicture(copy, name);
}

void TfmFunc::runDialog(QDialog& dialog) {
    if (m_runDialog) {
        m_runDialog(dialog);
    } else {
        platform::runModal(dialog);
    }
}

void TfmFunc::closeEvent(QCloseEvent* event) {
    setPictureLayout(false);
    m_setKind(GraphKind::Function);
    emit closed();
    QWidget::closeEvent(event);
}

}  // namespace tabulo::graph
