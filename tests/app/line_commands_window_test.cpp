// The line-range commands through the main window: questions and messages,
// ranges that start or end mid-line, the last line without a break,
// Shift-JIS keys, and stop requests leaving a consistent document.
#include <sys/stat.h>

#include <QTimer>

#include "app/progress_pump.h"
#include "platform/folders.h"
#include "platform/run_shell.h"
#include "support/main_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::testing::MainWindowTest;

namespace {

class LineCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
    }
    void TearDown() override {
        tabulo::app::ProgressPump::setEventInterval(40);
        tabulo::platform::setRunShellHook({});
        MainWindowTest::TearDown();
    }
    tabulo::editor::EditorModel& doc() { return window->document(); }
    void select(tabulo::editor::TextPosition a, tabulo::editor::TextPosition b) {
        doc().select(a, b);
        window->refreshCommands();
    }
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (int i = 0; i < doc().Lines().Count(); ++i) out.push_back(doc().Lines().Get(i));
        return out;
    }
};

}  // namespace

TEST_F(LineCommandsTest, SortAscendingAndDescendingWithTheQuestion) {
    doc().SetTextStr("6\r\n123\r\n006\r\n");
    doc().SelectAll();
    window->refreshCommands();
    prompts.queueAnswer(Answer::Yes);
    run("_Sort");
    EXPECT_EQ(lines(), (std::vector<std::string>{"006", "123", "6"}));
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("行の先頭をキーにして並び替えをします"));
    EXPECT_EQ(prompts.records()[0].buttons, tabulo::platform::Buttons::YesCancel);

    doc().SelectAll();
    window->refreshCommands();
    prompts.queueAnswer(Answer::Yes);
    run("SortR");
    EXPECT_EQ(lines(), (std::vector<std::string>{"6", "123", "006"}));

    doc().SelectAll();
    window->refreshCommands();
    prompts.queueAnswer(Answer::Cancel);
    run("Sort");
    EXPECT_EQ(lines(), (std::vector<std::string>{"6", "123", "006"}));
}

TEST_F(LineCommandsTest, SortOfARangeFromMidLineToMidLineKeepsTheOtherLines) {
    // Keys with trail bytes in the ASCII range: 表 (95 5C), ソ (83 5C), | and \.
    doc().LoadFromFile(TABULO_TEST_DATA_DIR "/app/sort_mixed.txt");
    select({1, 1}, {4, 1});
    prompts.queueAnswer(Answer::Yes);
    run("Sort");
    EXPECT_EQ(lines(), (std::vector<std::string>{"zz", "\\", "|", "\x83\x5C", "\x95\x5C", "aa"}));
    EXPECT_FALSE(doc().Lines().hasLineBreak(5));  // the last line keeps having no break
}

TEST_F(LineCommandsTest, SortWarnsAboveTwentyThousandLines) {
    std::string text;
    for (int i = 0; i < 20001; ++i) text += std::to_string(20001 - i) + "\r\n";
    doc().SetTextStr(text);
    doc().SelectAll();
    window->refreshCommands();
    prompts.queueAnswer(Answer::Yes);
    run("Sort");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("20001行を本当にSortしますか？時間がかかるよ！"));
    EXPECT_EQ(prompts.records()[0].icon, tabulo::platform::Icon::Warning);
    EXPECT_EQ(doc().Lines().Get(0), "1");
    EXPECT_EQ(doc().Lines().Get(1), "10");
}

TEST_F(LineCommandsTest, StoppedSortLeavesTheDocumentAsItWas) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += std::to_string((i * 7919) % 3000) + "\r\n";
    doc().SetTextStr(text);
    const std::string before = doc().GetTextStr();
    doc().SelectAll();
    window->refreshCommands();
    tabulo::app::ProgressPump::setEventInterval(0);
    prompts.queueAnswer(Answer::Yes);  // sort question
    prompts.queueAnswer(Answer::Yes);  // stop question
    QTimer::singleShot(0, window.get(), [this] { window->action(QStringLiteral("StopBt"))->trigger(); });
    run("Sort");
    EXPECT_EQ(doc().GetTextStr(), before);
    EXPECT_FALSE(enabled("StopBt"));
    EXPECT_FALSE(doc().updating());
}

TEST_F(LineCommandsTest, DuplicateNeighboursAndTheLineAboveTheRange) {
    doc().SetTextStr("a\r\na\r\nb\r\na\r\n");
    doc().SelectAll();
    window->refreshCommands();
    run("_DelLine");
    EXPECT_EQ(lines(), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("1行削除しました")});

    prompts.clear();
    doc().SetTextStr("x\r\nx\r\ny\r\n");
    select({1, 0}, {2, 1});  // the range starts below an equal line
    run("DelLine");
    EXPECT_EQ(lines(), (std::vector<std::string>{"x", "y"}));

    prompts.clear();
    doc().SetTextStr("p\r\nq\r\n");
    doc().SelectAll();
    window->refreshCommands();
    run("DelLine");
    EXPECT_TRUE(prompts.texts().isEmpty());  // nothing deleted: no message
}

