// Scripts through the main window: the run dialog's controls, choices and
// remembered settings, direct runs of real interpreters over the line range
// with the result in a second copy or on the clipboard, the target questions,
// a failing or missing interpreter, and the stop command ending a run that
// never ends while other commands are held off; the minimised destination
// waiting for the result's copy of the program.
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <thread>

#include "platform/free_space.h"
#include "platform/local_path.h"
#include "os/process/child_process.h"
#include "script/engine/interpreter_command.h"
#include "script/window/run_dialog.h"
#include "support/document_window_fixture.h"
#include "support/show_bytes.h"

using tabulo::platform::Answer;
using tabulo::platform::PromptKind;
using tabulo::script::TfmRun;
using tabulo::testing::showBytes;

namespace {

class ScriptWindowTest : public tabulo::testing::DocumentWindowTest {
protected:
    void SetUp() override {
        DocumentWindowTest::SetUp();
        if (tabulo::os::findProgram("gawk").empty()) GTEST_SKIP() << "gawk is not installed";
        if (!tabulo::script::sjisLocaleInstalled()) GTEST_SKIP() << "the ja_JP.SJIS locale is not installed";
        QFile::remove(workFolder() + QStringLiteral("TT.txt"));
    }

    TfmRun& dialog() { return window->scriptRunDialog(); }
    template <typename T>
    T* control(const char* name) {
        T* found = dialog().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString scriptList() {
        QStringList items;
        auto* list = control<QComboBox>("ComboBox1");
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        return items.join(QLatin1Char(',')) + QLatin1Char('|') + list->currentText();
    }
    void chooseDestination(int id) {
        const auto radios = dialog().findChildren<QRadioButton*>();
        const QString captions[] = {QStringLiteral("親画面を最小化して出力"), QStringLiteral("親画面を残 して出力"),
                                    QStringLiteral("クリップボードに出力")};
        for (QRadioButton* radio : radios) {
            if (radio->text() == captions[id]) radio->click();
        }
    }
    // Opens the dialog in the mode and picks the script through the file
    // dialog.
    void openWithScript(const char* command, const QString& script) {
        run(command);
        prompts.queueFile(script);
        control<QPushButton>("btScript")->click();
    }
    // A document of these bytes with lines first..last selected.
    tabulo::app::TfmTabulo& openDocument(const std::string& bytes) {
        const QString file = path(QStringLiteral("doc.txt"));
        writeBytes(file, bytes);
        return open({file});
    }
    void selectLines(int first, int last) {
        auto& doc = window->document();
        const std::int64_t start = doc.offsetOfRow(first);
        const std::int64_t end = doc.offsetOfRow(last + 1) < 0 ? doc.textLength() : doc.offsetOfRow(last + 1);
        doc.SetSelStart(start);
        doc.SetSelLength(end - start);
    }
    std::string resultBytes() { return readBytes(workFolder() + QStringLiteral("TT.txt")); }
};

TEST_F(ScriptWindowTest, InstalledInterpretersAreAvailableOnAFreshStart) {
    auto& w = open();
    EXPECT_TRUE(enabled("mAwk"));
    EXPECT_TRUE(enabled("_mAwk"));
    EXPECT_TRUE(enabled("mSed"));
    EXPECT_EQ(w.action(QStringLiteral("_mRuby"))->isVisible(), !tabulo::os::findProgram("ruby").empty());
    EXPECT_EQ(enabled("mXtr"), !tabulo::os::findProgram("xtr").empty());
}

TEST_F(ScriptWindowTest, TheDialogListsTheFoldersScriptsAndRemembersEachModesLast) {
    writeBytes(path(QStringLiteral("b.awk")), "{ print }\n");
    writeBytes(path(QStringLiteral("a.awk")), "{ print }\n");
    writeBytes(path(QStringLiteral("c.rb")), "print 1\n");
    open();
    run("mAwk");
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), QStringLiteral("Script実行"));
    EXPECT_EQ(dialog().frameGeometry().top(), window->frameGeometry().top() + 100);
    EXPECT_EQ(scriptList(), QStringLiteral("|"));
    EXPECT_FALSE(control<QToolButton>("sbRun")->isEnabled());
    EXPECT_FALSE(control<QToolButton>("sbDebug")->isEnabled());

