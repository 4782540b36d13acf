// Document files through the real main window: new, open, save and save as
// with the free-space check and the backup question, the auto-backup, the
// recent-file history across runs, dropped files, command-line files, the
// close question and the work files deleted at exit.
#include <sys/resource.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "app/backup_name.h"
#include "app/open_file_histories.h"
#include "graph/window/func_window.h"
#include "support/document_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::platform::Buttons;
using tabulo::platform::PromptKind;
using tabulo::testing::DocumentWindowTest;

namespace {

QStringList menuTexts(tabulo::app::TfmTabulo& w) {
    QStringList texts;
    for (const QAction* item : w.histories().menuItems()) texts << item->text();
    return texts;
}

}  // namespace

TEST(BackupFileName, ReplacesTheExtension) {
    const struct {
        const char* path;
        const char* backup;
    } cases[] = {
        {"/d/a.txt", "/d/a.$xt"},   {"/d/a.html", "/d/a.$tml"}, {"/d/a.c", "/d/a.$"},
        {"/d/a", "/d/a.$"},         {"/d.x/a", "/d.x/a.$"},     {"/d/a.b.txt", "/d/a.b.$xt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tabulo::app::backupFileName(QString::fromLatin1(c.path)), QString::fromLatin1(c.backup)) << c.path;
    }
}

TEST(OpenFileHistories, AcceleratorPrefixes) {
    using tabulo::app::TOpenFileHistories;
    EXPECT_EQ(TOpenFileHistories::acceleratorPrefix(0), QStringLiteral("&0 "));
    EXPECT_EQ(TOpenFileHistories::acceleratorPrefix(9), QStringLiteral("&9 "));
    EXPECT_EQ(TOpenFileHistories::acceleratorPrefix(10), QStringLiteral("&A "));
    EXPECT_EQ(TOpenFileHistories::acceleratorPrefix(35), QStringLiteral("&Z "));
    EXPECT_EQ(TOpenFileHistories::acceleratorPrefix(36), QString());
}

TEST_F(DocumentWindowTest, SaveOnAnEmptyDocumentDoesNothing) {
    open();
    run("Save");
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(DocumentWindowTest, SavingAnUntitledDocumentAsksForANameAndAddsTxt) {
    auto& w = open();
    w.document().SetTextStr("abc\r\n");
    prompts.queueFile(path(QStringLiteral("memo")));
    run("Save");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::SaveFile);
    EXPECT_FALSE(prompts.records()[0].askOverwrite);  // the backup question is the one asked
    EXPECT_EQ(prompts.records()[0].defaultText, QString());
    EXPECT_EQ(w.documentName(), path(QStringLiteral("memo.txt")));
    EXPECT_EQ(readBytes(path(QStringLiteral("memo.txt"))), "abc\r\n");
    EXPECT_FALSE(w.document().Modified());
    EXPECT_EQ(w.windowTitle(), path(QStringLiteral("memo.txt")) + QStringLiteral("  - tabulo"));

    // A named document saves in place without a question.
    prompts.clear();
    w.document().Lines().Add("def");
    run("Save");
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(readBytes(path(QStringLiteral("memo.txt"))), "abc\r\ndef\r\n");
}

TEST_F(DocumentWindowTest, BackupQuestionAnswers) {
    const struct {
        Answer answer;
        const char* file;    // a.txt afterwards
        const char* backup;  // a.$xt afterwards
        bool modified;
    } cases[] = {
        {Answer::Yes, "new\r\n", "old\r\n", false},
        {Answer::No, "new\r\n", "<missing>", false},
        {Answer::Cancel, "old\r\n", "<missing>", true},
    };
    for (const auto& c : cases) {
        const QString a = path(QStringLiteral("a.txt"));
        QFile::remove(path(QStringLiteral("a.$xt")));
        writeBytes(a, "old\r\n");
        auto& w = open();
        w.document().SetTextStr("new\r\n");
        prompts.clear();
        prompts.queueFile(a);
        prompts.queueAnswer(c.answer);
        run("SaveAs1");
        ASSERT_EQ(prompts.records().size(), 2u);
        EXPECT_EQ(prompts.records()[1].text, QStringLiteral("同名のファイルが存在しています。バックアップファイルを作りますか？"));
        EXPECT_EQ(prompts.records()[1].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(readBytes(a), c.file);
        EXPECT_EQ(readBytes(path(QStringLiteral("a.$xt"))), c.backup);
        EXPECT_EQ(w.document().Modified(), c.modified);
        EXPECT_EQ(w.documentName(), a);  // the new name stays also when nothing was written
        window.reset();
    }

    // A second backup replaces the first.
    auto& w = open();
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "first\r\n");
    w.document().SetTextStr("second\r\n");
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    run("SaveAs1");
    w.document().SetTextStr("third\r\n");
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    run("SaveAs1");
    EXPECT_EQ(readBytes(path(QStringLiteral("a.$xt"))), "second\r\n");
    EXPECT_EQ(readBytes(a), "third\r\n");
}

TEST_F(DocumentWindowTest, FreeSpaceUnknownAsksBeforeWriting) {
    auto& w = open();
    tabulo::platform::setFreeSpaceQuery([](const std::string&) { return tabulo::platform::FreeSpace{std::nullopt, "/mnt/usb"}; });
    w.document().SetTextStr("abc\r\n");
    const QString a = path(QStringLiteral("a.txt"));
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::No);
    run("SaveAs1");
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].text, QStringLiteral("Drive /mnt/usb の空き容量が計算不能！書き込みますか？"));
    EXPECT_EQ(prompts.records()[1].buttons, Buttons::YesNo);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_TRUE(w.document().Modified());

    prompts.queueAnswer(Answer::Yes);
    run("Save");
    EXPECT_EQ(readBytes(a), "abc\r\n");
    EXPECT_FALSE(w.document().Modified());
}

