#include "print/window/str_preview_form.h"

#include "platform/printer_settings.h"
#include "print/engine/print_rounding.h"
#include "print/window/meta_file_list.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tabulo::print {
namespace {

QToolButton* navigationButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    return button;
}

// The tool bar's text buttons are tool buttons, narrow enough that the whole
// bar fits the window's designed width.
QToolButton* textButton(QWidget* parent, const QString& caption) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    return button;
}

}  // namespace

TFormStrPreview::TFormStrPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormStrPreview"));
    setWindowTitle(QStringLiteral("Preview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    PageLabel->setFont(QFont(QStringLiteral("monospace")));
    FirstButton = navigationButton(this, QStyle::SP_MediaSkipBackward, QStringLiteral("FirstButton"));
    PriorButton = navigationButton(this, QStyle::SP_MediaSeekBackward, QStringLiteral("PriorButton"));
    NextButton = navigationButton(this, QStyle::SP_MediaSeekForward, QStringLiteral("NextButton"));
    LastButton = navigationButton(this, QStyle::SP_MediaSkipForward, QStringLiteral("LastButton"));
    HeightButton = textButton(this, QStringLiteral("Adjust Height"));
    WidthButton = textButton(this, QStringLiteral("Adjust Width"));
    HundredButton = textButton(this, QStringLiteral("100%"));
    CloseButton = textButton(this, QStringLiteral("Close"));
    for (QWidget* widget : std::initializer_list<QWidget*>{PageLabel, FirstButton, PriorButton, NextButton, LastButton,
                                                           HeightButton, WidthButton, HundredButton, CloseButton})
        bar->addWidget(widget);
    bar->addStretch();
    layout->addLayout(bar);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    Image1 = new QLabel;
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);

    connect(FirstButton, &QToolButton::clicked, this, [this] { SetMetaFileIndex(0); });
    connect(PriorButton, &QToolButton::clicked, this, [this] { SetMetaFileIndex(m_index - 1); });
    connect(NextButton, &QToolButton::clicked, this, [this] { SetMetaFileIndex(m_index + 1); });
    connect(LastButton, &QToolButton::clicked, this,
            [this] { SetMetaFileIndex(m_list ? m_list->Count() - 1 : 0); });
    connect(HeightButton, &QToolButton::clicked, this, [this] { SetPreviewMode(TPreviewMode::pmHeight); });
    connect(WidthButton, &QToolButton::clicked, this, [this] { SetPreviewMode(TPreviewMode::pmWidth); });
    connect(HundredButton, &QToolButton::clicked, this, [this] { SetPreviewMode(TPreviewMode::pmHundred); });
    connect(CloseButton, &QToolButton::clicked, this, &QDialog::accept);
    resize(520, 459);
}

double TFormStrPreview::ratio() const {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    return screen->logicalDotsPerInchX() / platform::TPrinterSettings::kDotsPerInch;
}

void TFormStrPreview::Execute(const TMetaFileList& list, const PaperOffset& offset,
                              const std::function<void(QDialog&)>& run) {
    m_list = &list;
    m_offset = offset;
    m_mode = TPreviewMode::pmHundred;
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    SetMetaFileIndex(0);
    run(*this);
    m_list = nullptr;
}

void TFormStrPreview::SetMetaFileIndex(int index) {
    const int count = m_list ? m_list->Count() : 0;
    m_index = std::clamp(index, 0, std::max(0, count - 1));
    PageLabel->setText(QString::asprintf("%3d / %3d", m_index + 1, count));
    FirstButton->setEnabled(m_index > 0);
    PriorButton->setEnabled(m_index > 0);
    NextButton->setEnabled(m_index < count - 1);
    LastButton->setEnabled(m_index < count - 1);
    redraw();
}

void TFormStrPreview::SetPreviewMode(TPreviewMode mode) {
    m_mode = mode;
    redraw();
}

QSize TFormStrPreview::sheetSize() const {
    const QSize page = m_list->pageSize();
    return {page.width() + m_offset.left + m_offset.right, page.height() + m_offset.top + m_offset.bottom};
}

void TFormStrPreview::redraw() {
    if (!m_list || m_list->Count() == 0)
        return;
    const QSize sheet = sheetSize();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frame = 2 * ScrollBox1->frameWidth();
    QSize size;
    switch (m_mode) {
    case TPreviewMode::pmHundred:
        size = {roundHalfEven(sheet.width() * ratio()), roundHalfEven(sheet.height() * ratio())};
        break;
    case TPreviewMode::pmWidth: {
        const int width = ScrollBox1->width() - frame - scrollBar;
        size = {width, roundHalfEven(static_cast<double>(width) * sheet.height() / sheet.width())};
        break;
    }
    case TPreviewMode::pmHeight: {
        const int height = ScrollBox1->height() - frame - scrollBar;
        size = {roundHalfEven(static_cast<double>(height) * sheet.width() / sheet.height()), height};
        break;
    }
    }
    size = size.expandedTo(QSize(1, 1));
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(Qt::white);
    const double sx = static_cast<double>(size.width()) / sheet.width();
    const double sy = static_cast<double>(size.height()) / sheet.height();
    const QSize page = m_list->pageSize();
    const int left = roundHalfEven(m_offset.left * sx);
    const int top = roundHalfEven(m_offset.top * sy);
    const int right = roundHalfEven((page.width() + m_offset.left) * sx);
    const int bottom = roundHalfEven((page.height() + m_offset.top) * sy);
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_list->play(painter, m_index, QRectF(left, top, right - left, bottom - top));
    painter.end();
    Image1->setPixmap(QPixmap::fromImage(m_image));
    Image1->resize(size);
    AdjustImagePosition();
}

// The scroll box centres an image smaller than itself; a larger one starts
// at its top-left corner.
void TFormStrPreview::AdjustImagePosition() {
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFormStrPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    AdjustImagePosition();
}

}  // namespace tabulo::print