    prompts.queueFile(path(QStringLiteral("b.awk")));
    control<QPushButton>("btScript")->click();
    EXPECT_EQ(prompts.records().back().filter, TfmRun::scriptFilter());
    EXPECT_EQ(scriptList(), QStringLiteral("a.awk,b.awk|b.awk"));
    EXPECT_TRUE(control<QToolButton>("sbRun")->isEnabled());
    EXPECT_TRUE(control<QToolButton>("sbDebug")->isEnabled());
    EXPECT_EQ(readBytes(workFolder() + QStringLiteral("S.awk")), "{ print }\n");
    chooseDestination(2);
    QTest::keyClick(control<QComboBox>("ComboBox1"), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(window->scriptSession().mode.has_value());

    openWithScript("_mRuby", path(QStringLiteral("c.rb")));
    QTest::keyClick(control<QPushButton>("btScript"), Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());

    // Each mode shows its own last script; the output choice comes back.
    run("mAwk");
    EXPECT_EQ(scriptList(), QStringLiteral("a.awk,b.awk|b.awk"));
    EXPECT_TRUE(dialog().findChildren<QRadioButton*>().at(4)->isChecked());  // クリップボードに出力
    control<QPushButton>("Button1")->click();
    run("mRuby");
    EXPECT_EQ(scriptList(), QStringLiteral("c.rb|c.rb"));
    dialog().close();
}

TEST_F(ScriptWindowTest, TheScriptChooserOpensOnTheModesFilterEntry) {
    open();
    const struct {
        const char* command;
        int entry;
    } cases[] = {{"mAwk", 0}, {"mSed", 2}, {"mRuby", 1}, {"mXtr", 3}};
    for (const auto& c : cases) {
        if (!enabled(c.command)) continue;  // no such interpreter here
        run(c.command);
        prompts.queueFile(std::nullopt);
        control<QPushButton>("btScript")->click();
        EXPECT_EQ(prompts.records().back().kind, PromptKind::OpenFile) << c.command;
        EXPECT_EQ(prompts.records().back().filter, TfmRun::scriptFilter()) << c.command;
        EXPECT_EQ(prompts.records().back().selectedFilter, c.entry) << c.command;
        dialog().reject();
    }
}

TEST_F(ScriptWindowTest, OpeningTheDialogWritesOnlyMissingKeywordFiles) {
    const QString folder = programFolder();
    writeBytes(folder + QStringLiteral("Awk.kwd"), ".awk\r\nmyword\r\n");
    // A link into a folder that does not exist: the file cannot be created.
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("missing/Ruby.kwd"), folder + QStringLiteral("Ruby.kwd")));
    open();
    run("mAwk");
    EXPECT_EQ(readBytes(folder + QStringLiteral("Awk.kwd")), ".awk\r\nmyword\r\n");
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("can't open ") + folder + QStringLiteral("Ruby.kwd"));

    QFile::remove(folder + QStringLiteral("Ruby.kwd"));
    QFile::remove(folder + QStringLiteral("Awk.kwd"));
    dialog().reject();
    run("mSed");
    EXPECT_EQ(readBytes(folder + QStringLiteral("Awk.kwd")).substr(0, 6), ".awk\r\n");
    EXPECT_EQ(readBytes(folder + QStringLiteral("Ruby.kwd")).substr(0, 5), ".rb\r\n");
}

TEST_F(ScriptWindowTest, DirectRunPutsTheOutputInPlaceOfTheRangeInASecondCopy) {
    auto& w = openDocument("a 1\r\nb \x95\x5C\r\nc \x83\x7C\r\nd 4\r\n");
    writeBytes(path(QStringLiteral("second.awk")), "{ print $2 \"|\" length($2) }\n");
    selectLines(1, 2);
    openWithScript("mAwk", path(QStringLiteral("second.awk")));
    chooseDestination(1);
    control<QToolButton>("sbRun")->click();
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(prompts.texts(), QStringList{QString()});  // only the file dialog
    EXPECT_EQ(showBytes(resultBytes()), showBytes("a 1\r\n\x95\x5C|1\r\n\x83\x7C|1\r\nd 4\r\n"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].parameters, (QStringList{QStringLiteral("-d"), workFolder() + QStringLiteral("TT.txt")}));
    EXPECT_FALSE(started[0].wait);
    EXPECT_EQ(w.document().GetTextStr(), "a 1\r\nb \x95\x5C\r\nc \x83\x7C\r\nd 4\r\n");
    // The debug script holds the same command, every word quoted.
    const std::string debug = readBytes(programFolder() + QStringLiteral("Tbdebug.sh"));
    EXPECT_NE(debug.find("'-f' '" + tabulo::platform::toLocalPath(workFolder()) + "S.awk' '"), std::string::npos)
        << debug;
}

