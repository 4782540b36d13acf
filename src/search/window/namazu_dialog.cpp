#include "search/window/namazu_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "platform/ini_file.h"
#include "search/engine/namazu_command.h"
#include "search/window/find_history.h"

namespace tabulo::search {
namespace {

const QString kHistorySection = QStringLiteral("NamazuString");
const QString kOptionSection = QStringLiteral("NamazuOption");
const QString kOptionKey = QStringLiteral("NamazuOpt");
const QString kIndexKey = QStringLiteral("NamazuIndex");

QString defaultOptions() {
    return QString::fromLatin1(kNamazuDefaultOptions.data(), static_cast<qsizetype>(kNamazuDefaultOptions.size()));
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x3000);
}

// Spaces, tabs and full-width spaces off both ends.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.mid(first, last - first);
}

}  // namespace

TfmNamazu::TfmNamazu(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmNamazu"));
    setWindowTitle(QStringLiteral("Namazu"));
    setModal(false);

    m_query = new QComboBox(this);
    m_query->setObjectName(QStringLiteral("ComboBox1"));
    m_query->setEditable(true);
    m_query->setInsertPolicy(QComboBox::NoInsert);
    m_query->setMinimumWidth(300);
    m_options = new QLineEdit(this);
    m_options->setObjectName(QStringLiteral("Edit1"));
    m_indexes = new QLineEdit(this);
    m_indexes->setObjectName(QStringLiteral("Edit2"));
    m_indexes->setPlaceholderText(QStringLiteral("空欄: namazurc の既定の索引"));
    m_indexes->setToolTip(QStringLiteral("索引のフォルダ。複数はスペースで区切り、スペースを含む名前は \"\" で囲む"));
    m_searchButton = new QToolButton(this);
    m_searchButton->setObjectName(QStringLiteral("SpeedButton1"));
    m_searchButton->setText(QStringLiteral("検索"));
    m_exit = new QPushButton(QStringLiteral("キャンセル"), this);
    m_exit->setObjectName(QStringLiteral("btExit"));
    m_exit->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("検索文字列"), this), 0, 0);
    grid->addWidget(m_query, 0, 1);
    grid->addWidget(m_searchButton, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("オプション"), this), 1, 0);
    grid->addWidget(m_options, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("索引フォルダ"), this), 2, 0);
    grid->addWidget(m_indexes, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_exit);
    grid->addLayout(buttons, 3, 0, 1, 3);

    connect(m_searchButton, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_query, &QComboBox::editTextChanged, this, [this] { queryChanged(); });
    connect(m_query->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (!trimBlanks(m_query->currentText()).isEmpty()) SpeedButton1Click();
    });
}

void TfmNamazu::showEvent(QShowEvent* event) {
    loadSettings();
    m_searchButton->setEnabled(!m_query->currentText().isEmpty());
    QDialog::showEvent(event);
}

void TfmNamazu::hideEvent(QHideEvent* event) {
    saveSettings();
    QDialog::hideEvent(event);
}

void TfmNamazu::queryChanged() {
    m_searchButton->setEnabled(!trimBlanks(m_query->currentText()).isEmpty());
}

void TfmNamazu::loadSettings() {
    const QString query = m_query->currentText();
    m_query->clear();
    m_query->addItems(readFindHistory(kHistorySection));
    m_query->setCurrentText(query);
    const platform::IniFile ini;
    m_options->setText(ini.readString(kOptionSection, kOptionKey, defaultOptions()));
    m_indexes->setText(ini.readString(kOptionSection, kIndexKey, QString()));
}

void TfmNamazu::saveSettings() {
    writeFindHistory(kHistorySection, historyOf(*m_query));
    platform::IniFile ini;
    ini.writeString(kOptionSection, kOptionKey, m_options->text());
    ini.writeString(kOptionSection, kIndexKey, m_indexes->text());
}

void TfmNamazu::SpeedButton1Click() {
    const QString query = trimBlanks(m_query->currentText());
    QString options = trimBlanks(m_options->text());
    if (options.isEmpty()) {
        options = defaultOptions();
        m_options->setText(options);
    }
    if (query.isEmpty()) return;
    if (m_search) m_search({query, options, trimBlanks(m_indexes->text())});
    addToHistory(*m_query, query);
    saveSettings();
}

}  // namespace tabulo::search
