// The main window through its real widgets: caption and panels, the
// enabling rules of the command refresh, the small commands, the stop
// question around a running bulk edit and viewer mode.
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>

#include "app/command_table.h"
#include "app/font_spacing.h"
#include "sjis/sjis_codec.h"
#include "support/main_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::testing::MainWindowTest;

namespace {

std::string sjis(const char* utf8) {
    return tabulo::sjis::SjisCodec::instance().fromUtf8Lossy(utf8);
}

std::string numberedLines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) text += std::to_string(i) + "\r\n";
    return text;
}

}  // namespace

TEST_F(MainWindowTest, CaptionAndPanelsAtStart) {
    auto& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("UnTitled  - tabulo"));
    EXPECT_EQ(w.panelText(0), QStringLiteral("1行 : 0列"));
    EXPECT_EQ(w.panelText(1), QString());
    EXPECT_EQ(w.panelText(2), QStringLiteral("挿入"));
    EXPECT_FALSE(w.viewerMode());
    EXPECT_EQ(w.editor().backgroundColor(), QColor(Qt::white));
}

TEST_F(MainWindowTest, EmptyDocumentDisablesFindTagJumpAndSelectAllAndPasteFollowsTheClipboard) {
    auto& w = open();
    w.refreshCommands();
    for (const char* name : {"_TagJump", "TagJump", "_Find1", "Find1", "_SelectAll1", "SelectAll1"}) {
        EXPECT_FALSE(rule(name)) << name;
    }
    EXPECT_FALSE(enabled("Clip2Text"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    w.refreshCommands();
    EXPECT_TRUE(enabled("Clip2Text"));
}

TEST_F(MainWindowTest, SelectionWithSoftWrapOffEnablesTheRangeCommands) {
    auto& w = open();
    w.document().SetTextStr("a\r\nb\r\nc\r\n");
    w.document().select({0, 0}, {1, 1});
    w.refreshCommands();
    for (const char* name : {"DelLine", "_DelLine", "DelNullLine", "_DelNullLine", "_DelSpaceRL", "_AddString",
                             "_Sort", "_SortR", "DelSpaceRL", "AddString", "Sort", "SortR", "SJIS1"}) {
        EXPECT_TRUE(rule(name)) << name;
    }
    for (const char* name : {"_TagJump", "TagJump", "AddReturn", "_AddReturn", "Clip2Text"}) {
        EXPECT_FALSE(rule(name)) << name;
    }
    EXPECT_TRUE(enabled("ToCrip"));
    EXPECT_FALSE(checked("_SelectAll1"));
    // Commands whose subsystems are not built stay disabled whatever the rule says.
    for (std::string_view name : tabulo::app::pendingCommands()) {
        EXPECT_FALSE(enabled(std::string(name).c_str())) << name;
    }
}

TEST_F(MainWindowTest, WholeTextSelectedPressesSelectAll) {
    auto& w = open();
    w.document().SetTextStr("abc\r\ndef");
    w.document().SelectAll();
    w.refreshCommands();
    EXPECT_TRUE(checked("_SelectAll1"));
    EXPECT_TRUE(checked("SelectAll1"));
    // Toggling it again removes the selection and puts the caret at the start.
    run("_SelectAll1");
    EXPECT_EQ(w.document().SelLength(), 0);
    EXPECT_EQ(w.document().SelStart(), 0);
    EXPECT_FALSE(checked("_SelectAll1"));
}

TEST_F(MainWindowTest, SoftWrapOnOnlyAWholeSelectionEnablesFixingTheWraps) {
    auto& w = open();
    w.document().SetTextStr(std::string(300, 'x') + "\r\nshort\r\n");
    run("_Wrap1");
    ASSERT_TRUE(w.document().WordWrap());
    EXPECT_EQ(w.document().WrapOption().WrapByte, w.document().VisibleColumns());
    EXPECT_GT(w.document().RowCount(), 2);
    EXPECT_TRUE(checked("_Wrap1"));
    EXPECT_TRUE(checked("Wrap1"));

    w.document().select({0, 0}, {0, 3});
    w.refreshCommands();
    EXPECT_FALSE(rule("AddReturn"));
    EXPECT_FALSE(rule("Sort"));
    EXPECT_TRUE(rule("TagJump"));

    w.document().SelectAll();
    w.refreshCommands();
    EXPECT_TRUE(rule("AddReturn"));
    EXPECT_TRUE(rule("_AddReturn"));

    run("Wrap1");
    EXPECT_FALSE(w.document().WordWrap());
    EXPECT_EQ(w.document().RowCount(), 2);
    EXPECT_FALSE(checked("_Wrap1"));
}

TEST_F(MainWindowTest, NoSelectionPasteFollowsTheClipboard) {
    auto& w = open();
    w.document().SetTextStr("abc\r\n");
    w.refreshCommands();
    EXPECT_FALSE(enabled("Clip2Text"));
    QGuiApplication::clipboard()->setText(QStringLiteral("あ"));
    w.refreshCommands();
    EXPECT_TRUE(enabled("Clip2Text"));
    run("Clip2Text");
    EXPECT_EQ(w.document().GetTextStr(), "\x82\xA0" "abc\r\n");
    EXPECT_EQ(w.document().Col(), 2);
}

TEST_F(MainWindowTest, GoToRowAnswers) {
    auto& w = open();
    w.document().SetTextStr(numberedLines(100));
    const int rows = w.document().RowCount();
    const int half = w.document().VisibleRows() / 2;
    const struct {
        std::optional<QString> answer;
        int row;  // -1: unchanged
    } cases[] = {
        {QStringLiteral("S"), 0},
        {QStringLiteral("E"), rows - half},
        {QStringLiteral("e"), rows - half},
        {QStringLiteral("5"), 4},
        {QStringLiteral("0"), -1},
        {QStringLiteral("-3"), -1},
        {QStringLiteral("five"), -1},
        {QStringLiteral("11"), -1},  // the default text unchanged
        {std::nullopt, -1},          // cancelled
        {QStringLiteral("1000"), rows},  // the empty row after the final break
    };
    for (const auto& c : cases) {
        w.document().SetRow(10);
        w.document().SetTopRow(0);
        prompts.clear();
        prompts.queueInput(c.answer);
        run("N27");
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].text, QStringLiteral(" 指定行に移動　(S:文頭  E:文末)"));
        EXPECT_EQ(prompts.records()[0].defaultText, QStringLiteral("11"));
        const QString label = c.answer.value_or(QStringLiteral("<cancel>"));
        EXPECT_EQ(w.document().Row(), c.row < 0 ? 10 : c.row) << label.toStdString();
        if (c.row >= 0) {
            EXPECT_EQ(w.document().TopRow(), c.row) << label.toStdString();
        }
    }
}

