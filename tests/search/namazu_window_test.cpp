// Full-text search through the main window. A real index built with mknmz
// over Shift-JIS and EUC-JP files answers a Japanese query typed in the
// dialog; the result list opens in a viewer copy and F12 on its summary
// lines opens the files. Fake namazu programs on PATH show what reaches
// namazu (the query as one word, the locale), every failure (no namazu, no
// index, no output) and a namazu that hangs until the stop command.
#include <signal.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>

#include "platform/local_path.h"
#include "os/process/child_process.h"
#include "search/window/namazu_dialog.h"
#include "support/document_window_fixture.h"
#include "support/show_bytes.h"

using tabulo::platform::Answer;
using tabulo::os::ChildProcess;
using tabulo::platform::PromptKind;
using tabulo::testing::showBytes;

namespace {

// 日本語 in each code.
const std::string kSjisWord = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string kEucWord = "\xC6\xFC\xCB\xDC\xB8\xEC";

class NamazuWindowTest : public tabulo::testing::DocumentWindowTest {
protected:
    void SetUp() override {
        DocumentWindowTest::SetUp();
        m_oldPath = qgetenv("PATH");
        for (const char* name : {"LC_ALL", "LANGUAGE"}) {
            if (qEnvironmentVariableIsSet(name)) m_oldLocale.emplace_back(name, qgetenv(name));
        }
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    }
    void TearDown() override {
        qputenv("PATH", m_oldPath);
        qunsetenv("LC_ALL");
        qunsetenv("LANGUAGE");
        for (const auto& [name, value] : m_oldLocale) qputenv(name, value);
        DocumentWindowTest::TearDown();
    }

    // A namazu of the test's own, first on PATH.
    void fakeNamazu(const std::string& body) {
        const QString file = path(QStringLiteral("bin/namazu"));
        writeBytes(file, "#!/bin/sh\n" + body);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(path(QStringLiteral("bin"))) + ":" + m_oldPath);
    }

    // Opens the window and the dialog.
    tabulo::search::TfmNamazu& openDialog() {
        open();
        run("Namazu");
        return window->namazuDialog();
    }
    void search(const QString& query, const QString& options = QStringLiteral("-n 100"),
                const QString& folders = {}) {
        auto& dialog = window->namazuDialog();
        dialog.ComboBox1().setCurrentText(query);
        dialog.Edit1().setText(options);
        dialog.Edit2().setText(folders);
        dialog.SpeedButton1Click();
    }

    static QString outputFile() { return workFolder() + QStringLiteral("T.$"); }
    static QString debugScript() { return programFolder() + QStringLiteral("Tbdebug.sh"); }
    static QString program() { return QCoreApplication::applicationFilePath(); }

    // Runs a program to its end with the test's PATH; its standard output.
    std::string runToEnd(const std::vector<std::string>& arguments, bool mustSucceed = true) {
        const QString log = path(QStringLiteral("run.log"));
        ChildProcess child;
        child.start({arguments, {}, tabulo::platform::toLocalPath(log)});
        const auto result = child.wait({});
        if (mustSucceed) {
            EXPECT_TRUE(result.succeeded()) << child.errorText();
        }
        return readBytes(log);
    }

    QByteArray m_oldPath;
    std::vector<std::pair<const char*, QByteArray>> m_oldLocale;
};

TEST_F(NamazuWindowTest, AvailableWhenNamazuIsOnThePathOrThePathNamesIt) {
    fakeNamazu("true\n");
    const QByteArray withFake = qgetenv("PATH");
    const struct {
        QByteArray path;
        bool available;
    } cases[] = {
        {withFake, true},
        {"/nonexistent/namazu/bin", true},
        {QFile::encodeName(path(QStringLiteral("none"))), false},
    };
    for (const auto& c : cases) {
        qputenv("PATH", c.path);
        open();
        EXPECT_EQ(enabled("Namazu"), c.available) << c.path.toStdString();
        EXPECT_EQ(window->action(QStringLiteral("_Namazu"))->isVisible(), c.available) << c.path.toStdString();
        window.reset();
    }
}