TEST_F(DocumentWindowTest, TooLittleFreeSpaceWritesNothing) {
    auto& w = open();
    std::string folderAsked;
    tabulo::platform::setFreeSpaceQuery([&](const std::string& folder) {
        folderAsked = folder;
        return tabulo::platform::FreeSpace{5, "/home"};
    });
    w.document().SetTextStr("0123456789\r\n");  // 12 bytes
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "old\r\n");
    w.setDocumentName(a);
    run("Save");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("空きは12バイト必要です！ Drive /home/ の空きは5バイトです.")});
    EXPECT_EQ(folderAsked, dir.path().toStdString());
    EXPECT_EQ(readBytes(a), "old\r\n");
    EXPECT_TRUE(w.document().Modified());

    // Exactly as much free space as the text needs is still too little.
    tabulo::platform::setFreeSpaceQuery([](const std::string&) { return tabulo::platform::FreeSpace{12, "/home"}; });
    prompts.clear();
    run("Save");
    EXPECT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(readBytes(a), "old\r\n");
}

// The write itself fails (here: the file size limit) after the checks: the
// old file stays whole, the document stays modified, and the reason shows.
TEST_F(DocumentWindowTest, AFailedWriteKeepsTheOldFileAndTheModifiedFlag) {
    auto& w = open();
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "old\r\n");
    w.setDocumentName(a);
    w.document().SetTextStr(std::string(200000, 'x'));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    run("Save");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);

    ASSERT_EQ(prompts.records().size(), 1u);
    const QString text = prompts.records()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("ファイル ") + a + QStringLiteral(" を作成できません"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(std::strerror(EFBIG)))) << text.toStdString();
    EXPECT_EQ(readBytes(a), "old\r\n");
    EXPECT_TRUE(w.document().Modified());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.txt")});
}

TEST_F(DocumentWindowTest, AutoBackupWritesOnlyAModifiedDocumentAndGoesAfterASave) {
    auto& w = open();
    const QString backup = programFolder() + QStringLiteral("TbBackUp.$xt");
    EXPECT_EQ(w.autoBackupTimer().interval(), 10 * 60 * 1000);
    EXPECT_TRUE(w.autoBackupTimer().isActive());

    w.autoBackup();  // no lines
    EXPECT_FALSE(QFile::exists(backup));
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "saved\r\n");
    prompts.queueFile(a);
    run("Open1");
    w.autoBackup();  // not modified
    EXPECT_FALSE(QFile::exists(backup));
    EXPECT_FALSE(rule("ReadBackup"));

    w.document().Lines().Add("typed");
    w.autoBackupTimer().start(1);  // let the timer itself fire
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(backup); }, 2000));
    w.autoBackupTimer().stop();
    EXPECT_EQ(readBytes(backup), "saved\r\ntyped\r\n");
    EXPECT_EQ(w.documentName(), a);
    EXPECT_TRUE(w.document().Modified());
    EXPECT_TRUE(enabled("ReadBackup"));

    // Reading it back asks about the unsaved text first, keeps the name and
    // counts as a change.
    w.document().SetTextStr("unsaved\r\n");
    prompts.clear();
    prompts.queueAnswer(Answer::Cancel);
    run("ReadBackup");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("変更点を保存しますか?")});
    EXPECT_EQ(w.document().GetTextStr(), "unsaved\r\n");
    prompts.queueAnswer(Answer::No);
    run("ReadBackup");
    EXPECT_EQ(w.document().GetTextStr(), "saved\r\ntyped\r\n");
    EXPECT_EQ(w.documentName(), a);
    EXPECT_TRUE(w.document().Modified());

    run("Save");
    EXPECT_FALSE(QFile::exists(backup));
    EXPECT_FALSE(enabled("ReadBackup"));
}