TEST_F(MainWindowTest, InsertKeyTwiceReturnsToInsertMode) {
    auto& w = open();
    w.editor().setFocus();
    QTest::keyClick(&w.editor(), Qt::Key_Insert);
    EXPECT_EQ(w.panelText(2), QStringLiteral("上書き"));
    EXPECT_TRUE(w.document().OverwriteMode());
    QTest::keyClick(&w.editor(), Qt::Key_Insert);
    EXPECT_EQ(w.panelText(2), QStringLiteral("挿入"));
    EXPECT_FALSE(w.document().OverwriteMode());
}

TEST_F(MainWindowTest, InsertAndDeleteTheCaretLine) {
    auto& w = open();
    w.document().SetTextStr("a\r\nb\r\n");
    w.document().SetRow(1);
    run("N25");
    EXPECT_EQ(w.document().GetTextStr(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(w.document().Row(), 2);  // the caret's line moved down
    run("Delete1");
    EXPECT_EQ(w.document().GetTextStr(), "a\r\n\r\n");
    w.document().SetRow(w.document().RowCount());  // the row after the final break
    run("Delete1");
    EXPECT_EQ(w.document().GetTextStr(), "a\r\n\r\n");
    EXPECT_EQ(w.panelText(1), QStringLiteral("変更"));
}

TEST_F(MainWindowTest, StopQuestionAroundARunningBulkEdit) {
    auto& w = open();
    w.document().SetTextStr(numberedLines(50));
    EXPECT_FALSE(enabled("StopBt"));
    w.beginBulkEdit(true);
    EXPECT_TRUE(enabled("StopBt"));

    prompts.queueAnswer(Answer::No);
    run("StopBt");
    EXPECT_TRUE(w.bulkEdit().active());
    EXPECT_TRUE(w.bulkEdit().keepGoing());
    EXPECT_TRUE(w.document().updating());

    // The user chooses the stop item while the command lets events run.
    prompts.queueAnswer(Answer::Yes);
    QTimer::singleShot(0, &w, [&] { w.action(QStringLiteral("StopBt"))->trigger(); });
    int lines = 0;
    while (w.bulkEdit().keepGoing() && lines < 10000) ++lines;
    EXPECT_LT(lines, 10000);
    EXPECT_FALSE(w.bulkEdit().active());
    EXPECT_FALSE(enabled("StopBt"));
    EXPECT_FALSE(w.document().updating());
    w.endBulkEdit(true);  // the command's own end changes nothing
    EXPECT_FALSE(w.document().updating());

    ASSERT_EQ(prompts.records().size(), 2u);
    for (const auto& r : prompts.records()) {
        EXPECT_EQ(r.text, QStringLiteral("実行中の処理を中止しますか?"));
        EXPECT_EQ(r.title, QStringLiteral("tabulo"));
        EXPECT_EQ(r.buttons, tabulo::platform::Buttons::YesNo);
    }
    // The next bulk edit suspends updates again.
    w.beginBulkEdit(true);
    EXPECT_TRUE(w.document().updating());
    EXPECT_FALSE(w.bulkEdit().stopRequested());
    w.endBulkEdit(true);
}

TEST_F(MainWindowTest, ViewerModeFromEitherCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TT.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("result\r\n");
    file.close();
    for (const QString& flag : {QStringLiteral("-d"), QStringLiteral("-D")}) {
        auto& w = open({flag, path});
        EXPECT_TRUE(w.viewerMode());
        EXPECT_EQ(w.fileArgumentCount(), 1);
        EXPECT_EQ(w.editor().backgroundColor(), QToolTip::palette().color(QPalette::ToolTipBase));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_EQ(w.pos(), area.center() - w.rect().center());
        EXPECT_EQ(w.document().Lines().Get(0), "result");
        window.reset();
    }
}

TEST(FontSpacing, ProportionalFontRule) {
    const struct {
        const char* name;
        int size;
        int spacing;
    } cases[] = {
        {"ＭＳ Ｐゴシック", 14, 3}, {"ＭＳ Ｐゴシック", 30, 5}, {"ＭＳ Ｐゴシック", 6, 0},
        {"ＭＳ ゴシック", 14, 0},  {"ＭＳ ゴシック", 30, 0},  {"MS Sans Serif", 11, 2},
        {"Monotype Corsiva", 20, 5}, {"IPAGothic", 40, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tabulo::app::characterSpacingFor(c.name, c.size), c.spacing) << c.name << " " << c.size;
    }
}

TEST_F(MainWindowTest, FontCommandAppliesTheSpacingRule) {
    auto& w = open();
    QFont proportional(QStringLiteral("ＭＳ Ｐゴシック"));
    proportional.setPointSize(14);
    prompts.queueFont(proportional);
    run("SpeedButton6");
    EXPECT_EQ(w.editor().characterMargin(), 3);
    prompts.queueFont(std::nullopt);  // cancelled: nothing changes
    run("Font2");
    EXPECT_EQ(w.editor().characterMargin(), 3);
}

TEST_F(MainWindowTest, HelpTextReplacesAnUnmodifiedDocument) {
    auto& w = open();
    w.document().SetTextStr("keep me\r\n");
    prompts.queueAnswer(Answer::Cancel);
    run("HelpBt");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("変更点を保存しますか?")});
    EXPECT_EQ(w.document().GetTextStr(), "keep me\r\n");

    w.document().SetModified(false);
    run("HelpBt");
    EXPECT_EQ(w.document().Lines().Get(0),
              sjis("「Tabulo Ver2.92」 Awk, Ruby, Sed が使える「計算機能付きエディター」です。"));
    EXPECT_GT(w.document().Lines().Count(), 90);
    EXPECT_FALSE(w.document().Modified());
    bool hasExample = false;
    for (int i = 0; i < w.document().Lines().Count(); ++i) hasExample |= w.document().Lines().Get(i) == "pi * r^2";
    EXPECT_TRUE(hasExample);
}

