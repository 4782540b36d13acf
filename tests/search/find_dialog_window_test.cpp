// The find and replace dialog through the main window, with scripted
// prompts: find and its repetition forward and backward with their
// messages, replace next and replace all (one undo gives the original bytes
// back), stopped finds and replace-alls line by line and over the whole
// text with their progress, a search over the whole text after changes, the
// histories across a restart, F3 and Shift+F3 with the dialog closed, and
// the switch to a second editor.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/progress_pump.h"
#include "platform/ini_file.h"
#include "search/window/editor_search.h"
#include "search/window/find_dialog.h"
#include "support/main_window_fixture.h"

using tabulo::platform::PromptKind;
using tabulo::search::EditorSearch;
using tabulo::search::TfmFind;
using tabulo::testing::MainWindowTest;

namespace {

using Span = std::pair<std::int64_t, std::int64_t>;  // selection start and length

class FindDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QFile::remove(tabulo::platform::IniFile().fileName());
        open();
        dialog = &window->findDialog();
    }
    void TearDown() override {
        dialog->hide();
        MainWindowTest::TearDown();
    }
    // Opens the dialog from the main window with `text` in the search field.
    void show(const char* text) {
        window->refreshCommands();
        run("_Find1");
        ASSERT_TRUE(dialog->isVisible());
        dialog->findCombo().setCurrentText(QString::fromUtf8(text));
    }
    void click(const char* name) {
        auto* b = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        b->click();
    }
    Span selection() const {
        return {window->document().SelStart(), window->document().SelLength()};
    }
    QStringList shown() const {
        QStringList out;
        for (const auto& r : prompts.records()) {
            out << (r.kind == PromptKind::Beep ? QStringLiteral("beep") : r.text);
        }
        return out;
    }
    TfmFind* dialog = nullptr;
};

TEST_F(FindDialogTest, FindThenRepeatForwardUntilTheEnd) {
    window->document().SetTextStr("abc ABC\r\nx abc\r\n");
    show("ABC");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Main Editor 検索/置換"));
    EXPECT_TRUE(dialog->findChild<QToolButton*>(QStringLiteral("sbFindNext"))->isHidden());
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(0, 3));  // case ignored: the first three letters
    EXPECT_TRUE(window->editor().highlightsMatches());
    click("sbFindNext");
    EXPECT_EQ(selection(), Span(4, 3));
    click("sbFindNext");
    EXPECT_EQ(selection(), Span(11, 3));
    EXPECT_TRUE(prompts.records().empty());
    prompts.queueAnswer(tabulo::platform::Answer::Ok);
    click("sbFindNext");
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("beep"), QStringLiteral("文末方向：見つかりません")}));

    // With case sensitivity the search from the start finds the capitals.
    window->document().SetSelStart(0);
    dialog->matchCase().setChecked(true);
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(4, 3));
    click("FindCancelBitBtn1");
    EXPECT_FALSE(window->editor().highlightsMatches());
}

TEST_F(FindDialogTest, FindPreviousAndItsMessages) {
    window->document().SetTextStr("ab ab\r\nab\r\n");
    window->document().SetSelStart(9);
    show("ab");
    click("FindBitBtn1");  // nothing after the end: no message
    EXPECT_TRUE(prompts.records().empty());
    window->document().SetSelStart(9);
    click("sbFindPrev");
    EXPECT_EQ(selection(), Span(7, 2));
    click("sbFindPrev");
    EXPECT_EQ(selection(), Span(3, 2));
    click("sbFindPrev");
    EXPECT_EQ(selection(), Span(0, 2));
    prompts.queueAnswer(tabulo::platform::Answer::Ok);
    click("sbFindPrev");
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("beep"), QStringLiteral("文頭方向：見つかりません")}));

    // A pattern across lines is not searched backwards.
    prompts.clear();
    dialog->regexp().setChecked(true);
    dialog->findCombo().setCurrentText(QStringLiteral("b\\r\\na"));
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(4, 4));
    prompts.queueAnswer(tabulo::platform::Answer::Ok);
    click("sbFindPrev");
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("文頭方向：見つかりません"));
}