TEST_F(LineCommandsTest, BlankLinesAndBlankEdges) {
    doc().SetTextStr("a\r\n\r\n  \r\n\x81\x40\t\r\nb\r\n");
    doc().SelectAll();
    window->refreshCommands();
    run("_DelNullLine");
    EXPECT_EQ(lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("3行削除しました")});

    prompts.clear();
    doc().SetTextStr(" a \r\nb\r\n\x81\x40\r\n");
    doc().SelectAll();
    window->refreshCommands();
    run("DelSpaceRL");
    EXPECT_EQ(lines(), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("2行処理しました")});

    prompts.clear();
    doc().SelectAll();
    window->refreshCommands();
    run("_DelSpaceRL");
    EXPECT_TRUE(prompts.texts().isEmpty());
}

TEST_F(LineCommandsTest, StoppedBlankLineDeletionKeepsAConsistentDocument) {
    std::string text;
    for (int i = 0; i < 500; ++i) text += i % 2 ? "\r\n" : "x\r\n";
    doc().SetTextStr(text);
    doc().SelectAll();
    window->refreshCommands();
    tabulo::app::ProgressPump::setEventInterval(0);
    prompts.queueAnswer(Answer::Yes);
    QTimer::singleShot(0, window.get(), [this] { window->action(QStringLiteral("StopBt"))->trigger(); });
    run("DelNullLine");
    // Some blank lines went, every x stayed, and the text is whole.
    const auto result = lines();
    EXPECT_LT(result.size(), 500u);
    EXPECT_GT(result.size(), 250u);
    EXPECT_EQ(std::count(result.begin(), result.end(), "x"), 250);
    EXPECT_FALSE(doc().updating());
}

TEST_F(LineCommandsTest, FixSoftWrapsTurnsRowsIntoLines) {
    doc().SetTextStr("0123456789abcdefghijABCDE\r\n");
    tabulo::editor::TEditorWrapOption option = doc().WrapOption();
    option.WrapByte = 10;
    doc().SetWrapOption(option);
    doc().SetWordWrap(true);
    doc().SelectAll();
    window->refreshCommands();
    run("_AddReturn");
    EXPECT_EQ(lines(), (std::vector<std::string>{"0123456789", "abcdefghij", "ABCDE"}));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("3行処理しました")});
    EXPECT_FALSE(doc().WordWrap());
    EXPECT_FALSE(checked("Wrap1"));
}

TEST_F(LineCommandsTest, FixSoftWrapsAsksFromTwoHundredThousandBytes) {
    for (const auto& [bytes, asks] : {std::pair{199999, false}, std::pair{200000, true}}) {
        prompts.clear();
        doc().SetWordWrap(false);
        doc().SetTextStr(std::string(static_cast<std::size_t>(bytes) - 2, 'x') + "\r\n");
        ASSERT_EQ(doc().textLength(), bytes);
        tabulo::editor::TEditorWrapOption option = doc().WrapOption();
        option.WrapByte = 100;
        doc().SetWrapOption(option);
        doc().SetWordWrap(true);
        doc().SelectAll();
        window->refreshCommands();
        if (asks) prompts.queueAnswer(Answer::Cancel);
        run("AddReturn");
        if (asks) {
            EXPECT_EQ(prompts.records().front().text,
                      QStringLiteral("200000回の作業で時間がかかります。Script処理を薦めます。\r\n実行しますか？"));
            EXPECT_TRUE(doc().WordWrap());  // declined: nothing changed
        } else {
            EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("2000行処理しました")});
        }
    }
}

TEST_F(LineCommandsTest, FunctionLengthDeletesTheWorkFilesAndItsReportOpensInASecondCopy) {
    // Results of earlier commands are deleted first, so none can be shown stale.
    const QString work = QString::fromStdString(tabulo::platform::workFolder());
    for (const char* name : {"TA.txt", "S.awk", "T.$"}) {
        QFile file(work + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList started;
    tabulo::platform::setRunShellHook([&](const QString& file, const QStringList& args, bool wait) {
        EXPECT_FALSE(wait);
        started << file << args;
        return true;
    });
    doc().SetTextStr("int\r\nmain(int c, char **v)\r\n{\r\n    int a;\r\n\r\n    return 0;\r\n}\r\n");
    run("FuncLen");
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[0], QCoreApplication::applicationFilePath());
    QFile report(started[1]);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(), QByteArray("    2\tmain\n"));
    EXPECT_TRUE(started[1].endsWith(QStringLiteral("/L.$")));
    for (const char* name : {"TA.txt", "S.awk", "T.$"}) {
        EXPECT_FALSE(QFile::exists(work + QString::fromLatin1(name))) << name;
    }
    struct stat info {};
    ASSERT_EQ(::stat(started[1].toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);  // a work file holds document text
}

TEST_F(LineCommandsTest, OneUndoTakesBackAWholeCommand) {
    doc().SetTextStr("c\r\n\r\nb\r\n\r\na\r\n");
    const std::string before = doc().GetTextStr();
    doc().SelectAll();
    window->refreshCommands();
    prompts.queueAnswer(Answer::Yes);
    run("Sort");
    EXPECT_EQ(lines(), (std::vector<std::string>{"", "", "a", "b", "c"}));
    run("Undo1");
    EXPECT_EQ(doc().GetTextStr(), before);

    doc().SelectAll();
    window->refreshCommands();
    run("DelNullLine");
    EXPECT_EQ(lines(), (std::vector<std::string>{"c", "b", "a"}));
    run("Undo1");
    EXPECT_EQ(doc().GetTextStr(), before);
}
