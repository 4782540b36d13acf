// Data safety of document files through the main window and the scripted
// prompts: the 0x1A end of text is told and asked about, line-break
// conventions are kept and can be changed, only regular files open, saves
// keep links, owner and mode, private files stay private, names that are
// not UTF-8 work everywhere, and an emptied document is not silently "saved".
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <cstdlib>
#include <fstream>

#include "app/backup_name.h"
#include "app/open_file_histories.h"
#include "support/file_fixture.h"
#include "platform/local_path.h"
#include "platform/qstring_printer.h"
#include "support/document_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::platform::Buttons;
using tabulo::platform::PromptKind;
using tabulo::testing::DocumentWindowTest;

namespace {

struct stat statOf(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(tabulo::platform::toLocalPath(path).c_str(), &info), 0) << path.toStdString();
    return info;
}

QString lineBreakPanel(tabulo::app::TfmTabulo& w) {
    return w.findChild<QLabel*>(QStringLiteral("StatusPanelLineBreak"))->text();
}

QString cutMessage(const QString& path, int line, int bytes) {
    return QStringLiteral("ファイル %1 は %2 行目の EOF 文字 (1A) で終わりとして読み込みました。\n"
                          "その後ろの %3 バイトは表示されていません。")
        .arg(path)
        .arg(line)
        .arg(bytes);
}

QString cutQuestion(int bytes) {
    return QStringLiteral("このファイルの EOF 文字 (1A) の後ろにある %1 バイトは、保存すると失われます。上書きしますか？")
        .arg(bytes);
}

}  // namespace

TEST_F(DocumentWindowTest, TheEndOfFileByteIsToldAtOpenAndAskedAboutBeforeASave) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "x\r\na\x1A" "b\r\n");
    auto& w = open();
    prompts.queueFile(a);
    run("Open1");
    EXPECT_EQ(prompts.texts().mid(1), QStringList{cutMessage(a, 2, 3)});
    EXPECT_EQ(w.document().GetTextStr(), "x\r\na");

    // No keeps the file whole; the document stays as it was.
    prompts.clear();
    w.document().Lines().Add("y");
    prompts.queueAnswer(Answer::No);
    run("Save");
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, cutQuestion(3));
    EXPECT_EQ(prompts.records()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(readBytes(a), "x\r\na\x1A" "b\r\n");
    EXPECT_TRUE(w.document().Modified());

    // Yes writes the shorter text; the file has nothing left to lose.
    prompts.clear();
    prompts.queueAnswer(Answer::Yes);
    run("Save");
    EXPECT_EQ(readBytes(a), "x\r\na\r\ny\r\n");
    prompts.clear();
    run("Save");
    EXPECT_TRUE(prompts.records().empty());

    // A lone 0x1A at the very end hides nothing: no message, no question;
    // another file's name is never asked about.
    const QString b = path(QStringLiteral("b.txt"));
    writeBytes(b, "b\r\n\x1A");
    prompts.clear();
    prompts.queueFile(b);
    run("Open1");
    EXPECT_EQ(prompts.records().size(), 1u);
    writeBytes(a, "a\x1A" "bc");
    prompts.queueFile(a);
    run("Open1");
    EXPECT_EQ(prompts.texts().last(), cutMessage(a, 1, 2));
    prompts.clear();
    prompts.queueFile(b);
    prompts.queueAnswer(Answer::No);  // the backup question
    run("SaveAs1");
    EXPECT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(readBytes(b), "a");
}

TEST_F(DocumentWindowTest, MixedLineBreaksAreToldAndSavedWithTheFirst) {
    const QString a = path(QStringLiteral("mixed.txt"));
    writeBytes(a, "a\nb\r\nc\rd");
    auto& w = open();
    prompts.queueFile(a);
    run("Open1");
    EXPECT_EQ(prompts.texts().mid(1),
              QStringList{QStringLiteral("ファイル %1 には種類の違う改行コードが混ざっています。\n"
                                         "保存するときは最初の改行コード (LF) にそろえます。")
                              .arg(a)});
    EXPECT_EQ(lineBreakPanel(w), QStringLiteral("LF"));
    run("Save");
    EXPECT_EQ(readBytes(a), "a\nb\nc\nd");
}

