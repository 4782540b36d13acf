#include "app/option_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/error_handler.h"
#include "platform/ini_file.h"
#include "platform/long_path.h"
#include "platform/settings_store.h"

namespace tabulo::app {
namespace {

const QString kPathsKey = QStringLiteral("\\Software\\Tabulo\\ExeFileName");
const char* const kPathNames[5] = {"Awk", "Ruby", "Sed", "Xtr", "Mail"};
const int kTabWidths[3] = {2, 4, 8};

QCheckBox* checkBox(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// Trim blanks works on Shift-JIS bytes; the fields hold text, whose only
// blanks of interest are the space, the tab and the full-width space.
QString trimmed(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\u3000'; };
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.mid(start, end - start);
}

}  // namespace

TfmOption::TfmOption(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmOption"));
    setWindowTitle(QStringLiteral("環境設定"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(buildEditorTab(m_main, QString(), true), QStringLiteral("メイン画面"));
    m_tabs->addTab(buildEditorTab(m_script, QStringLiteral("Awk"), false), QStringLiteral("スクリプト画面"));
    m_tabs->addTab(buildPathsTab(), QStringLiteral("実行ファイル"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);

    m_settings = readOptions(platform::IniFile());
    fillControls();
}

QWidget* TfmOption::buildEditorTab(EditorControls& c, const QString& prefix, bool mainEditor) {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);

    auto* marks = new QGroupBox(QStringLiteral("文字表示"), page);
    auto* marksLayout = new QVBoxLayout(marks);
    c.tab = checkBox(prefix + QStringLiteral("TabCheckBox1"), QStringLiteral("タブ表示"), marks);
    c.eof = checkBox(prefix + QStringLiteral("EofCheckBox1"), QStringLiteral("EOF表示"), marks);
    c.ret = checkBox(prefix + QStringLiteral("ReturnCheckBox1"), QStringLiteral("改行表示"), marks);
    c.dbSpace = checkBox(prefix + QStringLiteral("DBSpaceCheckBox1"), QStringLiteral("全角空白表示"), marks);
    c.underline = checkBox(prefix + QStringLiteral("UnderLineCheckBox1"), QStringLiteral("下線表示"), marks);
    c.tabIndent =
        checkBox(prefix + QStringLiteral("TabIndentCheckBox1"), QStringLiteral("インデントをタブにする"), marks);
    c.leftBar = checkBox(prefix + QStringLiteral("LeftBarCheckBox1"), QStringLiteral("行番号の表示 "), marks);
    for (QCheckBox* box : {c.tab, c.eof, c.ret, c.dbSpace, c.underline, c.tabIndent, c.leftBar}) {
        marksLayout->addWidget(box);
    }
    if (!mainEditor) {
        m_keyWordBold = checkBox(QStringLiteral("KeyWordBoldCheckBox1"), QStringLiteral("KeyWord を太字にする"), marks);
        marksLayout->addWidget(m_keyWordBold);
    }
    grid->addWidget(marks, 0, 0, 3, 1);

    auto* tabGroup = new QGroupBox(QStringLiteral("タブ間隔(&A)"), page);
    tabGroup->setObjectName(prefix + QStringLiteral("TabRadioGroup1"));
    auto* tabLayout = new QHBoxLayout(tabGroup);  // three columns
    c.tabWidth = new QButtonGroup(tabGroup);
    for (int width : kTabWidths) {
        auto* radio = new QRadioButton(QString::number(width), tabGroup);
        radio->setObjectName(prefix + QStringLiteral("TabRadio%1").arg(width));
        c.tabWidth->addButton(radio, width);
        tabLayout->addWidget(radio);
    }
    grid->addWidget(tabGroup, 0, 1);

    auto* marksGroup = new QGroupBox(page);
    auto* marksGrid = new QGridLayout(marksGroup);
    c.commenter = new QLineEdit(marksGroup);
    c.commenter->setObjectName(prefix + QStringLiteral("CommenterEdit1"));
    c.quoteChar = new QLineEdit(marksGroup);
    c.quoteChar->setObjectName(prefix + QStringLiteral("QuoteCharEdit1"));
    marksGrid->addWidget(new QLabel(QStringLiteral(" コメント記号"), marksGroup), 0, 0);
    marksGrid->addWidget(c.commenter, 0, 1);
    marksGrid->addWidget(new QLabel(QStringLiteral(" 引用符記号"), marksGroup), 1, 0);
    marksGrid->addWidget(c.quoteChar, 1, 1);
    grid->addWidget(marksGroup, 1, 1);

    if (mainEditor) {
        auto* wrapGroup = new QGroupBox(QStringLiteral("折り返しオプション"), page);
        auto* wrapLayout = new QVBoxLayout(wrapGroup);
        m_wordWrap = checkBox(QStringLiteral("WordWrapCheckBox1"), QStringLiteral("文末文頭の禁則処理"), wrapGroup);
        m_eWordWrap = checkBox(QStringLiteral("EWordWrapCheckBox1"), QStringLiteral("英単語ワードラップ"), wrapGroup);
        wrapLayout->addWidget(m_wordWrap);
        wrapLayout->addWidget(m_eWordWrap);
        grid->addWidget(wrapGroup, 2, 1);

        auto* backUpRow = new QHBoxLayout;
        backUpRow->addWidget(new QLabel(QStringLiteral("自動バックアップ (分)"), page));
        m_backUp = new QSpinBox(page);
        m_backUp->setObjectName(QStringLiteral("csBackUp"));
        m_backUp->setRange(0, 60);
        m_backUp->setValue(10);
        m_backUp->setToolTip(QStringLiteral("1分 以上で TbBackUp.$xt を作成"));
        backUpRow->addWidget(m_backUp);
        grid->addLayout(backUpRow, 3, 0);
    }

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = button(mainEditor ? QStringLiteral("OKBitBtn1") : QStringLiteral("BitBtn1"), QStringLiteral("OK"), page);
    QPushButton* cancel = button(mainEditor ? QStringLiteral("CancelBitBtn1") : QStringLiteral("BitBtn2"),
                                 QStringLiteral("キャンセル"), page);
    if (mainEditor) ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TfmOption::okClick);
    connect(cancel, &QPushButton::clicked, this, &TfmOption::cancelClick);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    return page;
}

QWidget* TfmOption::buildPathsTab() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    const char* const captions[5] = {"Awk", "Ruby", "Sed", "XTR", "郵便番号csv"};
    const char* const names[5] = {"EditA", "EditB", "EditC", "EditD", "EditE"};
    const QString hints[5] = {
        QStringLiteral("mAwk.exe,や JGAwk.exe の場所を指定します。Go32は使えません"),
        QStringLiteral("Ruby.exe の場所を指定します。"),
        QStringLiteral("SED.exe の場所を指定します。Go32は使えません。"),
        QString(),
        QStringLiteral("郵便番号の *.csv ファイルを指定します。"),
    };
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), page), i, 0);
        m_pathFields[i] = new QLineEdit(page);
        m_pathFields[i]->setObjectName(QString::fromLatin1(names[i]));
        m_pathFields[i]->setToolTip(hints[i]);
        grid->addWidget(m_pathFields[i], i, 1);
        QPushButton* browse = button(QStringLiteral("Browse%1").arg(i), QStringLiteral("参照"), page);
        browse->setProperty("tag", i);
        connect(browse, &QPushButton::clicked, this, [this, i] { browseClick(i); });
        grid->addWidget(browse, i, 2);
    }
    QPushButton* store = button(QStringLiteral("btScriptSetPas"), QStringLiteral("レジストリーに記憶"), page);
    store->setToolTip(QStringLiteral("実行ファイル郵便番号データファイルを記憶します"));
    QPushButton* cancel = button(QStringLiteral("btScriptCancel"), QStringLiteral("キャンセル"), page);
    connect(store, &QPushButton::clicked, this, &TfmOption::storePathsClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(store);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Autoexec.bat"), page), 6, 0, 1, 3);
    m_memoPath = new QPlainTextEdit(page);
    m_memoPath->setObjectName(QStringLiteral("MemoPath"));
    m_memoPath->setReadOnly(true);
    m_memoPath->setToolTip(QStringLiteral(
        "AUTOEXEC.BAT の PATH 指定です。PATH が通っていれば実行ファイル名だけでも起動できます。"));
    grid->addWidget(m_memoPath, 7, 0, 1, 3);
    return page;
}