TEST_F(DocumentWindowTest, HistoryOrderAcrossTwoRuns) {
    const QString a = path(QStringLiteral("A.txt"));
    const QString b = path(QStringLiteral("B.txt"));
    const QString c = path(QStringLiteral("C.txt"));
    for (const QString& p : {a, b, c}) writeBytes(p, p.toStdString() + "\r\n");
    auto& w = open();
    for (const QString& p : {a, b, c}) {
        prompts.queueFile(p);
        run("Open1");
    }
    // A file enters the menu at the next refresh: after C, A and B show.
    EXPECT_EQ(menuTexts(w), (QStringList{QStringLiteral("&0 ") + b, QStringLiteral("&1 ") + a}));
    EXPECT_TRUE(w.action(QStringLiteral("History"))->isVisible());
    closeWindow();

    auto& second = open();
    EXPECT_EQ(menuTexts(second),
              (QStringList{QStringLiteral("&0 ") + c, QStringLiteral("&1 ") + b, QStringLiteral("&2 ") + a}));
    // The entries follow the anchor in the "開き直す" submenu.
    const QList<QAction*> items = second.histories().menuItems();
    ASSERT_EQ(items.size(), 3);
    const QList<QAction*> submenu = second.action(QStringLiteral("ReOpen"))->menu()->actions();
    const qsizetype anchor = submenu.indexOf(second.action(QStringLiteral("History")));
    ASSERT_GE(anchor, 0);
    EXPECT_EQ(submenu.mid(anchor + 1, 3), items);

    // Choosing an entry opens it.
    items[1]->trigger();
    EXPECT_EQ(second.documentName(), b);
    EXPECT_EQ(second.document().GetTextStr(), b.toStdString() + "\r\n");
    EXPECT_FALSE(second.document().Modified());
}

TEST_F(DocumentWindowTest, HistoryKeepsOneEntryPerPathAndTenEntries) {
    QStringList files;
    open();
    for (int i = 0; i < 11; ++i) {
        files << path(QStringLiteral("f%1.txt").arg(i));
        writeBytes(files.back(), "x\r\n");
    }
    for (const QString& f : files) {
        prompts.queueFile(f);
        run("Open1");
    }
    prompts.queueFile(files[10]);
    run("Open1");  // the same path again
    closeWindow();

    auto& second = open();
    const QStringList history = second.histories().historyList();
    ASSERT_EQ(history.size(), 10);
    EXPECT_EQ(history.front(), files[10]);
    EXPECT_EQ(history.back(), files[1]);
    EXPECT_FALSE(history.contains(files[0]));

    run("Del_History");
    EXPECT_TRUE(second.histories().menuItems().isEmpty());
    closeWindow();
    auto& third = open();
    EXPECT_TRUE(third.histories().historyList().isEmpty());
}

TEST_F(DocumentWindowTest, FilesInTheWorkFolderStayOutOfTheHistory) {
    const QString work = workFolder() + QStringLiteral("T.$");
    writeBytes(work, "out\r\n");
    auto& w = open();
    prompts.queueFile(work);
    run("Open1");
    EXPECT_TRUE(w.histories().runList().isEmpty());
    QFile::remove(work);
}