// The first destination: this program's windows are minimised while the user
// works on the result in a copy of the program that the run waits for, and
// come back as they were (a maximised window maximised) when it ends.
TEST_F(ScriptWindowTest, TheMinimisedDestinationWaitsForTheCopyAndRestoresTheWindows) {
    auto& w = openDocument("a 1\r\nb 2\r\n");
    w.showMaximized();
    writeBytes(path(QStringLiteral("second.awk")), "{ print $2 }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("second.awk")));
    chooseDestination(0);
    bool minimisedDuringCopy = false;
    bool heldOffDuringCopy = false;
    tabulo::platform::setRunShellHook([&](const QString& file, const QStringList& parameters, bool wait) {
        started.push_back({file, parameters, wait});
        minimisedDuringCopy = w.isMinimized();
        heldOffDuringCopy = w.waitingForChild() && enabled("StopBt");
        return true;
    });
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(showBytes(resultBytes()), showBytes("1\r\nb 2\r\n"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, QCoreApplication::applicationFilePath());
    EXPECT_EQ(started[0].parameters, QStringList{workFolder() + QStringLiteral("TT.txt")});  // not the viewer
    EXPECT_TRUE(started[0].wait);
    EXPECT_TRUE(minimisedDuringCopy);
    EXPECT_TRUE(heldOffDuringCopy);
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isMaximized());
    EXPECT_FALSE(w.waitingForChild());
    EXPECT_FALSE(enabled("StopBt"));
    EXPECT_FALSE(dialog().isVisible());
}

// Stands in for the copy of the program that shows a result: the test below
// starts this test program as that copy, with the filter set to this test
// alone. It writes its process id and arguments, then waits to be ended.
TEST(ScriptResultCopy, StandIn) {
    const QString log = qEnvironmentVariable("TABULO_TEST_COPY_LOG");
    if (log.isEmpty()) GTEST_SKIP() << "runs only as the result's copy";
    QFile file(log + QStringLiteral(".part"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QCoreApplication::arguments().mid(1).join(QLatin1Char('|')).toUtf8());
    file.close();
    ASSERT_TRUE(file.rename(log));
    std::this_thread::sleep_for(std::chrono::seconds(60));
}

TEST_F(ScriptWindowTest, TheStopCommandEndsTheWaitForTheResultsCopy) {
    tabulo::platform::setRunShellHook({});  // a real copy: this test program standing in
    const QString log = path(QStringLiteral("copy.log"));
    qputenv("GTEST_FILTER", "ScriptResultCopy.StandIn");
    qputenv("TABULO_TEST_COPY_LOG", QFile::encodeName(log));
    auto& w = openDocument("a 1\r\n");
    writeBytes(path(QStringLiteral("second.awk")), "{ print $2 }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("second.awk")));
    chooseDestination(0);
    QTimer poll;
    const auto since = std::chrono::steady_clock::now();
    bool minimisedWhileCopyRan = false;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        if (!QFile::exists(log) && std::chrono::steady_clock::now() - since < std::chrono::seconds(20)) return;
        poll.stop();
        minimisedWhileCopyRan = w.isMinimized();
        prompts.queueAnswer(Answer::Yes);
        w.action(QStringLiteral("StopBt"))->trigger();
    });
    poll.start(20);
    control<QToolButton>("sbRun")->click();
    qunsetenv("GTEST_FILTER");
    qunsetenv("TABULO_TEST_COPY_LOG");

    const QStringList copy = QString::fromUtf8(readBytes(log)).split(QLatin1Char('\n'));
    ASSERT_EQ(copy.size(), 2) << readBytes(log);
    EXPECT_EQ(copy[1], workFolder() + QStringLiteral("TT.txt"));
    EXPECT_TRUE(minimisedWhileCopyRan);
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("実行中の処理を中止しますか?"));
    // The copy is ended and reaped: its process is gone.
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/") + copy[0]));
    EXPECT_FALSE(w.isMinimized());
    EXPECT_FALSE(w.waitingForChild());
    EXPECT_FALSE(enabled("StopBt"));
    EXPECT_FALSE(dialog().isVisible());
}

