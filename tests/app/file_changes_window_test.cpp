// The open file changed by another program: rewritten, replaced, deleted or
// swapped for a symbolic link behind the window, then Ctrl+S. The window
// asks one question first; No leaves the other program's file as it is,
// Yes saves (a link that was not there at open is replaced, its target
// left alone). The same question comes once when the window is activated.
// And a refused work folder leaves the files of the command line openable.
#include <sys/stat.h>
#include <unistd.h>

#include <QTest>
#include <QWidget>
#include <functional>

#include "platform/local_path.h"
#include "support/document_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::platform::Buttons;
using tabulo::testing::DocumentWindowTest;

namespace {

std::string local(const QString& path) { return tabulo::platform::toLocalPath(path); }

QString changedQuestion(const QString& path, const char* happened) {
    return QStringLiteral("ファイル %1 は他のプログラムで%2。\nこのウィンドウの内容で保存しますか？")
        .arg(path, QString::fromUtf8(happened));
}

bool isLink(const QString& path) {
    struct stat info {};
    return ::lstat(local(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

void pressCtrlS(tabulo::app::TfmTabulo& w) {
    QTest::keyClick(&w.editor(), Qt::Key_S, Qt::ControlModifier);
}

}  // namespace

TEST_F(DocumentWindowTest, CtrlSOverAFileChangedBehindTheWindowAsksFirst) {
    const QString victim = path(QStringLiteral("victim.txt"));
    const struct {
        const char* what;
        std::function<void(const QString& doc)> change;
        const char* happened;
    } cases[] = {
        {"rewritten", [](const QString& doc) { writeBytes(doc, "theirs\r\n"); }, "書き換えられました"},
        {"replaced", [this](const QString& doc) {
             writeBytes(path(QStringLiteral("new.txt")), "mine\r\n");  // the same text, another file
             ::rename(local(path(QStringLiteral("new.txt"))).c_str(), local(doc).c_str());
         }, "別のファイルに置き換えられました"},
        {"deleted", [](const QString& doc) { ::unlink(local(doc).c_str()); }, "削除されました"},
        {"swapped for a link", [&victim](const QString& doc) {
             ::unlink(local(doc).c_str());
             ::symlink(local(victim).c_str(), local(doc).c_str());
         }, "シンボリックリンクに置き換えられました"},
    };
    auto& w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString doc = path(QString::fromUtf8(c.what) + QStringLiteral(".txt"));
        writeBytes(doc, "mine\r\n");
        writeBytes(victim, "victim's own\r\n");
        ASSERT_TRUE(w.openFile(doc));
        w.document().Lines().Add("more");
        w.document().SetModified(true);
        c.change(doc);
        const std::string theirs = readBytes(doc);
        const bool link = isLink(doc);

        prompts.clear();
        prompts.queueAnswer(Answer::No);
        pressCtrlS(w);
        ASSERT_EQ(prompts.records().size(), 1u);
        EXPECT_EQ(prompts.records()[0].text, changedQuestion(doc, c.happened));
        EXPECT_EQ(prompts.records()[0].buttons, Buttons::YesNo);
        EXPECT_EQ(readBytes(doc), theirs);
        EXPECT_EQ(isLink(doc), link);
        EXPECT_EQ(readBytes(victim), "victim's own\r\n");
        EXPECT_TRUE(w.document().Modified());

        prompts.clear();
        prompts.queueAnswer(Answer::Yes);
        pressCtrlS(w);
        EXPECT_EQ(prompts.texts(), QStringList{changedQuestion(doc, c.happened)});
        EXPECT_EQ(readBytes(doc), "mine\r\nmore\r\n");
        EXPECT_FALSE(isLink(doc));
        EXPECT_EQ(readBytes(victim), "victim's own\r\n");
        EXPECT_FALSE(w.document().Modified());

        // What the window wrote itself is not a change behind it.
        prompts.clear();
        w.document().Lines().Add("again");
        pressCtrlS(w);
        EXPECT_TRUE(prompts.records().empty());
        EXPECT_EQ(readBytes(doc), "mine\r\nmore\r\nagain\r\n");
    }
}

// A document opened through a link keeps saving through it; a link that
// points elsewhere later is a replaced file.
TEST_F(DocumentWindowTest, ALinkThatWasThereAtOpenIsFollowedAndARetargetedOneAsked) {
    const QString real = path(QStringLiteral("real.txt"));
    const QString other = path(QStringLiteral("other.txt"));
    const QString link = path(QStringLiteral("link.txt"));
    writeBytes(real, "real\r\n");
    writeBytes(other, "other\r\n");
    ASSERT_EQ(::symlink("real.txt", local(link).c_str()), 0);
    auto& w = open();
    ASSERT_TRUE(w.openFile(link));
    w.document().Lines().Add("more");
    pressCtrlS(w);
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(readBytes(real), "real\r\nmore\r\n");
    EXPECT_TRUE(isLink(link));

    ::unlink(local(link).c_str());
    ASSERT_EQ(::symlink("other.txt", local(link).c_str()), 0);
    prompts.queueAnswer(Answer::Yes);
    pressCtrlS(w);
    EXPECT_EQ(prompts.texts(), QStringList{changedQuestion(link, "別のファイルに置き換えられました")});
    EXPECT_EQ(readBytes(other), "other\r\n");
    EXPECT_EQ(readBytes(real), "real\r\nmore\r\n");
    EXPECT_FALSE(isLink(link));
    EXPECT_EQ(readBytes(link), "real\r\nmore\r\n");
}

TEST_F(DocumentWindowTest, ActivatingTheWindowAsksOnceAboutAChangedFile) {
    const QString doc = path(QStringLiteral("doc.txt"));
    writeBytes(doc, "mine\r\n");
    auto& w = open({doc});
    QWidget elsewhere;
    elsewhere.show();
    const auto activate = [&](QWidget& widget) {
        widget.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
        QCoreApplication::processEvents();
    };
    activate(elsewhere);
    activate(w);
    EXPECT_TRUE(prompts.records().empty());  // nothing changed

    writeBytes(doc, "theirs, longer\r\n");
    prompts.queueAnswer(Answer::No);
    activate(elsewhere);
    activate(w);
    EXPECT_EQ(prompts.texts(), QStringList{changedQuestion(doc, "書き換えられました")});
    EXPECT_EQ(readBytes(doc), "theirs, longer\r\n");
    activate(elsewhere);
    activate(w);
    EXPECT_EQ(prompts.records().size(), 1u);  // asked once for this change

    // A further change is asked about again; Yes saves the window's text.
    writeBytes(doc, "theirs, longer still\r\n");
    prompts.clear();
    prompts.queueAnswer(Answer::Yes);
    activate(elsewhere);
    activate(w);
    EXPECT_EQ(prompts.texts(), QStringList{changedQuestion(doc, "書き換えられました")});
    EXPECT_EQ(readBytes(doc), "mine\r\n");
}

// The work folder is refused (its name is taken by a file): the reason is
// told once, the file named on the command line opens, the script items
// are off and Cat says why it cannot run.
TEST_F(DocumentWindowTest, ARefusedWorkFolderStillOpensTheFileAsked) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir elsewhere;
    writeBytes(elsewhere.filePath(QStringLiteral("tabulo")), "a file, not a folder");
    qputenv("XDG_RUNTIME_DIR", elsewhere.path().toUtf8());
    const QString doc = path(QStringLiteral("doc.txt"));
    writeBytes(doc, "asked for\r\n");
    auto& w = open({doc});
    ASSERT_EQ(prompts.texts().size(), 1);
    EXPECT_TRUE(prompts.texts()[0].startsWith(QStringLiteral("作業フォルダ ") + elsewhere.filePath(QStringLiteral("tabulo"))));
    EXPECT_EQ(w.document().GetTextStr(), "asked for\r\n");
    EXPECT_EQ(w.documentName(), doc);
    for (const char* item : {"mAwk", "mRuby", "mSed", "mXtr", "Namazu"}) {
        EXPECT_FALSE(enabled(item)) << item;
    }
    EXPECT_TRUE(enabled("Save"));

    prompts.clear();
    w.setDialogRunner([](QDialog&) { ADD_FAILURE() << "Cat opened its dialog"; });
    writeBytes(path(QStringLiteral("b.txt")), "b");
    tabulo::platform::runGuarded(prompts, [&] { w.catFiles({doc, path(QStringLiteral("b.txt"))}, false); });
    ASSERT_EQ(prompts.texts().size(), 1);
    EXPECT_TRUE(prompts.texts()[0].startsWith(QStringLiteral("作業フォルダ ")));
    EXPECT_EQ(w.document().GetTextStr(), "asked for\r\n");

    window.reset();  // closes without touching the refused folder
    qputenv("XDG_RUNTIME_DIR", runtime);
}