TEST_F(DocumentWindowTest, ChoosingAHistoryEntryAsksAboutUnsavedChanges) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "a\r\n");
    open();
    prompts.queueFile(a);
    run("Open1");
    closeWindow();
    auto& w = open();
    w.document().SetTextStr("unsaved\r\n");
    prompts.clear();
    prompts.queueAnswer(Answer::Cancel);
    w.histories().menuItems().front()->trigger();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("変更点を保存しますか?")});
    EXPECT_EQ(w.document().GetTextStr(), "unsaved\r\n");
}

TEST_F(DocumentWindowTest, CloseQuestion) {
    {
        auto& w = open();
        w.document().SetTextStr("x\r\n");
        prompts.queueAnswer(Answer::Cancel);
        EXPECT_FALSE(w.close());
        EXPECT_EQ(prompts.records().back().text, QStringLiteral("内容が変更されています。ファイルを保存しますか？"));
        // Yes, then the save dialog cancelled: the text is not thrown away.
        prompts.queueAnswer(Answer::Yes);
        prompts.queueFile(std::nullopt);
        EXPECT_FALSE(w.close());
        // Yes and a name: saved and closed.
        prompts.queueAnswer(Answer::Yes);
        prompts.queueFile(path(QStringLiteral("kept.txt")));
        EXPECT_TRUE(w.close());
        EXPECT_EQ(readBytes(path(QStringLiteral("kept.txt"))), "x\r\n");
        window.reset();
    }
    auto& w = open();
    w.document().SetTextStr("x\r\n");
    prompts.queueAnswer(Answer::No);
    EXPECT_TRUE(w.close());
}

TEST_F(DocumentWindowTest, NewDocumentKeepsTheTextWhenTheSaveIsCancelled) {
    auto& w = open();
    w.document().SetTextStr("keep\r\n");
    prompts.queueAnswer(Answer::Yes);
    prompts.queueFile(std::nullopt);
    run("New1");
    EXPECT_EQ(w.document().GetTextStr(), "keep\r\n");
    prompts.queueAnswer(Answer::No);
    run("New1");
    EXPECT_EQ(w.document().Lines().Count(), 0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("UnTitled  - tabulo"));
}

TEST_F(DocumentWindowTest, DroppingOneFile) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "dropped\r\n");
    auto& w = open();
    w.dropFiles({a});  // empty document: opens here
    EXPECT_EQ(w.document().GetTextStr(), "dropped\r\n");
    EXPECT_EQ(w.documentName(), a);
    EXPECT_FALSE(w.document().Modified());
    EXPECT_TRUE(started.empty());

    const QString b = path(QStringLiteral("b c$.txt"));
    writeBytes(b, "other\r\n");
    w.dropFiles({b});  // not empty: a second copy gets it as one argument
    EXPECT_EQ(w.document().GetTextStr(), "dropped\r\n");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].file, QCoreApplication::applicationFilePath());
    EXPECT_EQ(started[0].parameters, QStringList{b});
    EXPECT_FALSE(started[0].wait);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(DocumentWindowTest, DroppedPicturesGoToTheGraphWindow) {
    auto& w = open();
    // A picture that cannot be read is reported; the graph window stays hidden.
    w.dropFiles({path(QStringLiteral("photo.JPG"))});
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, path(QStringLiteral("photo.JPG")) + QStringLiteral(" を開けません"));
    EXPECT_EQ(w.document().Lines().Count(), 0);
    EXPECT_EQ(w.tag(), 0);
    EXPECT_FALSE(w.graphWindow().isVisible());
    EXPECT_TRUE(started.empty());

    QImage picture(16, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(path(QStringLiteral("photo.bmp")), "BMP"));
    w.dropFiles({path(QStringLiteral("photo.bmp"))});
    EXPECT_EQ(w.tag(), -1);
    EXPECT_TRUE(w.graphWindow().isVisible());
    EXPECT_EQ(w.graphWindow().picture().size(), QSize(16, 8));
    EXPECT_EQ(w.document().Lines().Count(), 0);
    w.graphWindow().close();
    EXPECT_EQ(w.tag(), 0);
}

TEST_F(DocumentWindowTest, ViewerModeShowsTheScriptResultAsADocumentWithoutAFile) {
    const QString result = workFolder() + QStringLiteral("TT.txt");
    writeBytes(result, "result\r\n");
    auto& w = open({QStringLiteral("-d"), result});
    EXPECT_TRUE(w.viewerMode());
    EXPECT_EQ(w.document().GetTextStr(), "result\r\n");
    EXPECT_EQ(w.documentName(), programFolder() + QStringLiteral("ScriptTmp"));
    EXPECT_TRUE(w.histories().runList().isEmpty());
    // Saving asks for a name.
    prompts.queueFile(std::nullopt);
    run("Save");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].kind, PromptKind::SaveFile);
    QFile::remove(result);
}

