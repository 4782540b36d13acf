// Boxes and dialogs on a desktop with a real window manager: opened from each
// of the stay-on-top windows, a box is the topmost window and has the focus,
// and the focus goes back to the window that opened it; the options dialog's
// browse buttons leave the main window usable (Alt+F4 still closes it).
#include <QAbstractButton>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "editor/view/editor_view.h"
#include "graph/window/func_window.h"
#include "platform/error_handler.h"
#include "platform/qt_prompts.h"
#include "script/window/run_dialog.h"
#include "script/window/script_editor.h"
#include "search/window/find_dialog.h"
#include "search/window/namazu_dialog.h"
#include "x_desktop.h"

namespace tabulo::testing {
namespace {

class DialogsOnDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installPrompts(&prompts);
        window = std::make_unique<app::TfmTabulo>(QStringList{});
        prompts.setParentWidget(window.get());
        window->show();
        ASSERT_TRUE(waitUntilActive(*window));
    }
    void TearDown() override {
        if (window) window->document().SetModified(false);  // no close question
        window.reset();
        platform::installPrompts(nullptr);
    }

    static void click(QWidget& parent, const char* name) {
        auto* button = parent.findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    // Opens a box by `open` from the shown window `opener` and checks it
    // on the desktop; the box is closed by `act` (Escape by default).
    SeenBox openBox(QWidget& opener, const std::function<void()>& open, BoxWatch::Act act = {},
                    const QString& shot = {}) {
        EXPECT_TRUE(waitUntilActive(opener)) << opener.objectName().toStdString();
        BoxWatch watch(std::move(act), shot);
        open();
        EXPECT_TRUE(watch.seen().opened) << opener.objectName().toStdString();
        EXPECT_TRUE(watch.seen().topmost) << watch.seen().title.toStdString();
        EXPECT_TRUE(watch.seen().focused) << watch.seen().title.toStdString();
        EXPECT_TRUE(waitUntilActive(opener)) << "the focus did not go back to " << opener.objectName().toStdString();
        return watch.seen();
    }

    platform::QtPrompts prompts;
    std::unique_ptr<app::TfmTabulo> window;
};

TEST_F(DialogsOnDesktopTest, FindDialogsNotFoundBoxAndReplaceAllCount) {
    window->document().SetTextStr("abc abc\r\n");
    window->refreshCommands();
    window->action(QStringLiteral("_Find1"))->trigger();
    search::TfmFind& find = window->findDialog();
    ASSERT_TRUE(find.isVisible());
    find.findCombo().setCurrentText(QStringLiteral("abc"));
    click(find, "FindBitBtn1");  // the first abc
    click(find, "sbFindNext");   // the last
    const SeenBox notFound = openBox(find, [&] { click(find, "sbFindNext"); }, {}, QStringLiteral("find-not-found"));
    EXPECT_EQ(notFound.text, QStringLiteral("文末方向：見つかりません"));

    find.findChild<QComboBox*>(QStringLiteral("ReplaceComboBox1"))->setCurrentText(QStringLiteral("x"));
    find.findChild<QAbstractButton*>(QStringLiteral("ReplaceAllCheckBox1"))->setChecked(true);
    const SeenBox count = openBox(find, [&] { click(find, "ReplaceBitBtn1"); });
    EXPECT_EQ(count.text, QStringLiteral("全部で 2 件置換しました。"));
    find.hide();
}

TEST_F(DialogsOnDesktopTest, GraphWindowsPrintSetUpAndOpenDialog) {
    window->showGraphWindow();
    graph::TfmFunc& graph = window->graphWindow();
    ASSERT_TRUE(graph.isVisible());
    const SeenBox setUp = openBox(graph, [&] { click(graph, "sbPrint"); }, {}, QStringLiteral("graph-print-setup"));
    EXPECT_EQ(setUp.title, QStringLiteral("SetPrinter"));
    openBox(graph, [&] { click(graph, "BBtnOpengr"); });
    graph.close();
}

TEST_F(DialogsOnDesktopTest, RunDialogsFileDialog) {
    script::TfmRun& run = window->scriptRunDialog();
    run.showForMode(script::ScriptMode::Awk);
    ASSERT_TRUE(run.isVisible());
    openBox(run, [&] { click(run, "btScript"); });
    run.hide();
}

TEST_F(DialogsOnDesktopTest, ScriptEditorsSaveDialog) {
    window->scriptSession().mode = script::ScriptMode::Awk;
    window->showScriptEditor();
    script::TfmAwk& editor = window->scriptEditor();
    ASSERT_TRUE(editor.isVisible());
    openBox(editor, [&] { click(editor, "sbSave"); });
    editor.document().SetModified(false);
    editor.close();
}

TEST_F(DialogsOnDesktopTest, NamazuDialogsMessage) {
    window->namazuDialog().show();
    search::TfmNamazu& namazu = window->namazuDialog();
    // A query the program cannot hand to namazu is refused at once.
    namazu.ComboBox1().setCurrentText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    const SeenBox refused = openBox(namazu, [&] { click(namazu, "SpeedButton1"); });
    EXPECT_FALSE(refused.text.isEmpty());
    namazu.hide();
}

// 参照, the file dialog closed with Escape, then the dialog left by either of
// its buttons: the main window still takes keys.
TEST_F(DialogsOnDesktopTest, OptionsBrowseThenAltF4ClosesTheMainWindow) {
    struct Case {
        const char* leaveBy;
        bool messageFollows;
    };
    const Case cases[] = {{"btScriptCancel", false}, {"btScriptSetPas", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.leaveBy);
        if (!window) SetUp();
        QWidget& main = *window;
        openBox(main, [&] { window->action(QStringLiteral("SetFile"))->trigger(); }, [&](QWidget& options) {
            options.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
            openBox(options, [&] { click(options, "Browse0"); });
            if (!c.messageFollows) {
                click(options, c.leaveBy);
                return;
            }
            // The message closes the dialog too, so the focus goes to the main window.
            BoxWatch message([](QWidget&) { typeKeys("Return"); });
            click(options, c.leaveBy);
            EXPECT_TRUE(message.seen().topmost);
            EXPECT_TRUE(message.seen().focused);
        });
        ASSERT_TRUE(waitUntilActive(main));
        typeKeys("alt+F4");
        const QDeadlineTimer deadline(5000);
        while (main.isVisible() && !deadline.hasExpired()) QTest::qWait(20);
        EXPECT_FALSE(main.isVisible()) << "Alt+F4 did not close the main window";
        TearDown();
    }
}

}  // namespace
}  // namespace tabulo::testing
