#include "search/window/find_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/model/editor_model.h"
#include "editor/view/editor_view.h"
#include "platform/busy_cursor.h"
#include "platform/typed_text.h"
#include "platform/error_handler.h"
#include "platform/folders.h"
#include "search/window/editor_search.h"
#include "search/window/find_history.h"

namespace tabulo::search {

namespace {

const QString kFindSection = QStringLiteral("FindString");
const QString kReplaceSection = QStringLiteral("ReplaceString");

QComboBox* historyCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxCount(100);
    combo->setMinimumWidth(260);
    return combo;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(hint);
    b->setToolTip(hint);
    return b;
}

}  // namespace

TfmFind::TfmFind(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fmFind"));
    setModal(false);

    m_findCombo = historyCombo(this, "FindComboBox1");
    m_replaceCombo = historyCombo(this, "ReplaceComboBox1");
    auto* findLabel = new QLabel(QStringLiteral("検索文字列(&F):"), this);
    findLabel->setBuddy(m_findCombo);
    auto* replaceLabel = new QLabel(QStringLiteral("置換文字列(&T):"), this);
    replaceLabel->setBuddy(m_replaceCombo);
    m_matchCase = checkBox(this, "MatchCaseCheckBox1", QStringLiteral("大文字/小文字を区別(&I)"));
    m_wholeWord = checkBox(this, "WholeWordCheckBox1", QStringLiteral("ワード検索(&W)"));
    m_regexp = checkBox(this, "RegexpCheckBox1", QStringLiteral("正規表現(&R)"));
    m_fuzzy = checkBox(this, "FuzzyCheckBox1", QStringLiteral("あいまい検索(&U)"));
    m_replaceAll = checkBox(this, "ReplaceAllCheckBox1", QStringLiteral("すべて置換(&A)"));
    m_find = button(this, "FindBitBtn1", QStringLiteral("検索"));
    m_find->setDefault(true);
    m_replace = button(this, "ReplaceBitBtn1", QStringLiteral("置換"));
    m_findCancel = button(this, "FindCancelBitBtn1", QStringLiteral("反転解除"));
    m_close = button(this, "CancelBitBtn1", QStringLiteral("閉じる"));
    m_next = speedButton(this, "sbFindNext", QStringLiteral("次を検索"));
    m_prev = speedButton(this, "sbFindPrev", QStringLiteral("前を検索"));

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findCombo, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(m_replaceCombo, 1, 1);
    auto* options = new QGridLayout;
    options->addWidget(m_matchCase, 0, 0);
    options->addWidget(m_wholeWord, 0, 1);
    options->addWidget(m_regexp, 1, 0);
    options->addWidget(m_fuzzy, 1, 1);
    options->addWidget(m_replaceAll, 2, 0);
    auto* repeat = new QHBoxLayout;
    repeat->addWidget(m_prev);
    repeat->addWidget(m_next);
    repeat->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(m_find), static_cast<QWidget*>(m_replace),
                       static_cast<QWidget*>(m_findCancel), static_cast<QWidget*>(m_close)}) {
        buttons->addWidget(w);
    }
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addLayout(repeat);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);

    const auto guarded = [this](void (TfmFind::*command)()) {
        return [this, command] { platform::runGuarded(platform::prompts(), [&] { (this->*command)(); }); };
    };
    connect(m_find, &QPushButton::clicked, this, guarded(&TfmFind::FindBitBtn1Click));
    connect(m_replace, &QPushButton::clicked, this, guarded(&TfmFind::ReplaceBitBtn1Click));
    connect(m_findCancel, &QPushButton::clicked, this, guarded(&TfmFind::FindCancelBitBtn1Click));
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_next, &QToolButton::clicked, this, guarded(&TfmFind::sbFindNextClick));
    connect(m_prev, &QToolButton::clicked, this, guarded(&TfmFind::sbFindPrevClick));
    connect(m_findCombo, &QComboBox::editTextChanged, this, &TfmFind::updateButtons);
    updateButtons();
    updateCaption();
}

void TfmFind::setTarget(int tag, EditorSearch* search) {
    m_targets.at(static_cast<std::size_t>(tag)) = search;
}

void TfmFind::setTag(int tag) {
    m_tag = tag == kScriptEditor ? kScriptEditor : kMainEditor;
    updateCaption();
}

EditorSearch* TfmFind::target() const {
    return m_targets[static_cast<std::size_t>(m_tag)];
}

void TfmFind::updateCaption() {
    setWindowTitle(m_tag == kScriptEditor ? QStringLiteral("Script Editor 検索/置換")
                                          : QStringLiteral("Main Editor 検索/置換"));
}

void TfmFind::updateButtons() {
    const bool any = !m_findCombo->currentText().isEmpty();
    m_find->setEnabled(any);
    m_replace->setEnabled(any);
}