TEST_F(ScriptWindowTest, TheTargetQuestions) {
    auto& w = openDocument("x \x95\x5C\ny 2\n");
    writeBytes(path(QStringLiteral("s.sed")), "s/\x95\x5C/\x83\x5C/\n");
    writeBytes(path(QStringLiteral("alone.awk")), "BEGIN { print \"alone\" }\n");

    // Awk without a selection: No runs nothing.
    openWithScript("mAwk", path(QStringLiteral("alone.awk")));
    prompts.queueAnswer(Answer::No);
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("ターゲットが選択されていません。スクリプトの単独実行をします。"));
    EXPECT_EQ(resultBytes(), "<missing>");

    // Yes: the script runs alone; its output takes the caret line's place.
    openWithScript("mAwk", path(QStringLiteral("alone.awk")));
    prompts.queueAnswer(Answer::Yes);
    chooseDestination(0);
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(showBytes(resultBytes()), showBytes("alone\ny 2\n"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].parameters, QStringList{workFolder() + QStringLiteral("TT.txt")});
    w.showNormal();

    // Sed without a selection asks for the whole text: No clears it.
    openWithScript("mSed", path(QStringLiteral("s.sed")));
    prompts.queueAnswer(Answer::No);
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("全文をターゲットにしてスクリプトを実行します。"));
    EXPECT_EQ(w.document().SelLength(), 0);
    EXPECT_FALSE(checked("SelectAll1"));

    // Yes runs over the whole text, here to the clipboard.
    openWithScript("mSed", path(QStringLiteral("s.sed")));
    chooseDestination(2);
    prompts.queueAnswer(Answer::Yes);
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("クリップボーにコピーしました"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("x ソ\ny 2\n"));
    EXPECT_EQ(started.size(), 1u);

    // Sed on an empty document has no target.
    w.document().SetTextStr("");
    openWithScript("mSed", path(QStringLiteral("s.sed")));
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("ターゲットがありません"));
}