TEST_F(DocumentWindowTest, TheLineBreakMenuChangesWhatTheNextSaveWrites) {
    const QString a = path(QStringLiteral("script.sh"));
    writeBytes(a, "echo 1\necho 2\n");
    auto& w = open();
    EXPECT_EQ(lineBreakPanel(w), QStringLiteral("CR+LF"));  // a new document
    prompts.queueFile(a);
    run("Open1");
    EXPECT_TRUE(checked("RetLf"));
    run("Save");
    EXPECT_EQ(readBytes(a), "echo 1\necho 2\n");  // a shell script stays runnable

    run("RetLf");  // the same convention changes nothing
    EXPECT_FALSE(w.document().Modified());
    run("RetCrLf");
    EXPECT_TRUE(w.document().Modified());
    EXPECT_EQ(lineBreakPanel(w), QStringLiteral("CR+LF"));
    EXPECT_TRUE(checked("RetCrLf"));
    EXPECT_FALSE(checked("RetLf"));
    run("Save");
    EXPECT_EQ(readBytes(a), "echo 1\r\necho 2\r\n");
    run("RetCr");
    run("Save");
    EXPECT_EQ(readBytes(a), "echo 1\recho 2\r");

    run("New1");
    EXPECT_EQ(lineBreakPanel(w), QStringLiteral("CR+LF"));
    EXPECT_EQ(w.document().lineBreakStyle(), tabulo::editor::LineBreakStyle::CrLf);
}

// A FIFO without a writer, a device with endless bytes and a folder: a
// message at once, the window never waits, and a document keeps its text.
TEST_F(DocumentWindowTest, OnlyRegularFilesOpen) {
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const struct {
        QString path;
        QString kind;
    } cases[] = {
        {fifo, QStringLiteral("名前付きパイプ")},
        {QStringLiteral("/dev/zero"), QStringLiteral("デバイス")},
        {dir.path(), QStringLiteral("フォルダ")},
    };
    for (const auto& c : cases) {
        const QString refused = QStringLiteral("ファイル %1 は開けません (通常のファイルではありません（%2）)").arg(c.path, c.kind);
        open({c.path});
        EXPECT_EQ(prompts.texts(), QStringList{refused}) << "command line";
        EXPECT_EQ(window->documentName(), QStringLiteral("UnTitled"));

        prompts.clear();
        window->document().SetTextStr("kept\r\n");
        window->dropFiles({c.path});  // a non-empty document: a second copy gets it
        window->document().Lines().Clear();
        // As the drop event runs it: under the general error handler.
        tabulo::platform::runGuarded(prompts, [&] { window->dropFiles({c.path}); });
        EXPECT_EQ(prompts.texts(), QStringList{refused}) << "dropped";

        prompts.clear();
        window->document().SetModified(false);
        prompts.queueFile(c.path);
        run("Open1");
        EXPECT_EQ(prompts.texts().last(), refused) << "open dialog";

        // Saving onto it is refused too, and the text stays unsaved.
        prompts.clear();
        window->document().SetTextStr("text\r\n");
        window->setDocumentName(c.path);
        run("Save");
        EXPECT_EQ(prompts.texts(),
                  QStringList{QStringLiteral("ファイル %1 を作成できません (通常のファイルではありません（%2）)").arg(c.path, c.kind)});
        EXPECT_TRUE(window->document().Modified());
        window.reset();
        prompts.clear();
    }
}

TEST_F(DocumentWindowTest, SavesKeepSymbolicAndHardLinksAndTheBackupHoldsTheOldText) {
    const QString real = path(QStringLiteral("real.txt"));
    const QString link = path(QStringLiteral("link.txt"));
    writeBytes(real, "old\r\n");
    ASSERT_EQ(::symlink("real.txt", link.toLocal8Bit().constData()), 0);
    const QString first = path(QStringLiteral("h1.txt"));
    const QString second = path(QStringLiteral("h2.txt"));
    writeBytes(first, "old\r\n");
    ASSERT_EQ(::link(first.toLocal8Bit().constData(), second.toLocal8Bit().constData()), 0);

    for (const QString& file : {link, first}) {
        auto& w = open();
        prompts.queueFile(file);
        run("Open1");
        w.document().Lines().Add("new");
        prompts.queueFile(file);
        prompts.queueAnswer(Answer::Yes);  // make a backup
        run("SaveAs1");
        EXPECT_EQ(readBytes(file), "old\r\nnew\r\n");
        EXPECT_EQ(readBytes(tabulo::app::backupFileName(file)), "old\r\n") << file.toStdString();
        window.reset();
    }
    EXPECT_TRUE(S_ISLNK(statOf(link).st_mode));
    EXPECT_EQ(readBytes(real), "old\r\nnew\r\n");
    EXPECT_EQ(readBytes(second), "old\r\nnew\r\n");
    EXPECT_EQ(statOf(first).st_ino, statOf(second).st_ino);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral(".tabulo-save-*")}, QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(DocumentWindowTest, AnotherUsersPrivateFileKeepsOwnerAndModeAndSoDoesItsBackup) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
    const QString a = path(QStringLiteral("private.txt"));
    writeBytes(a, "secret\r\n");
    ASSERT_EQ(::chown(a.toLocal8Bit().constData(), 65534, 65534), 0);
    ::chmod(a.toLocal8Bit().constData(), 0600);
    auto& w = open();
    prompts.queueFile(a);
    run("Open1");
    w.document().Lines().Add("more");
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    run("SaveAs1");
    for (const QString& file : {a, tabulo::app::backupFileName(a)}) {
        const struct stat info = statOf(file);
        EXPECT_EQ(info.st_uid, 65534u) << file.toStdString();
        EXPECT_EQ(info.st_gid, 65534u) << file.toStdString();
        EXPECT_EQ(info.st_mode & 07777, 0600u) << file.toStdString();
    }
    EXPECT_EQ(readBytes(a), "secret\r\nmore\r\n");
}