void TfmOption::showEvent(QShowEvent* event) {
    m_memoPath->setPlainText(QStringLiteral("PATH=") + qEnvironmentVariable("PATH"));
    QDialog::showEvent(event);
}

int TfmOption::backupMinutes() const {
    return m_backUp->value();
}

ProgramPaths TfmOption::paths() const {
    const auto field = [this](int i) { return m_pathFields[i]->text().toStdString(); };
    return {field(0), field(1), field(2), field(3), field(4)};
}

void TfmOption::readPaths() {
    const platform::SettingsStore store;
    for (int i = 0; i < 5; ++i) {
        const QString value = store.readString(kPathsKey, QString::fromLatin1(kPathNames[i])).value_or(QString());
        if (!value.isEmpty()) m_pathFields[i]->setText(value);
    }
    if (m_pathFields[1]->text().isEmpty() && qEnvironmentVariable("PATH").toLower().contains(QStringLiteral("ruby"))) {
        m_pathFields[1]->setText(QStringLiteral("ruby"));
    }
}

void TfmOption::writeIni() const {
    platform::IniFile ini;
    writeOptions(ini, m_settings);
}

void TfmOption::fillEditor(EditorControls& c, const EditorOptions& o) {
    c.tab->setChecked(o.TabMark);
    c.eof->setChecked(o.EofMark);
    c.ret->setChecked(o.RetMark);
    c.dbSpace->setChecked(o.DBSpaceMark);
    c.underline->setChecked(o.Underline);
    c.tabIndent->setChecked(o.TabIndent);
    c.leftBar->setChecked(o.LeftBar);
    // A width other than 2, 4 or 8 leaves no item chosen.
    c.tabWidth->setExclusive(false);
    for (QAbstractButton* radio : c.tabWidth->buttons()) radio->setChecked(false);
    c.tabWidth->setExclusive(true);
    if (QAbstractButton* radio = c.tabWidth->button(o.TabSpaceCount)) radio->setChecked(true);
    c.commenter->setText(o.Commenter);
    c.quoteChar->setText(o.QuoteChar);
}