TEST_F(FindDialogTest, ReplaceNextThreeTimes) {
    window->document().SetTextStr("x x x\r\n");
    show("x");
    dialog->replaceCombo().setCurrentText(QStringLiteral("表"));
    for (int i = 0; i < 3; ++i) click("ReplaceBitBtn1");
    EXPECT_EQ(window->document().GetTextStr(), "\x95\x5C \x95\x5C \x95\x5C\r\n");
    EXPECT_EQ(selection(), Span(6, 2));  // the last inserted text
    EXPECT_TRUE(prompts.records().empty());
}

// A search or replacement text with a character Shift-JIS has not takes the
// geta mark 0x81 0xAC in its place, and the user is told; never "?".
TEST_F(FindDialogTest, ACharacterWithoutShiftJisFormBecomesTheGetaMark) {
    window->document().SetTextStr("a?b\x81\xAC\r\n");
    const QString report = QStringLiteral("入力した文字列の Shift-JIS にない文字 1 個を「〓」に置き換えました。"
                                          "最初は 2 文字目の「\U0001F600」(U+1F600) です。");
    show("b\U0001F600");
    click("FindBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{report});
    EXPECT_EQ(selection(), Span(2, 3));

    prompts.clear();
    window->document().SetTextStr("a?b\r\n");
    dialog->findCombo().setCurrentText(QStringLiteral("b"));
    dialog->replaceCombo().setCurrentText(QStringLiteral("x\U0001F600"));
    click("ReplaceBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{report});
    EXPECT_EQ(window->document().GetTextStr(), "a?x\x81\xAC\r\n");
}

// Without case sensitivity ヂ (0x83 0x61) is still not ア (0x83 0x41); an
// empty leftmost match is no match in find and in replace all.
TEST_F(FindDialogTest, DoubleByteCharactersAndEmptyMatchesAreNotFound) {
    window->document().SetTextStr("\x83\x41 \x83\x61\r\nabc\r\n");
    window->document().SetModified(false);
    show("ヂ");
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(3, 2));
    window->document().SetSelStart(0);
    dialog->replaceCombo().setCurrentText(QStringLiteral("x"));
    dialog->replaceAll().setChecked(true);
    click("ReplaceBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("全部で 1 件置換しました。")});
    EXPECT_EQ(window->document().GetTextStr(), "\x83\x41 x\r\nabc\r\n");

    prompts.clear();
    window->document().SetModified(false);
    dialog->regexp().setChecked(true);
    dialog->findCombo().setCurrentText(QStringLiteral("b*"));
    click("ReplaceBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("全部で 0 件置換しました。")});
    EXPECT_FALSE(window->document().Modified());
    dialog->replaceAll().setChecked(false);
    window->document().SetSelStart(0);
    window->document().SetSelLength(0);
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(0, 0));
}

TEST_F(FindDialogTest, ReplaceAllIsOneUndoStepAndKeepsTheView) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "a\x95\x5C" "a line\r\n";
    window->document().SetTextStr(text);
    window->document().SetModified(false);
    window->document().setCaret({120, 3});
    window->document().SetTopRow(100);
    show("a");
    dialog->replaceCombo().setCurrentText(QStringLiteral("\\表"));
    dialog->replaceAll().setChecked(true);
    click("ReplaceBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("全部で 400 件置換しました。")});
    EXPECT_EQ(window->document().Lines().Get(0), "\\\x95\x5C\x95\x5C\\\x95\x5C line");
    EXPECT_TRUE(window->document().Modified());
    EXPECT_EQ(window->document().caret(), (tabulo::editor::TextPosition{120, 3}));
    EXPECT_EQ(window->document().TopRow(), 100);
    run("_Undo");
    EXPECT_EQ(window->document().GetTextStr(), text);

    // Nothing to replace: a count of 0 and the document not modified.
    prompts.clear();
    window->document().SetModified(false);
    dialog->findCombo().setCurrentText(QStringLiteral("zz"));
    click("ReplaceBitBtn1");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("全部で 0 件置換しました。")});
    EXPECT_FALSE(window->document().Modified());
}

// The search field and the regexp box for a search line by line and for one
// over the whole text (a pattern across lines).
struct LongSearch {
    const char* name;
    const char* pattern;
    bool regexp;
};
const LongSearch kLongSearches[] = {
    {"line by line", "zz", false},
    {"whole text", "b\\r\\nzz", true},
};

// 20,000 lines "ab" and a last line "zz".
std::string longText() {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "ab\r\n";
    return text + "zz\r\n";
}

