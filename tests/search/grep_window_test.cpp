// The grep command through the main window: the questions in order, the
// listing over files with mixed line ends, a Shift-JIS file name and no
// final line break, files that cannot be searched named in the status bar,
// every way the command ends early, the stop item during a search, and the
// check box that reads each file in its own kanji code.
#include <sys/stat.h>

#include <QStatusBar>
#include <QTimer>

#include "app/progress_pump.h"
#include "support/document_window_fixture.h"
#include "support/mixed_encoding_files.h"
#include "support/show_bytes.h"

using tabulo::platform::Answer;
using tabulo::platform::PromptKind;
using tabulo::testing::showBytes;

namespace {

const QString kCaption = QStringLiteral("テキストファイル検索 Grep");
const QString kNotFound = QStringLiteral("見つかりませんでした!");

class GrepWindowTest : public tabulo::testing::DocumentWindowTest {
protected:
    void TearDown() override {
        tabulo::app::ProgressPump::setEventInterval(40);
        DocumentWindowTest::TearDown();
    }
    std::string bytesOf(const QString& p) const { return QFile::encodeName(p).toStdString(); }
};

TEST_F(GrepWindowTest, ListingOverFilesWithMixedBreaksAndAShiftJisName) {
    const QString mixed = path(QStringLiteral("mixed.txt"));
    writeBytes(mixed, "abc\r\nxyz\nab\rlast ab");  // CR LF, LF, CR and no final break
    const QString sjisNamed = path(QStringLiteral("表.txt"));
    writeBytes(sjisNamed, "\x95\x5C" "ab\r\n");
    const QString fifo = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(bytesOf(fifo).c_str(), 0600), 0);
    const QString none = path(QStringLiteral("none.txt"));
    writeBytes(none, "nothing\n");

    auto& w = open();
    prompts.queueInput(QStringLiteral("ab"));
    prompts.queueFiles({mixed, fifo, sjisNamed, none});
    run("_Grep");

    const std::string m = bytesOf(mixed);
    const std::string s = bytesOf(dir.path()) + "/\x95\x5C.txt";  // the name in Shift-JIS
    const std::string expected = m + "\r\nLine=1 \tabc\r\n\r\n" + m + "\r\nLine=3 \tab\r\n\r\n" + m +
                                 "\r\nLine=4 \tlast ab\r\n\r\n" + s + "\r\nLine=1 \t\x95\x5C" "ab\r\n\r\n";
    EXPECT_EQ(showBytes(w.document().GetTextStr()), showBytes(expected));
    EXPECT_EQ(w.document().Lines().Count(), 12);
    EXPECT_FALSE(w.document().Modified());
    EXPECT_EQ(w.grepFile(), none);

    ASSERT_EQ(prompts.records().size(), 2u);  // no message: there were hits
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::Input);
    EXPECT_EQ(prompts.records()[0].text, kCaption);
    EXPECT_EQ(prompts.records()[0].prompt, QStringLiteral("検索する文字列 (正規表現[A-Za-z]等が使えます)"));
    EXPECT_EQ(prompts.records()[0].defaultText, QString());
    EXPECT_EQ(prompts.records()[1].kind, PromptKind::OpenFiles);
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral("Grep"));
    EXPECT_EQ(prompts.records()[1].selectedFilter, 3);  // "すべてのファイル（*.*）"
    EXPECT_TRUE(prompts.records()[1].filter.endsWith(QStringLiteral("すべてのファイル（*.*）|*.*")));

    // The FIFO did not block the search and is named; the listing stays as it is.
    EXPECT_TRUE(w.statusBar()->currentMessage().contains(fifo)) << w.statusBar()->currentMessage().toStdString();
    EXPECT_FALSE(w.action(QStringLiteral("StopBt"))->isEnabled());

    // The listing goes without a save question.
    prompts.queueInput(std::nullopt);
    run("Grep");
    EXPECT_EQ(w.document().Lines().Count(), 0);
    EXPECT_EQ(prompts.records().size(), 3u);
}