TEST_F(DocumentWindowTest, CommandLineFiles) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "arg\r\n");
    QDir::setCurrent(dir.path());
    {
        auto& w = open({QStringLiteral("./sub/../a.txt")});
        EXPECT_EQ(w.documentName(), a);  // the long form: absolute and clean
        EXPECT_EQ(w.document().GetTextStr(), "arg\r\n");
        EXPECT_EQ(w.histories().runList(), QStringList{a});
        window.reset();
    }
    {
        auto& w = open({path(QStringLiteral("missing.txt"))});
        EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("引数") + path(QStringLiteral("missing.txt")) +
                                               QStringLiteral("のファイル名が収得できません")});
        EXPECT_EQ(w.documentName(), QStringLiteral("UnTitled"));
        window.reset();
    }
}

TEST_F(DocumentWindowTest, WorkFilesAreDeletedAtExitButNotTheAutoBackup) {
    const QStringList work = {QStringLiteral("L.$"),   QStringLiteral("T.$"),   QStringLiteral("TA.txt"),
                              QStringLiteral("TT.txt"), QStringLiteral("TZ.txt"), QStringLiteral("S.awk"),
                              QStringLiteral("S.rb"),  QStringLiteral("S.sed"), QStringLiteral("S.xtr")};
    for (const QString& name : work) writeBytes(workFolder() + name, "w");
    writeBytes(programFolder() + QStringLiteral("Tbdebug.sh"), "w");
    writeBytes(programFolder() + QStringLiteral("TbBackUp.$xt"), "b");
    writeBytes(workFolder() + QStringLiteral("other.txt"), "keep");
    open();
    closeWindow();
    for (const QString& name : work) EXPECT_FALSE(QFile::exists(workFolder() + name)) << name.toStdString();
    EXPECT_FALSE(QFile::exists(programFolder() + QStringLiteral("Tbdebug.sh")));
    EXPECT_TRUE(QFile::exists(programFolder() + QStringLiteral("TbBackUp.$xt")));
    EXPECT_TRUE(QFile::exists(workFolder() + QStringLiteral("other.txt")));
    QFile::remove(workFolder() + QStringLiteral("other.txt"));
}

// Every byte but 0x1A, CR and LF inside the lines (0x00 included), two-byte
// characters cut anywhere, with CR LF, LF or lone CR breaks: the file comes
// back byte for byte, its convention shown in the status bar.
TEST_F(DocumentWindowTest, EveryByteValueSurvivesOpenAndSave) {
    std::vector<std::string> lines(4);
    for (int b = 0; b < 256; ++b) {
        if (b == 0x1A || b == '\r' || b == '\n') continue;
        lines[static_cast<std::size_t>(b) % 4] += static_cast<char>(b);
    }
    lines.push_back(std::string("\x82\xA0\x00\x81", 4));  // あ, 0x00, a lone lead byte
    lines.push_back("");
    const auto joined = [&](const char* lineBreak) {
        std::string text;
        for (const std::string& line : lines) text += line + lineBreak;
        return text;
    };
    const struct {
        const char* lineBreak;
        const char* shown;
    } conventions[] = {{"\r\n", "CR+LF"}, {"\n", "LF"}, {"\r", "CR"}};
    for (const auto& [lineBreak, shown] : conventions) {
        const QString in = path(QStringLiteral("in.txt"));
        const QString out = path(QStringLiteral("out.txt"));
        QFile::remove(out);
        writeBytes(in, joined(lineBreak));
        auto& w = open();
        prompts.queueFile(in);
        run("Open1");
        EXPECT_EQ(w.document().Lines().Count(), static_cast<int>(lines.size()));
        EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("StatusPanelLineBreak"))->text(), QString::fromLatin1(shown));
        EXPECT_TRUE(checked(lineBreak[0] == '\n' ? "RetLf" : lineBreak[1] ? "RetCrLf" : "RetCr")) << shown;
        prompts.queueFile(out);
        run("SaveAs1");
        EXPECT_EQ(readBytes(out), joined(lineBreak)) << shown;
        window.reset();
    }
}