EditorOptions TfmOption::readEditor(const EditorControls& c) const {
    EditorOptions o;
    o.TabMark = c.tab->isChecked();
    o.EofMark = c.eof->isChecked();
    o.RetMark = c.ret->isChecked();
    o.DBSpaceMark = c.dbSpace->isChecked();
    o.Underline = c.underline->isChecked();
    o.TabIndent = c.tabIndent->isChecked();
    o.LeftBar = c.leftBar->isChecked();
    const int chosen = c.tabWidth->checkedId();
    o.TabSpaceCount = chosen > 0 ? chosen : (&c == &m_main ? m_settings.main : m_settings.script).TabSpaceCount;
    o.Commenter = c.commenter->text();
    o.QuoteChar = c.quoteChar->text();
    return o;
}

void TfmOption::fillControls() {
    fillEditor(m_main, m_settings.main);
    fillEditor(m_script, m_settings.script);
    m_keyWordBold->setChecked(m_settings.KeyWordBold);
    m_wordWrap->setChecked(m_settings.WordWrap);
    m_eWordWrap->setChecked(m_settings.EWordWrap);
    m_backUp->setValue(m_settings.BackUpTimer);
}

void TfmOption::okClick() {
    m_settings.main = readEditor(m_main);
    m_settings.script = readEditor(m_script);
    m_settings.KeyWordBold = m_keyWordBold->isChecked();
    m_settings.WordWrap = m_wordWrap->isChecked();
    m_settings.EWordWrap = m_eWordWrap->isChecked();
    m_settings.BackUpTimer = m_backUp->value();
    accept();
}

void TfmOption::cancelClick() {
    fillControls();
    reject();
}

void TfmOption::storePathsClick() {
    platform::SettingsStore store;
    for (int i = 0; i < 5; ++i) {
        store.writeString(kPathsKey, QString::fromLatin1(kPathNames[i]), trimmed(m_pathFields[i]->text()));
    }
    platform::prompts().message(QStringLiteral("レジストりー ") + kPathsKey + QStringLiteral(" に記憶しました。"));
    if (onPathsStored) onPathsStored();
    reject();
}

// The file dialog opens above this stay-on-top dialog by the program's rule
// for modal dialogs; this dialog keeps its own state meanwhile.
void TfmOption::browseClick(int field) {
    const QString filter = field == 4 ? QStringLiteral("郵政省郵便番号(*.csv)|*.CSV;*.csv")
                                      : QStringLiteral("実行ファイル(*.EXE)|*.EXE|すべてのファイル（*）|*");
    const std::optional<QString> chosen = platform::prompts().openFile(QString(), QString(), filter);
    if (chosen) {
        m_pathFields[field]->setText(
            field == 4 ? *chosen : QString::fromStdString(platform::programRelative(chosen->toStdString())));
    }
}

}  // namespace tabulo::app