TEST_F(GrepWindowTest, CheckBoxReadsEachFileInItsOwnCode) {
    QStringList files;
    std::string detected;
    for (const auto& file : tabulo::testing::mixedEncodingFiles()) {
        files << path(QString::fromLatin1(file.name));
        writeBytes(files.back(), file.bytes);
        detected += bytesOf(files.back()) + "\r\nLine=" + std::to_string(file.hitLine) + " \t" +
                    tabulo::testing::kMixedHitLine + "\r\n\r\n";
    }
    const QString pattern = QStringLiteral("日本語の検索");
    const QString check = QStringLiteral("文字コード自動判定");
    auto& w = open();
    prompts.queueInput(pattern);
    prompts.queueCheck(true);
    prompts.queueFiles(files);
    run("_Grep");
    EXPECT_EQ(showBytes(w.document().GetTextStr()), showBytes(detected));
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[0].checkCaption, check);
    EXPECT_FALSE(prompts.records()[0].checked);  // off when the program starts

    // The box keeps its state for the next grep; unchecked, only the
    // Shift-JIS file is read right.
    prompts.clear();
    prompts.queueInput(pattern);
    prompts.queueCheck(false);
    prompts.queueFiles(files);
    run("Grep");
    ASSERT_FALSE(prompts.records().empty());
    EXPECT_TRUE(prompts.records()[0].checked);
    EXPECT_EQ(w.document().Lines().Count(), 3);
    EXPECT_EQ(w.document().Lines().Get(1), "Line=1 \t" + tabulo::testing::kMixedHitLine);

    // A cancelled box leaves the check box as it was.
    prompts.clear();
    prompts.queueInput(std::nullopt);
    prompts.queueCheck(true);
    run("Grep");
    prompts.clear();
    prompts.queueInput(std::nullopt);
    run("Grep");
    EXPECT_FALSE(prompts.records()[0].checked);
}

TEST_F(GrepWindowTest, EveryEarlyEnd) {
    const QString file = path(QStringLiteral("a.txt"));
    writeBytes(file, "abc\n");
    auto& w = open();

    // Cancelling the save question leaves the document as it was.
    w.document().SetTextStr("mine\r\n");
    w.document().SetModified(true);
    prompts.queueAnswer(Answer::Cancel);
    run("Grep");
    EXPECT_EQ(w.document().GetTextStr(), "mine\r\n");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("変更点を保存しますか?")});

    const struct {
        const char* name;
        std::optional<QString> pattern;
        bool asksFiles;
        QStringList files;
        QStringList texts;  // after the questions
    } cases[] = {
        {"pattern cancelled", std::nullopt, false, {}, {kCaption}},
        {"file dialog cancelled", QStringLiteral("abc"), true, {}, {kCaption, QStringLiteral("Grep"), kNotFound}},
        {"no hit", QStringLiteral("zzz"), true, {file}, {kCaption, QStringLiteral("Grep"), kNotFound}},
        {"bad pattern", QStringLiteral("[a"), false, {}, {kCaption, QStringLiteral("右ブラケット\"]\"が必要です")}},
    };
    for (const auto& c : cases) {
        w.document().SetModified(false);
        prompts.clear();
        prompts.queueInput(c.pattern);
        if (c.asksFiles) prompts.queueFiles(c.files);
        run("Grep");
        EXPECT_EQ(prompts.texts(), c.texts) << c.name;
        EXPECT_EQ(w.document().Lines().Count(), 0) << c.name;
        EXPECT_FALSE(w.document().Modified()) << c.name;
        EXPECT_EQ(prompts.pendingAnswers(), 0) << c.name;
    }
}

TEST_F(GrepWindowTest, StopBetweenFilesKeepsTheHitsSoFar) {
    const QString a = path(QStringLiteral("a.txt"));
    const QString b = path(QStringLiteral("b.txt"));
    writeBytes(a, "hit\n");
    writeBytes(b, "hit\n");
    auto& w = open();
    tabulo::app::ProgressPump::setEventInterval(0);
    // Chooses the stop item as soon as the second file is about to be searched.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (w.grepFile() != b || !w.action(QStringLiteral("StopBt"))->isEnabled()) return;
        prompts.queueAnswer(Answer::Yes);
        w.action(QStringLiteral("StopBt"))->trigger();
    });
    watcher.start(0);
    prompts.queueInput(QStringLiteral("hit"));
    prompts.queueFiles({a, b});
    run("Grep");
    watcher.stop();
    const std::string listing = bytesOf(a) + "\r\nLine=1 \thit\r\n\r\n";
    EXPECT_EQ(showBytes(w.document().GetTextStr()), showBytes(listing));
    EXPECT_FALSE(w.document().Modified());
    EXPECT_FALSE(w.action(QStringLiteral("StopBt"))->isEnabled());
    EXPECT_TRUE(prompts.texts().contains(QStringLiteral("実行中の処理を中止しますか?")));
    EXPECT_FALSE(prompts.texts().contains(kNotFound));
}

}  // namespace
