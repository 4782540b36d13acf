// Faults met when the window is used day to day: the caret left outside the
// view, a tool-bar hint that hid the status panels, the go-to-row box, the
// soft-wrap switch losing the caret's line, silent substitution on paste, the stored
// geometry and font size, and the help lines the line commands quote.
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "app/help_text.h"
#include "sjis/sjis_codec.h"
#include "support/document_window_fixture.h"

using tabulo::editor::TextPosition;
using tabulo::testing::DocumentWindowTest;
using tabulo::testing::MainWindowTest;

namespace {

std::string numberedLines(int count, const std::string& prefix = "line ") {
    std::string text;
    for (int i = 1; i <= count; ++i) text += prefix + std::to_string(i) + "\r\n";
    return text;
}

bool caretInView(const tabulo::editor::EditorModel& doc) {
    return doc.Row() >= doc.TopRow() && doc.Row() < doc.TopRow() + doc.VisibleRows();
}

QLabel* panel(tabulo::app::TfmTabulo& w, int i) {
    return w.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
}

}  // namespace

TEST_F(MainWindowTest, CalculationOnTheLastVisibleRowShowsItsResult) {
    auto& w = open();
    auto& doc = w.document();
    doc.SetTextStr(numberedLines(200));
    const int last = doc.VisibleRows() - 1;
    ASSERT_GT(last, 2);
    doc.Lines().Put(last, "6*7");
    doc.SetTopRow(0);
    doc.setCaret({last, 0});
    w.editor().setFocus();
    QTest::keyClick(&w.editor(), Qt::Key_F9);
    ASSERT_EQ(doc.Lines().Get(last + 1), "42");
    const int resultRow = doc.firstRowOfLine(last + 1);
    EXPECT_GE(resultRow, doc.TopRow());
    EXPECT_LT(resultRow, doc.TopRow() + doc.VisibleRows());
    EXPECT_TRUE(caretInView(doc));
}

TEST_F(MainWindowTest, CommandsThatMoveTheCaretBringItIntoView) {
    auto& w = open();
    auto& doc = w.document();
    doc.SetTextStr(numberedLines(300));
    doc.SetTopRow(0);
    // Select everything, then switch select-all off: the caret goes to the top.
    doc.SetTopRow(250);
    run("SelectAll1");
    run("SelectAll1");
    EXPECT_EQ(doc.caret(), (TextPosition{0, 0}));
    EXPECT_TRUE(caretInView(doc));
}

TEST_F(MainWindowTest, AToolBarHintGoesWhenItsButtonIsDisabledUnderThePointer) {
    auto& w = open();
    w.document().SetTextStr("a\r\n\r\nb\r\n");
    w.document().SelectAll();
    w.refreshCommands();
    QAction* button = w.action(QStringLiteral("_DelNullLine"));
    ASSERT_TRUE(button->isEnabled());
    button->showStatusText(w.toolBar());  // the pointer rests on the button
    ASSERT_EQ(w.statusBar()->currentMessage(), button->statusTip());
    EXPECT_FALSE(panel(w, 0)->isVisible());
    button->trigger();  // deletes the blank line; no selection is left, so the button goes grey
    ASSERT_FALSE(button->isEnabled());
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(panel(w, 0)->isVisible());
    EXPECT_EQ(panel(w, 0)->text(), QStringLiteral("3行 : 0列"));
}

TEST_F(MainWindowTest, GoToRowBoxShowsItsHintsAsThePrompt) {
    auto& w = open();
    w.document().SetTextStr(numberedLines(50));
    prompts.queueInput(QStringLiteral("E"));
    w.editor().setFocus();
    QTest::keyClick(&w.editor(), Qt::Key_J, Qt::ControlModifier);
    ASSERT_EQ(prompts.records().size(), 1u);
    const auto& box = prompts.records()[0];
    EXPECT_EQ(box.text, QStringLiteral(" 指定行に移動　(S:文頭  E:文末)"));
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("S:文頭"))) << box.prompt.toStdString();
    EXPECT_TRUE(box.prompt.contains(QStringLiteral("E:文末"))) << box.prompt.toStdString();
    EXPECT_EQ(w.document().Row(), w.document().RowCount() - w.document().VisibleRows() / 2);
}

