// Cat through the main window: three dropped files joined in the order the
// user chose in TfmSetFiles (the note on their mixed line breaks naming the
// joined document), the dialog's counts and refusal, closing it without
// joining, an old target deleted first (but not one among the files
// joined), a CatTemp.txt link planted by another user that never leads a
// join or a save to its target, and several command-line files.
#include <sys/stat.h>
#include <unistd.h>

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

#include "search/engine/cat_append.h"
#include "search/window/set_files_dialog.h"
#include "support/document_window_fixture.h"
#include "support/show_bytes.h"

using tabulo::platform::Answer;
using tabulo::search::TfmSetFiles;
using tabulo::testing::showBytes;

namespace {

class CatWindowTest : public tabulo::testing::DocumentWindowTest {
protected:
    void SetUp() override {
        DocumentWindowTest::SetUp();
        a = path(QStringLiteral("a.txt"));
        b = path(QStringLiteral("b.txt"));
        c = path(QStringLiteral("c.txt"));
        writeBytes(a, "A\r\n");
        writeBytes(b, "B");
        writeBytes(c, "C\n");
    }
    static void click(TfmSetFiles& dialog, const char* name) {
        if (auto* tool = dialog.findChild<QToolButton*>(QString::fromLatin1(name))) {
            tool->click();
        } else {
            dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click();
        }
    }
    static void moveRight(TfmSetFiles& dialog, int row) {
        dialog.leftList().setCurrentRow(row);
        click(dialog, "SpeedButton1");
    }
    static std::string framed(const char* name, const std::string& text) {
        return tabulo::search::catHeader(name) + text + tabulo::search::catFooter(name);
    }

    QString a, b, c;
};

TEST_F(CatWindowTest, ThreeDroppedFilesJoinInTheChosenOrder) {
    auto& w = open();
    QStringList counts;
    w.setDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<TfmSetFiles&>(d);
        counts << dialog.panelText(1) + QLatin1Char('|') + dialog.panelText(2);
        moveRight(dialog, 2);  // c first
        moveRight(dialog, 0);  // then a
        moveRight(dialog, 0);  // an empty place: nothing moves
        moveRight(dialog, 1);  // then b
        counts << dialog.panelText(1) + QLatin1Char('|') + dialog.panelText(2);
        EXPECT_EQ(dialog.panelText(3), QStringLiteral("処理ファイル ： Enter → 右に移動"));
        click(dialog, "Button1");
    });
    w.dropFiles({a, b, c});
    // The document reads c's LF as its line break, which it writes as CR LF.
    EXPECT_EQ(counts, (QStringList{QStringLiteral("3 Files|0 Files"), QStringLiteral("0 Files|3 Files")}));
    EXPECT_EQ(showBytes(w.document().GetTextStr()),
              showBytes(framed("c.txt", "C\r\n") + framed("a.txt", "A\r\n") + framed("b.txt", "B")));
    EXPECT_EQ(w.documentName(), path(QStringLiteral("CatTemp.txt")));
    EXPECT_EQ(w.windowTitle(), path(QStringLiteral("CatTemp.txt")) + QStringLiteral("  - tabulo"));
    EXPECT_FALSE(w.document().Modified());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("CatTemp.txt"))));
    // c's LF among the CR LF of the frames: the note names the file the
    // document becomes, not the work file the text was joined in.
    EXPECT_EQ(prompts.texts(),
              QStringList{QStringLiteral("ファイル ") + path(QStringLiteral("CatTemp.txt")) +
                          QStringLiteral(" には種類の違う改行コードが混ざっています。\n"
                                         "保存するときは最初の改行コード (CR+LF) にそろえます。")});
}

TEST_F(CatWindowTest, JoinNeedsAFileAndClosingJoinsNothing) {
    auto& w = open();
    w.document().SetTextStr("mine\r\n");
    w.document().SetModified(true);
    prompts.queueAnswer(Answer::No);  // the close question
    w.setDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<TfmSetFiles&>(d);
        click(dialog, "Button1");  // nothing on the right
        EXPECT_EQ(dialog.result(), 0);
        click(dialog, "SpeedButton4");
        click(dialog, "Button2");  // back to the start
        EXPECT_EQ(dialog.panelText(2), QStringLiteral("0 Files"));
        click(dialog, "Button3");
    });
    w.dropFiles({a, b});
    EXPECT_EQ(prompts.texts(), (QStringList{QStringLiteral("内容が変更されています。ファイルを保存しますか？"),
                                            QStringLiteral("右側の窓に処理対象のファイルがありません！")}));
    EXPECT_EQ(w.document().GetTextStr(), "mine\r\n");
    EXPECT_TRUE(w.document().Modified());
    EXPECT_EQ(w.documentName(), QStringLiteral("UnTitled"));

    // Cancel at the close question ends the drop before the dialog.
    prompts.clear();
    prompts.queueAnswer(Answer::Cancel);
    w.setDialogRunner([](QDialog&) { ADD_FAILURE() << "the dialog opened"; });
    w.dropFiles({a, b});
    EXPECT_EQ(w.document().GetTextStr(), "mine\r\n");
}