TEST_F(NamazuWindowTest, AJapaneseQueryOverARealIndexAndF12OnItsSummaryLines) {
    const std::string searchPath = qEnvironmentVariable("PATH").toStdString();
    if (tabulo::os::findProgram("namazu", searchPath).empty() ||
        tabulo::os::findProgram("mknmz", searchPath).empty()) {
        GTEST_SKIP() << "namazu or mknmz is not installed (Debian namazu2, namazu2-index-tools)";
    }
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("docs")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("index")));
    const QString sjisFile = path(QStringLiteral("docs/sjis.txt"));
    const QString eucFile = path(QStringLiteral("docs/euc.txt"));
    const QString namedFile = path(QStringLiteral("docs/表 a.txt"));
    const QString copyFile = path(QStringLiteral("docs/Copy (2).txt"));
    const QString otherFile = path(QStringLiteral("docs/other.txt"));
    writeBytes(sjisFile, kSjisWord + "\x82\xCC\x95\xB6\x8F\x91\x82\xC5\x82\xB7\r\n");  // 日本語の文書です
    writeBytes(eucFile, kEucWord + "\xA4\xCE\xC5\xEC\xB5\xFE\r\n");                      // 日本語の東京
    writeBytes(namedFile, kSjisWord + "\x82\xCC\x95\x5C\r\n");                          // 日本語の表
    writeBytes(copyFile, kSjisWord + "\r\n");
    writeBytes(otherFile, "English only\r\n");
    const QString index = path(QStringLiteral("index"));
    runToEnd({"mknmz", "-L", "ja", "-k", "-O", tabulo::platform::toLocalPath(index),
              tabulo::platform::toLocalPath(path(QStringLiteral("docs")))});

    openDialog();
    search(QStringLiteral("日本語"), QStringLiteral("-n 100"), index);
    EXPECT_TRUE(prompts.records().empty()) << prompts.texts().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, program());
    EXPECT_EQ(started[0].parameters, (QStringList{QStringLiteral("-d"), outputFile()}));
    EXPECT_FALSE(started[0].wait);

    const std::string document = readBytes(outputFile());
    const auto summary = [](const QString& file) {
        return QFile::encodeName(file).toStdString() + " (";
    };
    EXPECT_NE(document.find(kSjisWord), std::string::npos) << showBytes(document);
    EXPECT_EQ(document.find(kEucWord), std::string::npos) << showBytes(document);
    EXPECT_NE(document.find(summary(sjisFile)), std::string::npos) << showBytes(document);
    EXPECT_NE(document.find(summary(eucFile)), std::string::npos) << showBytes(document);
    EXPECT_NE(document.find(summary(copyFile)), std::string::npos) << showBytes(document);
    EXPECT_EQ(document.find("other.txt"), std::string::npos) << showBytes(document);
    // The name with 表 appears in Shift-JIS, as the document's own text.
    const std::string namedLine =
        QFile::encodeName(path(QStringLiteral("docs"))).toStdString() + "/\x95\x5C a.txt (";
    EXPECT_NE(document.find(namedLine), std::string::npos) << showBytes(document);

    // F12 on each summary line of the result document opens its file.
    ASSERT_TRUE(window->openFile(outputFile()));
    for (const QString& file : {sjisFile, eucFile, namedFile, copyFile}) {
        const std::string bytes = readBytes(outputFile());
        const std::string marker = file == namedFile ? namedLine : summary(file);
        const auto at = bytes.find(marker);
        ASSERT_NE(at, std::string::npos);
        const int line = static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n'));
        window->document().SetRow(window->document().firstRowOfLine(line));
        started.clear();
        run("TagJump");
        ASSERT_EQ(started.size(), 1u) << file.toStdString();
        EXPECT_EQ(started[0].file, program());
        EXPECT_EQ(started[0].parameters, QStringList{file});
    }

    // A folder that holds no index: the message, and no result document.
    started.clear();
    search(QStringLiteral("日本語"), QStringLiteral("-n 100"), path(QStringLiteral("docs")));
    EXPECT_EQ(prompts.texts(), (QStringList{QString(), QStringLiteral("Namazu の索引を開けません: ") + path(QStringLiteral("docs"))}));
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(QFile::exists(outputFile()));
}

