// The main window's editing commands: undo and redo by menu, tool button
// and Ctrl+U with their enabling, box mode, cut, copy, paste and select all.
#include <QClipboard>

#include "support/main_window_fixture.h"

using tabulo::testing::MainWindowTest;

TEST_F(MainWindowTest, UndoAndRedoFollowTheHistory) {
    auto& w = open();
    w.document().SetTextStr("abc\r\n");
    w.refreshCommands();
    EXPECT_FALSE(enabled("_Undo"));
    EXPECT_FALSE(enabled("_Redo"));
    QTest::keyClicks(&w.editor(), QStringLiteral("xy"));
    QApplication::processEvents();
    EXPECT_EQ(w.document().Lines().Get(0), "xyabc");
    EXPECT_TRUE(enabled("_Undo"));
    run("_Undo");
    EXPECT_EQ(w.document().Lines().Get(0), "xabc");
    EXPECT_TRUE(enabled("_Redo"));
    QTest::keyClick(&w.editor(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(w.document().Lines().Get(0), "abc");
    EXPECT_FALSE(enabled("_Undo"));
    run("Repeat1");
    run("_Redo");
    EXPECT_EQ(w.document().Lines().Get(0), "xyabc");
    EXPECT_FALSE(enabled("_Redo"));
}

TEST_F(MainWindowTest, BoxModeCopyAndPasteKeepTheBlock) {
    auto& w = open();
    w.document().SetTextStr("abcd\r\nefgh\r\n");
    EXPECT_TRUE(enabled("BoxMode1"));
    run("BoxMode1");
    EXPECT_TRUE(w.document().BoxMode());
    EXPECT_TRUE(checked("BoxMode1"));
    w.document().select({0, 1}, {1, 3});
    w.refreshCommands();
    run("Copy1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bc\nfg\n"));  // LF for other programs
    run("Cut1");
    EXPECT_EQ(w.document().GetTextStr(), "ad\r\neh\r\n");
    w.document().setCaret({0, 2});
    run("N20");
    EXPECT_EQ(w.document().GetTextStr(), "adbc\r\nehfg\r\n");
    run("BoxMode1");
    EXPECT_FALSE(w.document().BoxMode());
    run("N22");
    EXPECT_EQ(w.document().SelectedText(), "adbc\r\nehfg\r\n");
}
