#include "search/window/set_files_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/error_handler.h"
#include "platform/local_path.h"

namespace tabulo::search {

namespace {

QString shown(const std::string& path) {
    return platform::fromLocalPath(path);
}

QString filesText(std::size_t count) {
    return QString::number(count) + QStringLiteral(" Files");
}

}  // namespace

TfmSetFiles::TfmSetFiles(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmSetFiles"));
    setWindowTitle(QStringLiteral("Cat 連結ファイルの選択"));
    resize(640, 360);

    m_left = new QListWidget(this);
    m_left->setObjectName(QStringLiteral("ListBox1"));
    m_right = new QListWidget(this);
    m_right->setObjectName(QStringLiteral("ListBox2"));
    m_left->installEventFilter(this);
    connect(m_left, &QListWidget::itemDoubleClicked, this, [this] { moveSelectedRight(); });

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    connect(addToolButton("SpeedButton1", QStringLiteral("→"), QStringLiteral("処理対象ファイルに追加")),
            &QToolButton::clicked, this, [this] { moveSelectedRight(); });
    connect(addToolButton("SpeedButton4", QStringLiteral("⇒"), QStringLiteral("全てを処理対象にする")),
            &QToolButton::clicked, this, [this] {
                m_selection.moveAllRight();
                showLists();
            });
    connect(addToolButton("SpeedButton3", QStringLiteral("昇"), QStringLiteral("昇順に並び替え")),
            &QToolButton::clicked, this, [this] {
                m_selection.sortAscending();
                showLists();
            });
    connect(addToolButton("SpeedButton5", QStringLiteral("降"), QStringLiteral("降順に並び替え")),
            &QToolButton::clicked, this, [this] {
                m_selection.sortDescending();
                showLists();
            });
    for (QToolButton* b : findChildren<QToolButton*>()) middle->addWidget(b);
    middle->addStretch();

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_left, 1);
    lists->addLayout(middle);
    lists->addWidget(m_right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* reset = addButton("Button2", QStringLiteral("やり直し"), QStringLiteral("始めに戻る"));
    connect(reset, &QPushButton::clicked, this, [this] {
        m_selection.reset();
        showLists();
        raise();
    });
    QPushButton* run = addButton("Button1", QStringLiteral("連結実行"), QStringLiteral("右画面のファイルを連結します"));
    connect(run, &QPushButton::clicked, this, [this] { join(); });
    QPushButton* close = addButton("Button3", QStringLiteral("閉じる"), QStringLiteral("処理を中止する"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {reset, run, close}) buttons->addWidget(b);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        status->addWidget(m_panels[i], i == 2 ? 1 : 0);
    }
    m_panels[2]->setText(QStringLiteral("処理ファイル ： Enter → 右に移動"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    layout->addWidget(status);
    showLists();
}

QToolButton* TfmSetFiles::addToolButton(const char* name, const QString& glyph, const QString& hint) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(glyph);
    button->setToolTip(hint);
    return button;
}

QPushButton* TfmSetFiles::addButton(const char* name, const QString& caption, const QString& hint) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);  // Enter in the left list moves a file
    return button;
}

void TfmSetFiles::setInputs(std::vector<std::string> paths) {
    m_result = 0;
    m_selection = CatSelection(std::move(paths));
    showLists();
}

QString TfmSetFiles::panelText(int panel) const {
    return m_panels[panel - 1]->text();
}

bool TfmSetFiles::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_left && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            moveSelectedRight();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfmSetFiles::moveSelectedRight() {
    const int row = m_left->currentRow();
    if (row < 0 || !m_selection.moveRight(static_cast<std::size_t>(row))) return;
    showLists();
    m_left->setCurrentRow(row);
}

void TfmSetFiles::join() {
    if (m_selection.rightCount() == 0) {
        platform::prompts().message(QStringLiteral("右側の窓に処理対象のファイルがありません！"));
        return;
    }
    m_result = 1;
    accept();
}

void TfmSetFiles::showLists() {
    const auto fill = [](QListWidget& list, const std::vector<std::string>& entries) {
        list.clear();
        for (const std::string& entry : entries) list.addItem(shown(entry));
    };
    fill(*m_left, m_selection.left());
    fill(*m_right, m_selection.right());
    m_panels[0]->setText(filesText(m_selection.leftCount()));
    m_panels[1]->setText(filesText(m_selection.rightCount()));
}

}  // namespace tabulo::search