TEST_F(CatWindowTest, AUsersOwnCatTempFileIsJoinedNotDeleted) {
    const QString own = path(QStringLiteral("CatTemp.txt"));
    writeBytes(own, "own\r\n");
    const QString page = path(QStringLiteral("x.html"));
    writeBytes(page, "<p>\r\n");
    auto& w = open();
    w.setDialogRunner([](QDialog& d) {
        auto& dialog = static_cast<TfmSetFiles&>(d);
        click(dialog, "SpeedButton4");
        click(dialog, "Button1");
    });
    w.dropFiles({own, page, path(QStringLiteral("missing.txt"))});
    EXPECT_EQ(showBytes(w.document().GetTextStr()), showBytes(framed("CatTemp.txt", "own\r\n") + "<p>\r\n"));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("can't open ") + path(QStringLiteral("missing.txt"))});
    EXPECT_EQ(readBytes(own), "own\r\n");
}

TEST_F(CatWindowTest, AnOldTargetBesideTheFirstFileIsDeletedBeforeTheJoin) {
    const QString x = path(QStringLiteral("x.html"));
    const QString old = path(QStringLiteral("CatTemp.html"));
    writeBytes(x, "<x>");
    writeBytes(old, "an old join");
    auto& w = open();
    w.setDialogRunner([](QDialog& d) { click(static_cast<TfmSetFiles&>(d), "Button3"); });
    w.dropFiles({x, a});
    EXPECT_FALSE(QFile::exists(old));  // even when the dialog is closed without joining
}

// Another user plants CatTemp.txt in a shared folder as a link to a file of
// the user's. The join removes the link, never its target; a link planted
// again after the join is asked about at Ctrl+S and replaced, not followed.
TEST_F(CatWindowTest, APlantedCatTempLinkNeverLeadsToItsTarget) {
    for (const mode_t mode : {mode_t{01777}, mode_t{0777}}) {
        SCOPED_TRACE(mode);
        const QString shared = path(QStringLiteral("shared-%1").arg(mode, 0, 8));
        ASSERT_TRUE(QDir().mkpath(shared));
        ::chmod(shared.toLocal8Bit().constData(), mode);
        const QString first = shared + QStringLiteral("/a.txt");
        const QString second = shared + QStringLiteral("/b.txt");
        writeBytes(first, "A\r\n");
        writeBytes(second, "B\r\n");
        const QString victim = path(QStringLiteral("victim-%1.txt").arg(mode, 0, 8));
        writeBytes(victim, "victim's own\r\n");
        const QString link = shared + QStringLiteral("/CatTemp.txt");
        const auto plant = [&] {
            ASSERT_EQ(::symlink(victim.toLocal8Bit().constData(), link.toLocal8Bit().constData()), 0);
            if (::geteuid() == 0) {
                ASSERT_EQ(::lchown(link.toLocal8Bit().constData(), 65534, 65534), 0);
            }
        };
        const auto isLink = [&] {
            struct stat info {};
            return ::lstat(link.toLocal8Bit().constData(), &info) == 0 && S_ISLNK(info.st_mode);
        };
        plant();
        auto& w = open();
        w.setDialogRunner([](QDialog& d) {
            click(static_cast<TfmSetFiles&>(d), "SpeedButton4");
            click(static_cast<TfmSetFiles&>(d), "Button1");
        });
        w.dropFiles({first, second});
        EXPECT_EQ(w.documentName(), link);
        EXPECT_EQ(showBytes(w.document().GetTextStr()), showBytes(framed("a.txt", "A\r\n") + framed("b.txt", "B\r\n")));
        EXPECT_FALSE(QFileInfo::exists(link) || isLink());
        EXPECT_EQ(readBytes(victim), "victim's own\r\n");

        plant();
        prompts.clear();
        prompts.queueAnswer(Answer::No);
        QTest::keyClick(&w.editor(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("ファイル %1 は他のプログラムでシンボリックリンクに置き換えられました。\n"
                                                              "このウィンドウの内容で保存しますか？").arg(link)});
        EXPECT_TRUE(isLink());
        prompts.queueAnswer(Answer::Yes);
        QTest::keyClick(&w.editor(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(readBytes(victim), "victim's own\r\n");
        EXPECT_FALSE(isLink());
        EXPECT_EQ(showBytes(readBytes(link)), showBytes(framed("a.txt", "A\r\n") + framed("b.txt", "B\r\n")));
        window.reset();
    }
}

TEST_F(CatWindowTest, SeveralCommandLineFilesGoToCatWithoutTheSaveQuestion) {
    const QString x = path(QStringLiteral("x.html"));
    const QString y = path(QStringLiteral("y.html"));
    writeBytes(x, "<x>");
    writeBytes(y, "<y>");
    window = std::make_unique<tabulo::app::TfmTabulo>(QStringList{QStringLiteral("-d"), x, y});
    std::vector<std::string> offered;
    QPoint dialogCentre;
    QPoint mainCentre;
    window->setDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<TfmSetFiles&>(d);
        // The main window is on the screen by now, and the dialog over it.
        EXPECT_TRUE(window->windowHandle() && window->windowHandle()->isExposed());
        dialogCentre = dialog.frameGeometry().center();
        mainCentre = window->frameGeometry().center();
        for (int i = 0; i < dialog.leftList().count(); ++i) offered.push_back(dialog.leftList().item(i)->text().toStdString());
        click(dialog, "SpeedButton5");  // descending: y before x
        click(dialog, "SpeedButton4");
        click(dialog, "Button1");
    });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(offered, (std::vector<std::string>{x.toStdString(), y.toStdString()}));
    EXPECT_LE((dialogCentre - mainCentre).manhattanLength(), 2);
    EXPECT_EQ(window->document().GetTextStr(), "<y><x>");
    EXPECT_EQ(window->documentName(), path(QStringLiteral("CatTemp.html")));
    EXPECT_TRUE(prompts.records().empty());
}

}  // namespace
