// F12 through the main window: each kind of line starts the right program
// with the right arguments (recorded through the program starter), paths
// with spaces, quotes, "$" and ";" stay one argument, and a second copy
// started with "--line=N" opens its one file with the caret on that line.
#include <fstream>

#include "platform/local_path.h"
#include "support/document_window_fixture.h"
#include "support/show_bytes.h"

namespace {

class TagJumpWindowTest : public tabulo::testing::DocumentWindowTest {
protected:
    // Puts the caret on line `line` of the document and presses F12.
    void jumpFrom(int line) {
        window->document().SetRow(window->document().firstRowOfLine(line));
        window->refreshCommands();
        run("TagJump");
    }
};

TEST_F(TagJumpWindowTest, EachKindOfLineStartsTheRightProgram) {
    const QString odd = path(QStringLiteral("a b'\"$;.txt"));
    writeBytes(odd, "one\r\ntwo\r\nthree\r\n");
    const QString sjisNamed = path(QStringLiteral("表.txt"));
    writeBytes(sjisNamed, "hyou\r\n");
    const QString binary = path(QStringLiteral("data.bin"));
    writeBytes(binary, std::string("\x7F" "ELF\0\0", 6));
    const std::string oddBytes = QFile::encodeName(odd).toStdString();
    const std::string text = oddBytes + "\r\n" +                                 // 0 listing's file line
                             "Line=2 \ttwo\r\n" +                                // 1 its "Line=" line
                             "\r\n" +                                            // 2 the empty line
                             "  " + oddBytes + " (17 bytes)\x81\x40\r\n" +       // 3 a summary line
                             QFile::encodeName(dir.path()).toStdString() + "/\x95\x5C.txt\r\n" +  // 4 Shift-JIS
                             QFile::encodeName(binary).toStdString() + "\r\n" +  // 5 not a text file
                             "regedit\r\n" +                                     // 6 a command word
                             "/C|/doc/memo.txt size (1234 bytes)\r\n";           // 7 the old drive form
    auto& w = open();
    w.document().SetTextStr(text);
    const QString program = QCoreApplication::applicationFilePath();
    const struct {
        int line;
        QString file;
        QStringList parameters;
    } cases[] = {
        {0, program, {odd}},
        {1, program, {QStringLiteral("--line=2"), odd}},
        {3, program, {odd}},
        {4, program, {sjisNamed}},
        {5, binary, {}},
        {6, QStringLiteral("regedit"), {}},
        {7, QStringLiteral("C:\\doc\\memo.txt"), {}},
    };
    for (const auto& c : cases) {
        started.clear();
        jumpFrom(c.line);
        ASSERT_EQ(started.size(), 1u) << c.line;
        EXPECT_EQ(started[0].file, c.file) << c.line;
        EXPECT_EQ(started[0].parameters, c.parameters) << c.line;
        EXPECT_FALSE(started[0].wait) << c.line;
    }
    started.clear();
    jumpFrom(2);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(TagJumpWindowTest, AGrepHitInAFileWhoseNameIsNotUtf8OpensByteForByte) {
    using tabulo::platform::toLocalPath;
    const std::string raw = toLocalPath(dir.path()) + "/\x95\x5C\xFF.txt";  // Shift-JIS and a stray byte
    std::ofstream(raw, std::ios::binary) << "x\nhit\n";
    auto& w = open();
    prompts.queueInput(QStringLiteral("hit"));
    prompts.queueFiles({tabulo::platform::fromLocalPath(raw)});
    run("Grep");
    EXPECT_EQ(tabulo::testing::showBytes(w.document().GetTextStr()),
              tabulo::testing::showBytes(raw + "\r\nLine=2 \thit\r\n\r\n"));
    jumpFrom(1);
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(started[0].parameters.size(), 2);
    EXPECT_EQ(started[0].parameters[0], QStringLiteral("--line=2"));
    EXPECT_EQ(tabulo::testing::showBytes(toLocalPath(started[0].parameters[1])), tabulo::testing::showBytes(raw));
}

TEST_F(TagJumpWindowTest, AFailedStartShowsTheRunShellMessage) {
    tabulo::platform::setRunShellHook({});  // the real starter
    auto& w = open();
    w.document().SetTextStr("Line=3 \tno file above\r\n/no/such/file.txt\r\n");
    jumpFrom(0);
    jumpFrom(1);
    EXPECT_EQ(prompts.texts(), (QStringList{QStringLiteral("TbLib RunShell() Could not create process"),
                                            QStringLiteral("TbLib RunShell() Could not create process")}));
}

TEST_F(TagJumpWindowTest, ASecondCopyOpensItsFileAtTheGivenLine) {
    const QString file = path(QStringLiteral("lines.txt"));
    writeBytes(file, "1\r\n2\r\n3\r\n4\r\n");
    auto& w = open(tabulo::platform::secondCopyArguments({file, false, 3}));
    EXPECT_EQ(w.fileArgumentCount(), 1);  // the option is not a file: no Cat
    EXPECT_EQ(w.documentName(), file);
    EXPECT_EQ(w.document().LineIndexOfRow(w.document().Row()), 2);
    EXPECT_EQ(w.startLine(), 3);
    window.reset();

    // A line beyond the end puts the caret on the last line.
    auto& beyond = open({QStringLiteral("--line=99"), file});
    EXPECT_EQ(beyond.document().LineIndexOfRow(beyond.document().Row()), 3);
}

}  // namespace