TEST_F(ScriptWindowTest, QuotedArgumentsNameFilesWithSpacesAndShellCharacters) {
    openDocument("a\n");
    const QString data = path(QStringLiteral("my 'data' $x;y.txt"));
    writeBytes(data, "d\n");
    writeBytes(path(QStringLiteral("args.awk")), "BEGIN { print ARGV[1]; print ARGV[2]; exit }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("args.awk")));
    control<QLineEdit>("edRunArg")->setText(QStringLiteral("  \"") + data + QStringLiteral("\"  $HOME "));
    chooseDestination(1);
    control<QToolButton>("sbRun")->click();
    EXPECT_EQ(prompts.texts(), QStringList{QString()});
    EXPECT_EQ(resultBytes(), tabulo::platform::toLocalPath(data) + "\n$HOME\n");

    // A quoted name that does not exist is named, and the run goes on.
    openWithScript("mAwk", path(QStringLiteral("args.awk")));
    control<QLineEdit>("edRunArg")->setText(QStringLiteral("\"nothing here\""));
    control<QToolButton>("sbRun")->click();
    EXPECT_TRUE(prompts.texts().contains(QStringLiteral("nothing here が見つかりません")));
    EXPECT_EQ(resultBytes(), "nothing here\n" + tabulo::platform::toLocalPath(workFolder()) + "L.$\n");
}

TEST_F(ScriptWindowTest, AFailedRunOffersTheDebugScriptThenShowsTheErrors) {
    openDocument("a\n");
    writeBytes(path(QStringLiteral("bad.awk")), "{ print ( }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("bad.awk")));
    prompts.queueInput(QStringLiteral("/edited/Tbdebug.sh"));
    control<QToolButton>("sbRun")->click();
    const auto& records = prompts.records();
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[records.size() - 3].kind, PromptKind::Beep);
    EXPECT_EQ(records[records.size() - 2].text, QStringLiteral("Debug"));
    EXPECT_EQ(records[records.size() - 2].prompt, QStringLiteral("処理に失敗しました。DOSプロンプトで実行"));
    EXPECT_EQ(records[records.size() - 2].defaultText, programFolder() + QStringLiteral("Tbdebug.sh"));
    EXPECT_TRUE(records.back().text.startsWith(QStringLiteral("gawk が終了コード 1 で終了しました")))
        << records.back().text.toStdString();
    EXPECT_TRUE(records.back().text.contains(QStringLiteral("print ( }"))) << records.back().text.toStdString();
    ASSERT_EQ(started.size(), 1u);  // the terminal with the debug script
    EXPECT_EQ(started[0].file, QStringLiteral("command"));
    EXPECT_EQ(started[0].parameters,
              (QStringList{QStringLiteral("-e"), QStringLiteral("/bin/sh"), QStringLiteral("/edited/Tbdebug.sh")}));
    EXPECT_EQ(resultBytes(), "<missing>");
}

// An interpreter that writes without end is stopped once its output no
// longer fits beside it, before it fills the disk; the document stays.
TEST_F(ScriptWindowTest, AnOutputLargerThanTheFreeSpaceStopsTheRun) {
    auto& w = openDocument("a\r\n");
    writeBytes(path(QStringLiteral("flood.awk")), "{ while (1) print \"x\" }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("flood.awk")));
    tabulo::platform::setFreeSpaceQuery([](const std::string&) { return tabulo::platform::FreeSpace{64 * 1024, "/"}; });
    control<QToolButton>("sbRun")->click();
    tabulo::platform::setFreeSpaceQuery({});
    ASSERT_FALSE(prompts.texts().isEmpty());
    EXPECT_EQ(prompts.texts().back(),
              QStringLiteral("作業フォルダーの空き容量が足りないため、スクリプトの実行を中止しました。"));
    EXPECT_EQ(resultBytes(), "<missing>");
    EXPECT_FALSE(QFile::exists(workFolder() + QStringLiteral("T.$")));
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(w.document().GetTextStr(), "a\r\n");
}

TEST_F(ScriptWindowTest, AMissingInterpreterSaysSo) {
    openDocument("a\n");
    writeBytes(path(QStringLiteral("x.xtr")), "x\n");
    selectLines(0, 0);
    window->scriptSession().mode = tabulo::script::ScriptMode::Xtr;
    QFile::copy(path(QStringLiteral("x.xtr")), workFolder() + QStringLiteral("S.xtr"));
    if (!tabulo::os::findProgram("xtr").empty()) GTEST_SKIP() << "an xtr is installed";
    prompts.queueInput(std::nullopt);
    window->runScript();
    EXPECT_EQ(prompts.records().back().text, QStringLiteral("xtr: コマンドが見つかりません"));
    EXPECT_TRUE(started.empty());
}

TEST_F(ScriptWindowTest, TheStopCommandEndsARunThatNeverEnds) {
    auto& w = openDocument("a\nb\n");
    writeBytes(path(QStringLiteral("loop.awk")), "{ while (1) x++ }\n");
    selectLines(0, 0);
    openWithScript("mAwk", path(QStringLiteral("loop.awk")));
    chooseDestination(1);
    const std::string before = w.document().GetTextStr();
    bool insertRefused = false;
    QTimer::singleShot(100, &w, [&] {
        // Commands other than stop are held off while the interpreter runs.
        w.action(QStringLiteral("N25"))->trigger();
        insertRefused = w.document().GetTextStr() == before;
        prompts.queueAnswer(Answer::Yes);
        w.action(QStringLiteral("StopBt"))->trigger();
    });
    control<QToolButton>("sbRun")->click();
    EXPECT_TRUE(insertRefused);
    EXPECT_EQ(prompts.texts().last(), QStringLiteral("実行中の処理を中止しますか?"));
    EXPECT_EQ(w.statusBar()->currentMessage(), QStringLiteral("スクリプトの実行を中止しました"));
    EXPECT_EQ(w.document().GetTextStr(), before);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(resultBytes(), "<missing>");
    EXPECT_FALSE(enabled("StopBt"));
}

}  // namespace