TEST_F(NamazuWindowTest, TheQueryReachesNamazuAsOneEucWordAndTheDebugScriptRepeatsTheRun) {
    const std::string dump = tabulo::platform::toLocalPath(path(QStringLiteral("argv.log")));
    fakeNamazu("for w in \"$@\"; do printf '<%s>' \"$w\"; done > '" + dump + "'\n"
               "printf '|%s|%s|%s|' \"$LANG\" \"${LC_ALL-none}\" \"${LANGUAGE-none}\" >> '" + dump + "'\n"
               "cat >> '" + dump + "'\n"
               "printf 'References: [ " + kEucWord + ": 1 ]\\n'\n");
    // The user's own locale settings do not reach namazu.
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANGUAGE", "en");
    auto& dialog = openDialog();
    const QString query = QStringLiteral("a \"b\" 'c'; $HOME `x` 日本語");
    search(query, QString(), QStringLiteral("/idx \"/my idx\""));
    EXPECT_EQ(dialog.Edit1().text(), QStringLiteral("-n 100"));
    const std::string expected = "<-n><100><--><a \"b\" 'c'; $HOME `x` " + kEucWord + "></idx></my idx>|ja_JP.eucJP|none|none|";
    EXPECT_EQ(showBytes(readBytes(path(QStringLiteral("argv.log")))), showBytes(expected));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(readBytes(outputFile()), "References: [ " + kSjisWord + ": 1 ]\n");

    // The debug script runs the same command, then waits for Enter (here
    // the end of its empty input).
    QFile::remove(path(QStringLiteral("argv.log")));
    const std::string shown = runToEnd({"/bin/sh", tabulo::platform::toLocalPath(debugScript())}, false);
    EXPECT_EQ(showBytes(readBytes(path(QStringLiteral("argv.log")))), showBytes(expected));
    EXPECT_NE(shown.find("Press Enter"), std::string::npos);
}

TEST_F(NamazuWindowTest, ABlankQueryDoesNothing) {
    fakeNamazu("echo ran > '" + tabulo::platform::toLocalPath(path(QStringLiteral("ran.log"))) + "'\n");
    auto& dialog = openDialog();
    EXPECT_FALSE(dialog.SpeedButton1().isEnabled());  // nothing was selected
    dialog.ComboBox1().setCurrentText(QStringLiteral(" \t\u3000 "));
    EXPECT_FALSE(dialog.SpeedButton1().isEnabled());
    QTest::keyClick(dialog.ComboBox1().lineEdit(), Qt::Key_Return);
    search(QStringLiteral(" \u3000"), QString());
    EXPECT_EQ(dialog.Edit1().text(), QStringLiteral("-n 100"));
    dialog.ComboBox1().setCurrentText(QStringLiteral(" x "));
    EXPECT_TRUE(dialog.SpeedButton1().isEnabled());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("ran.log"))));
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(dialog.ComboBox1().count(), 0);
}

TEST_F(NamazuWindowTest, FailuresTellTheUserAndOpenNoDocument) {
    // No namazu although PATH names it.
    qputenv("PATH", QFile::encodeName(path(QStringLiteral("namazu-gone"))));
    openDialog();
    search(QStringLiteral("x"));
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::Beep);
    EXPECT_TRUE(prompts.records()[1].text.startsWith(QStringLiteral("namazu が見つかりません。")))
        << prompts.records()[1].text.toStdString();
    EXPECT_TRUE(started.empty());
    window.reset();

    // namazu finds no index: it says so in its output and ends with 0.
    prompts.clear();
    fakeNamazu("printf 'References:  [  (can\\047t open the index)  ] \\n\\nNo document matching your query.\\n'\n");
    openDialog();
    search(QStringLiteral("x"), QStringLiteral("-n 100"), QStringLiteral("/no/index"));
    EXPECT_EQ(prompts.texts(), (QStringList{QString(), QStringLiteral("Namazu の索引を開けません: /no/index")}));
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(QFile::exists(outputFile()));

    // No output at all: the debug box; OK runs the debug script in a terminal.
    prompts.clear();
    fakeNamazu("echo 'namazu: broken' >&2\nexit 1\n");
    prompts.queueInput(std::nullopt);
    search(QStringLiteral("x"));
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::Beep);
    EXPECT_EQ(prompts.records()[1].kind, PromptKind::Input);
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral("Debug"));
    EXPECT_EQ(prompts.records()[1].prompt, QStringLiteral("処理に失敗しました。DOSプロンプトで実行"));
    EXPECT_EQ(prompts.records()[1].defaultText, debugScript());
    EXPECT_TRUE(started.empty());
    prompts.queueInput(debugScript());
    search(QStringLiteral("x"));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, QStringLiteral("command"));
    EXPECT_EQ(started[0].parameters, (QStringList{QStringLiteral("-e"), QStringLiteral("/bin/sh"), debugScript()}));
    EXPECT_TRUE(started[0].wait);
}