SearchOptions TfmFind::checkedOptions() const {
    return {m_matchCase->isChecked(), m_wholeWord->isChecked(), m_regexp->isChecked(), m_fuzzy->isChecked()};
}

std::string TfmFind::fieldBytes(const QComboBox& combo) const {
    return platform::sjisOfTypedText(combo.currentText());
}

void TfmFind::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QString seeded = m_findCombo->currentText();
    m_findCombo->clear();
    m_findCombo->addItems(readFindHistory(kFindSection));
    m_findCombo->setCurrentText(seeded);
    const QString replacement = m_replaceCombo->currentText();
    m_replaceCombo->clear();
    m_replaceCombo->addItems(readFindHistory(kReplaceSection));
    m_replaceCombo->setCurrentText(replacement);
    m_next->hide();
    m_prev->hide();
    updateCaption();
    m_findCombo->setFocus();
    m_findCombo->lineEdit()->selectAll();
}

void TfmFind::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    platform::runGuarded(platform::prompts(), [this] {
        writeFindHistory(kFindSection, historyOf(*m_findCombo));
        writeFindHistory(kReplaceSection, historyOf(*m_replaceCombo));
    });
}

void TfmFind::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) updateCaption();
}

void TfmFind::FindBitBtn1Click() {
    EditorSearch* search = target();
    if (!search || m_findCombo->currentText().isEmpty()) return;
    const SearchOptions options = checkedOptions();
    const std::string pattern = fieldBytes(*m_findCombo);
    m_next->show();
    m_prev->show();
    addToHistory(*m_findCombo, m_findCombo->currentText());
    editor::EditorModel& model = search->model();
    // Nothing is said when nothing is found.
    search->findFrom(pattern, model.SelStart() + model.SelLength(), options);
    model.SetTopRow(model.Row());
    search->view().viewport()->update();
}

void TfmFind::ReplaceBitBtn1Click() {
    EditorSearch* search = target();
    if (!search || m_findCombo->currentText().isEmpty()) return;
    const SearchOptions options = checkedOptions();
    const std::string pattern = fieldBytes(*m_findCombo);
    const std::string replacement = fieldBytes(*m_replaceCombo);
    editor::EditorModel& model = search->model();
    if (m_replaceAll->isChecked()) {
        std::optional<std::size_t> count;
        {
            platform::BusyCursor busy;
            count = search->replaceAll(pattern, replacement, options);
        }
        if (count) {
            platform::prompts().message(QStringLiteral("全部で ") + QString::number(*count) +
                                            QStringLiteral(" 件置換しました。"),
                                        {}, platform::Icon::Information);
        }
    } else {
        search->replaceNext(pattern, replacement, model.SelStart() + model.SelLength(), options);
    }
    addToHistory(*m_findCombo, m_findCombo->currentText());
    addToHistory(*m_replaceCombo, m_replaceCombo->currentText());
}

void TfmFind::FindCancelBitBtn1Click() {
    if (EditorSearch* search = target()) search->setHighlight(false);
}

void TfmFind::scrollToFound(EditorSearch& search) {
    editor::EditorModel& model = search.model();
    model.SetTopRow(model.Row());
    const int excess = model.Col() - model.VisibleColumns() + 1;
    if (excess > 0) search.view().horizontalScrollBar()->setValue(excess);
}

void TfmFind::notFound(const QString& text) {
    platform::prompts().beep();
    platform::prompts().confirm(text, QString::fromStdString(platform::programFileName()), platform::Buttons::Ok,
                                platform::Icon::Information);
}

void TfmFind::sbFindNextClick() {
    for (EditorSearch* each : m_targets) {
        if (each) each->view().horizontalScrollBar()->setValue(0);
    }
    EditorSearch* search = target();
    // The stored search is repeated; an emptied field stops it only while
    // the dialog is open (F3 works with the dialog closed).
    if (!search || !search->hasPattern()) return;
    if (isVisible() && m_findCombo->currentText().isEmpty()) return;
    editor::EditorModel& model = search->model();
    if (search->findNext(model.SelStart() + model.SelLength())) {
        scrollToFound(*search);
    } else if (!search->stopped()) {
        notFound(QStringLiteral("文末方向：見つかりません"));
    }
}

void TfmFind::sbFindPrevClick() {
    EditorSearch* search = target();
    if (!search || !search->hasPattern()) return;
    if (isVisible() && m_findCombo->currentText().isEmpty()) return;
    search->view().horizontalScrollBar()->setValue(0);
    editor::EditorModel& model = search->model();
    if (search->findPrevious(model.SelStart())) {
        scrollToFound(*search);
    } else if (!search->stopped()) {
        notFound(QStringLiteral("文頭方向：見つかりません"));
    }
}

}  // namespace tabulo::search