TEST_F(FindDialogTest, AStoppedReplaceAllShowedProgressAndLeavesTheDocumentUntouched) {
    for (const LongSearch& c : kLongSearches) {
        SCOPED_TRACE(c.name);
        const std::string text = longText();
        window->document().SetTextStr(text);
        window->document().SetModified(false);
        show(c.pattern);
        dialog->regexp().setChecked(c.regexp);
        dialog->replaceAll().setChecked(true);
        tabulo::app::ProgressPump::setEventInterval(0);
        QStringList progress;
        QTimer::singleShot(0, window.get(), [&] {
            progress << window->panelText(0) << window->panelText(1);
            window->bulkEdit().requestStop();
        });
        click("ReplaceBitBtn1");
        tabulo::app::ProgressPump::setEventInterval(40);
        ASSERT_EQ(progress.size(), 2);
        EXPECT_EQ(progress[0], QStringLiteral("置換中"));
        EXPECT_TRUE(progress[1].endsWith(u'%')) << progress[1].toStdString();
        EXPECT_TRUE(prompts.records().empty());
        EXPECT_EQ(window->document().GetTextStr(), text);
        EXPECT_FALSE(window->document().Modified());
        EXPECT_FALSE(window->document().CanUndo());
        EXPECT_FALSE(window->bulkEdit().active());
        EXPECT_EQ(window->panelText(0), QStringLiteral("1行 : 0列"));
        dialog->hide();
    }
}

TEST_F(FindDialogTest, AStoppedFindSaysNothingAndTheNextOneFinds) {
    for (const LongSearch& c : kLongSearches) {
        SCOPED_TRACE(c.name);
        window->document().SetTextStr(longText());
        window->document().SetSelStart(0);
        show(c.pattern);
        dialog->regexp().setChecked(c.regexp);
        tabulo::app::ProgressPump::setEventInterval(0);
        QStringList progress;
        const auto stopSoon = [&] {
            QTimer::singleShot(0, window.get(), [&] {
                progress << window->panelText(0);
                window->bulkEdit().requestStop();
            });
        };
        stopSoon();
        click("FindBitBtn1");
        stopSoon();
        click("sbFindNext");
        tabulo::app::ProgressPump::setEventInterval(40);
        EXPECT_EQ(progress, (QStringList{QStringLiteral("検索中"), QStringLiteral("検索中")}));
        EXPECT_TRUE(window->editorSearch().stopped());
        EXPECT_TRUE(prompts.records().empty());  // no "not found" after a stop
        EXPECT_FALSE(window->document().hasSelection());
        click("sbFindNext");
        EXPECT_FALSE(window->editorSearch().stopped());
        EXPECT_EQ(selection().first + selection().second, 80002);
        EXPECT_TRUE(prompts.records().empty());
        dialog->hide();
    }
}

TEST_F(FindDialogTest, AWholeTextSearchFollowsEveryChange) {
    window->document().SetTextStr("ab\r\nab\r\n");
    show("b\\r\\na");
    dialog->regexp().setChecked(true);
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(1, 4));
    window->document().replaceRange({0, 0}, {0, 0}, "xx");
    window->document().SetSelStart(0);
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(3, 4));
    run("_Undo");
    window->document().SetSelStart(0);
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(1, 4));
}

TEST_F(FindDialogTest, ARefusedPatternIsShownAndChangesNothing) {
    window->document().SetTextStr("a(b\r\n");
    show("(b");
    dialog->regexp().setChecked(true);
    click("FindBitBtn1");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("右(閉じ)括弧が必要です"));
    EXPECT_FALSE(window->document().hasSelection());
    EXPECT_FALSE(window->editorSearch().hasPattern());
}