TEST_F(DocumentWindowTest, TheProgramFolderAndTheAutoBackupArePrivate) {
    const QByteArray home = qgetenv("TABULO_HOME");
    const QString fresh = path(QStringLiteral("config/tabulo"));
    qputenv("TABULO_HOME", fresh.toUtf8());
    const std::string folder = tabulo::platform::programFolder();
    qputenv("TABULO_HOME", home);
    EXPECT_EQ(statOf(fresh).st_mode & 07777, 0700u);
    EXPECT_EQ(statOf(path(QStringLiteral("config"))).st_mode & 07777, 0700u);
    EXPECT_EQ(folder, fresh.toStdString() + "/");

    const QString backup = programFolder() + QStringLiteral("TbBackUp.$xt");
    writeBytes(backup, "an old backup\r\n");
    ::chmod(backup.toLocal8Bit().constData(), 0644);
    auto& w = open();
    w.document().SetTextStr("unsaved\r\n");
    w.autoBackup();
    EXPECT_EQ(readBytes(backup), "unsaved\r\n");
    EXPECT_EQ(statOf(backup).st_mode & 07777, 0600u);
}

// 表.txt written by a Shift-JIS system: the name is the bytes 0x95 0x5C.
TEST_F(DocumentWindowTest, ANameThatIsNotUtf8OpensSavesAndIsRemembered) {
    const std::string bytes = dir.path().toStdString() + "/\x95\x5C.txt";
    const QString name = tabulo::platform::fromLocalPath(bytes);
    const QString shown = dir.path() + QStringLiteral("/表.txt");
    std::ofstream(bytes, std::ios::binary) << "text\r\n";
    {
        auto& w = open({name});
        EXPECT_TRUE(prompts.records().empty());
        EXPECT_EQ(w.documentName(), name);
        EXPECT_EQ(w.windowTitle(), shown + QStringLiteral("  - tabulo"));
        w.document().Lines().Add("more");
        run("Save");
        EXPECT_EQ(tabulo::platform::toLocalPath(name), bytes);
        std::ifstream in(bytes, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "text\r\nmore\r\n");
        closeWindow();
    }
    // The settings file carries the name to the next run.
    auto& w = open();
    ASSERT_EQ(w.histories().historyList(), QStringList{name});
    const QList<QAction*> items = w.histories().menuItems();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&0 ") + shown);
    items[0]->trigger();
    EXPECT_EQ(w.document().GetTextStr(), "text\r\nmore\r\n");
    EXPECT_EQ(w.documentName(), name);
}

TEST_F(DocumentWindowTest, SavingAnEmptiedDocumentSaysThatNothingWasWritten) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "old\r\n");
    auto& w = open();
    prompts.queueFile(a);
    run("Open1");
    w.document().replaceLines(0, 1, {}, tabulo::editor::BreakKind::LineBreak);
    ASSERT_EQ(w.document().Lines().Count(), 0);
    prompts.clear();
    run("Save");
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("文書が空なので保存しませんでした。ファイル %1 は前の内容のままです。").arg(a)});
    EXPECT_EQ(readBytes(a), "old\r\n");
    EXPECT_TRUE(w.document().Modified());
}

// Saves killed in an earlier run left temporary files beside a file of the
// history; the next start clears them, and leaves a running save's alone.
TEST_F(DocumentWindowTest, TheNextStartClearsTemporaryFilesOfKilledSaves) {
    const QString a = path(QStringLiteral("a.txt"));
    writeBytes(a, "text\r\n");
    open({a});
    closeWindow();
    const QString stale = path(QStringLiteral(".tabulo-save-%1-Ab12Cd").arg(tabulo::testing::deadProcessId()));
    const QString running = path(QStringLiteral(".tabulo-save-%1-Ab12Cd").arg(::getppid()));
    writeBytes(stale, "half");
    writeBytes(running, "being written");
    open();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(running));
    EXPECT_EQ(readBytes(a), "text\r\n");
}