TEST_F(MainWindowTest, EveryCommandOfTheTableIsPresent) {
    auto& w = open();
    for (const char* name : {"New1", "Open1", "ReOpen", "Del_History", "ReadBackup", "Save", "SaveAs1", "Print1",
                             "Exit1", "Wrap1", "Find1", "Bullets1", "Font2", "ShowOpt", "SelectAll1", "AddReturn",
                             "DelLine", "DelNullLine", "DelSpaceRL", "AddString", "Sort", "SortR", "SJIS1", "S", "J",
                             "E", "U", "H", "B", "FuncLen", "mAwk", "mRuby", "mSed", "mXtr", "SetFile", "Namazu",
                             "Grep", "TagJump", "MChgLine", "fn0", "fn1", "fn2", "JpegBMP1", "StopBt", "HelpBt",
                             "CharCord", "N23", "Undo1", "Repeat1", "Cut1", "N20", "Copy1", "N22", "Delete1", "N25",
                             "N27", "BoxMode1", "_New1", "_Open1", "_SaveAs", "_Print1", "_Find1", "_Undo", "_Redo",
                             "_Wrap1", "_Bullets1", "SpeedButton6", "_SelectAll1", "ToCrip", "Clip2Text",
                             "_AddReturn", "_DelNullLine", "_DelLine", "_DelSpaceRL", "_AddString", "_mAwk",
                             "_mRuby", "_mSed", "_mXtr", "_Sort", "_SortR", "_Grep", "_Namazu", "_TagJump", "_fn0",
                             "_SetFile"}) {
        EXPECT_NE(w.action(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(w.action(QStringLiteral("New1"))->text(), QStringLiteral("画面白紙(&D)"));
    EXPECT_EQ(w.action(QStringLiteral("New1"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_EQ(w.action(QStringLiteral("_fn0"))->toolTip(),
              QStringLiteral("グラフ描画、関数の右辺の式を記入してください。\ny=f(x)\n(x,y)=(f(t),g(t))\n極座標r=f(t)"));
    EXPECT_EQ(w.action(QStringLiteral("_TagJump"))->toolTip(),
              QStringLiteral("カーソル行のファイルを開く。または\n\"command\"+F12 DOSプロンプト"));
}