TEST_F(FindDialogTest, HistoriesSurviveARestart) {
    window->document().SetTextStr("abc\r\n");
    show("");
    // Seventeen searches, one of them twice: sixteen distinct texts are kept.
    for (int i = 0; i < 17; ++i) {
        dialog->findCombo().setCurrentText(QStringLiteral("w%1").arg(i));
        click("FindBitBtn1");
    }
    dialog->findCombo().setCurrentText(QStringLiteral("w16"));
    click("FindBitBtn1");
    dialog->replaceCombo().setCurrentText(QStringLiteral("置換"));
    click("ReplaceBitBtn1");
    // Closing the main window with the dialog open writes the histories too.
    window->document().SetModified(false);
    window->close();
    window.reset();
    open();
    dialog = &window->findDialog();
    window->document().SetTextStr("abc\r\n");
    window->document().select({0, 0}, {0, 2});
    window->refreshCommands();
    run("_Find1");
    EXPECT_EQ(dialog->findCombo().currentText(), QStringLiteral("ab"));  // seeded with the selection
    ASSERT_EQ(dialog->findCombo().count(), 16);
    EXPECT_EQ(dialog->findCombo().itemText(0), QStringLiteral("w16"));
    EXPECT_EQ(dialog->findCombo().itemText(15), QStringLiteral("w1"));
    ASSERT_EQ(dialog->replaceCombo().count(), 1);
    EXPECT_EQ(dialog->replaceCombo().itemText(0), QStringLiteral("置換"));
}

TEST_F(FindDialogTest, F3AndShiftF3RepeatWithTheDialogClosed) {
    window->document().SetTextStr("ab ab ab\r\n");
    show("ab");
    click("FindBitBtn1");
    dialog->close();
    auto* next = window->findChild<QAction*>(QStringLiteral("FindNext"));
    auto* prev = window->findChild<QAction*>(QStringLiteral("FindPrev"));
    ASSERT_TRUE(next && prev);
    EXPECT_EQ(next->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(prev->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    next->trigger();
    EXPECT_EQ(selection(), Span(3, 2));
    next->trigger();
    EXPECT_EQ(selection(), Span(6, 2));
    prev->trigger();
    EXPECT_EQ(selection(), Span(3, 2));
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(FindDialogTest, TheTagSwitchesToASecondEditor) {
    tabulo::editor::EditorModel scriptModel;
    tabulo::editor::TEditor scriptView(scriptModel);
    EditorSearch scriptSearch(scriptModel, scriptView);
    dialog->setTarget(TfmFind::kScriptEditor, &scriptSearch);
    window->document().SetTextStr("one two\r\n");
    scriptModel.SetTextStr("two one\r\n");
    show("one");
    dialog->setTag(TfmFind::kScriptEditor);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Script Editor 検索/置換"));
    click("FindBitBtn1");
    EXPECT_EQ(scriptModel.SelStart(), 4);
    EXPECT_FALSE(window->document().hasSelection());
    EXPECT_TRUE(scriptView.highlightsMatches());
    EXPECT_FALSE(window->editor().highlightsMatches());
    dialog->setTag(TfmFind::kMainEditor);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Main Editor 検索/置換"));
    click("FindBitBtn1");
    EXPECT_EQ(window->document().SelStart(), 0);
    dialog->setTarget(TfmFind::kScriptEditor, nullptr);
}

TEST_F(FindDialogTest, SoftWrapSearchesTheWholeText) {
    tabulo::editor::TEditorWrapOption wrap = window->document().WrapOption();
    wrap.WrapByte = 40;
    window->document().SetWrapOption(wrap);
    window->document().SetWordWrap(true);
    std::string words;
    for (int i = 0; i < 50; ++i) words += "ab ";
    window->document().SetTextStr(words + "target\r\ntarget\r\n");
    ASSERT_GT(window->document().RowCount(), 3);  // the first line is wrapped
    show("target");
    click("FindBitBtn1");
    EXPECT_EQ(selection(), Span(150, 6));
    click("sbFindNext");
    EXPECT_EQ(selection(), Span(158, 6));
    dialog->replaceAll().setChecked(true);
    dialog->replaceCombo().setCurrentText(QStringLiteral("t"));
    click("ReplaceBitBtn1");
    EXPECT_EQ(window->document().GetTextStr(), words + "t\r\nt\r\n");
}

TEST_F(FindDialogTest, FindAndReplaceNeedASearchText) {
    window->document().SetTextStr("abc\r\n");
    show("");
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("FindBitBtn1"))->isEnabled());
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("ReplaceBitBtn1"))->isEnabled());
    dialog->findCombo().setCurrentText(QStringLiteral("b"));
    EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("FindBitBtn1"))->isEnabled());
    // An empty document does not open the dialog.
    dialog->close();
    window->document().SetTextStr("");
    window->refreshCommands();
    EXPECT_FALSE(enabled("_Find1"));
}

}  // namespace