TEST_F(MainWindowTest, SwitchingSoftWrapKeepsTheCaretsLineInView) {
    auto& w = open();
    auto& doc = w.document();
    doc.SetTextStr(numberedLines(400, std::string(150, 'x') + " "));
    for (const bool wrapOn : {true, false, true}) {
        SCOPED_TRACE(wrapOn ? "wrap on" : "wrap off");
        const int line = 300;
        doc.setCaret({doc.firstRowOfLine(line), 5});
        doc.scrollToCaret();
        run("_Wrap1");
        ASSERT_EQ(doc.WordWrap(), wrapOn);
        EXPECT_EQ(doc.LineIndexOfRow(doc.Row()), line);
        EXPECT_TRUE(caretInView(doc)) << "caret row " << doc.Row() << ", top " << doc.TopRow();
    }
}

TEST_F(MainWindowTest, PastingCharactersWithoutAShiftJisFormSaysHowManyBecameGetaMarks) {
    auto& w = open();
    QGuiApplication::clipboard()->setText(QStringLiteral("a한b😀c"));
    w.refreshCommands();
    run("Clip2Text");
    // The paste is kept, 〓 (0x81 0xAC in CP932) in place of each.
    EXPECT_EQ(w.document().GetTextStr(), "a\x81\xAC" "b\x81\xAC" "c");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Shift-JIS にない文字 2 個を「〓」に置き換えて貼り付けました。")});

    prompts.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("あ"));
    w.refreshCommands();
    run("Clip2Text");
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(MainWindowTest, HelpTextHoldsTheLinesTheLineCommandsQuote) {
    const char* const quoted[] = {
        "行頭の文字列をキーにして、行を国語辞書順で Sort。(6>123→006<123)",
        "Sortした後、[同一行削除]ボタンで重複した行を１行にまとめられます。",
        "③「右側折り返し固定」画面の幅を決めて、右端折り返しモードにします。ここで",
        "　「右側折り返し固定」を実行すると改行コードを付加します。",
        "④「空行削除」空白行を削除。",
        "⑥「左右空白削除」行の左右の空白文字を削除します。",
        "\tC, C++ のソースを読み込んでおきます。関数の最初の\"{\"から最後の\"}\"の中に",
        "\t含まれる空白行を除いた行数を調べます。",
        "①「行に文字列挿入」任意の文字列、連続数字、①～⑳、A～Z、ⅰ～ⅹ等の連続",
        "　文字を挿入できます。",
        "①Namazu が動作可能な場合有効です。引数オプションは記憶されます。",
        "②検索の要約文の最後にあるファイル名にカーソルを置き F12 でファイルを",
        "　開きます。",
    };
    const auto& lines = tabulo::app::helpTextLines();
    for (const char* line : quoted) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string_view(line)), lines.end()) << line;
    }
    // Every line survives the way into the Shift-JIS document.
    for (std::string_view line : lines) {
        EXPECT_TRUE(tabulo::sjis::SjisCodec::instance().fromUtf8(line).has_value()) << line;
    }
}

TEST_F(DocumentWindowTest, StoredGeometryIsTheClientAreaAndComesBackUnmoved) {
    const QRect placed(120, 90, 640, 480);
    {
        auto& w = open();
        w.setGeometry(placed);
        closeWindow();
    }
    QSettings registry(programFolder() + QStringLiteral("registry.ini"), QSettings::IniFormat);
    const auto stored = [&] {
        registry.sync();
        const QString key = QStringLiteral("Software/Tabulo/fmTabulo/");
        return QRect(registry.value(key + QStringLiteral("WindowLeft")).toInt(),
                     registry.value(key + QStringLiteral("WindowTop")).toInt(),
                     registry.value(key + QStringLiteral("WindowWidth")).toInt(),
                     registry.value(key + QStringLiteral("WindowHeight")).toInt());
    };
    EXPECT_EQ(stored(), placed);
    // Three more runs: the window neither creeps nor grows.
    for (int run = 0; run < 3; ++run) {
        auto& w = open();
        EXPECT_EQ(w.geometry(), placed);
        closeWindow();
        EXPECT_EQ(stored(), placed);
    }
}

TEST_F(DocumentWindowTest, TheFirstRunStoresARealFontSize) {
    open();
    closeWindow();
    QSettings registry(programFolder() + QStringLiteral("registry.ini"), QSettings::IniFormat);
    const int size = registry.value(QStringLiteral("Software/Tabulo/fmTabulo/FontSize")).toInt();
    EXPECT_GT(size, 0);
    // Read back, it gives the editor the same size.
    auto& w = open();
    EXPECT_EQ(QFontInfo(w.editor().editorFont()).pointSize(), size);
}
