#include "graph/window/clip_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabulo::graph {

TfmClipDialog::TfmClipDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ClipDialog"));
    setWindowTitle(QStringLiteral("Copy"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* group = new QGroupBox(this);
    m_framed = new QRadioButton(QStringLiteral("枠付き"), group);
    m_framed->setObjectName(QStringLiteral("rbFrame"));
    auto* plain = new QRadioButton(QStringLiteral("枠なし"), group);
    plain->setObjectName(QStringLiteral("rbNoFrame"));
    m_framed->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_framed);
    groupLayout->addWidget(plain);

    auto* clipboard = new QPushButton(QStringLiteral("Clip"), this);
    clipboard->setObjectName(QStringLiteral("btClipboard"));
    clipboard->setToolTip(QStringLiteral("クリップボードに保存"));
    auto* file = new QPushButton(QStringLiteral("File"), this);
    file->setObjectName(QStringLiteral("btFile"));
    file->setToolTip(QStringLiteral("Jpeg BMP ファイルで保存"));
    auto* cancel = new QPushButton(QStringLiteral("中止"), this);
    cancel->setObjectName(QStringLiteral("btCancel"));
    connect(clipboard, &QPushButton::clicked, this, [this] { choose(false); });
    connect(file, &QPushButton::clicked, this, [this] { choose(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc too

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clipboard);
    buttons->addWidget(file);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void TfmClipDialog::choose(bool file) {
    const bool framed = m_framed->isChecked();
    if (file) {
        m_destination = framed ? CopyDestination::FileFramed : CopyDestination::File;
    } else {
        m_destination = framed ? CopyDestination::ClipboardFramed : CopyDestination::Clipboard;
    }
    accept();
}

}  // namespace tabulo::graph