TEST_F(NamazuWindowTest, AHangingNamazuEndsWithTheStopCommandAndTheWindowHoldsOffInput) {
    const std::string pidFile = tabulo::platform::toLocalPath(path(QStringLiteral("sleep.pid")));
    fakeNamazu("sleep 60 &\necho $! > '" + pidFile + "'\nwait\n");
    openDialog();
    window->document().SetTextStr("kept\r\n");
    bool stopped = false;
    QStringList menusOpen;
    QTimer stopper;
    stopper.setInterval(50);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (stopped || !window->waitingForChild() || !readBytes(path(QStringLiteral("sleep.pid"))).ends_with("\n")) return;
        stopped = true;
        // Other commands, menus and typing wait; only the stop command runs.
        window->action(QStringLiteral("Grep"))->trigger();
        QTest::keyClicks(&window->editor(), QStringLiteral("typed"));
        QTest::keyClick(&window->editor(), Qt::Key_Y, Qt::ControlModifier);  // delete a line
        for (QAction* menu : window->menuBar()->actions()) {
            menusOpen << (menu->isEnabled() ? menu->objectName() : QString());
        }
        prompts.queueAnswer(Answer::Yes);
        window->action(QStringLiteral("StopBt"))->trigger();
    });
    stopper.start();
    const auto began = std::chrono::steady_clock::now();
    search(QStringLiteral("x"));
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(20));
    ASSERT_TRUE(stopped);
    EXPECT_FALSE(window->waitingForChild());
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("実行中の処理を中止しますか?")});
    EXPECT_EQ(window->document().GetTextStr(), "kept\r\n");
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(QFile::exists(outputFile()));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Namazu の検索を中止しました"));
    const pid_t sleeper = std::stoi(readBytes(path(QStringLiteral("sleep.pid"))));
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
        const std::string stat = readBytes(QStringLiteral("/proc/%1/stat").arg(sleeper));
        gone = ::kill(sleeper, 0) != 0 || stat.find(") Z") != std::string::npos;
        QTest::qWait(10);
    }
    EXPECT_TRUE(gone) << "namazu's own child lives on";
    EXPECT_TRUE(enabled("Grep"));
    menusOpen.removeAll(QString());
    EXPECT_EQ(menusOpen, QStringList{QStringLiteral("Show1")});
    for (QAction* menu : window->menuBar()->actions()) EXPECT_TRUE(menu->isEnabled()) << menu->objectName().toStdString();
}

TEST_F(NamazuWindowTest, HistoryOptionsAndFoldersSurviveARestart) {
    fakeNamazu("echo result\n");
    auto& w = open();
    w.document().SetTextStr("\x93\xFA\x96\x7B and more\r\n");
    w.document().SetSelStart(0);
    w.document().SetSelLength(4);
    run("Namazu");
    auto& dialog = w.namazuDialog();
    EXPECT_EQ(dialog.ComboBox1().currentText(), QStringLiteral("日本"));
    EXPECT_EQ(dialog.Edit1().text(), QStringLiteral("-n 100"));
    EXPECT_TRUE(dialog.SpeedButton1().isEnabled());
    search(QStringLiteral("abc"), QStringLiteral("-n 5"), QStringLiteral("/idx"));
    search(QStringLiteral("abc"), QStringLiteral("-n 5"), QStringLiteral("/idx"));
    search(QStringLiteral("def"), QStringLiteral("-n 5"), QStringLiteral("/idx"));
    EXPECT_EQ(started.size(), 3u);
    EXPECT_EQ(dialog.ComboBox1().count(), 2);
    dialog.close();
    closeWindow();

    open();
    window->document().SetTextStr("");
    run("Namazu");
    auto& again = window->namazuDialog();
    EXPECT_EQ(again.Edit1().text(), QStringLiteral("-n 5"));
    EXPECT_EQ(again.Edit2().text(), QStringLiteral("/idx"));
    ASSERT_EQ(again.ComboBox1().count(), 2);
    EXPECT_EQ(again.ComboBox1().itemText(0), QStringLiteral("def"));
    EXPECT_EQ(again.ComboBox1().itemText(1), QStringLiteral("abc"));
    EXPECT_EQ(again.ComboBox1().currentText(), QString());
}

}  // namespace
