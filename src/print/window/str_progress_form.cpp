#include "print/window/str_progress_form.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace tabulo::print {
namespace {

constexpr qint64 kEventInterval = 50;  // ms

}  // namespace

TFormStrProgress::TFormStrProgress(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("FormStrProgress"));
    setWindowTitle(QStringLiteral("TStringsPrinter"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    connect(Button1, &QPushButton::clicked, this, &TFormStrProgress::Button1Click);
    resize(320, 110);
}

void TFormStrProgress::Execute(const QString& caption) {
    Label1->setText(caption);
    ProgressBar1->setValue(0);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
}

bool TFormStrProgress::Progress(const QString& caption, std::size_t maximum, std::size_t position) {
    if (maximum == 0) {
        maximum = 1;
        position = 1;
    }
    if (!m_eventsRun || m_sinceEvents.elapsed() >= kEventInterval) {
        Label1->setText(caption);
        ProgressBar1->setValue(static_cast<int>(std::nearbyint(static_cast<double>(position) / maximum * 100)));
        QApplication::processEvents();
        m_sinceEvents.start();
        m_eventsRun = true;
    }
    return !m_cancelled;
}

void TFormStrProgress::Button1Click() {
    m_cancelled = true;
}

}  // namespace tabulo::print
