// The Qt prompts: the filter translation, and real boxes answered by keys
// sent to the modal dialog as soon as it is open.
#include "platform/qt_prompts.h"

#include "qstring_printer.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tabulo::platform {
namespace {

TEST(QtFileFilterTest, TranslatesTheProgramsNotation)
{
    struct Case {
        QString program;
        QString qt;
    };
    const Case cases[] = {
        {{}, {}},
        {QStringLiteral("テキスト|*.txt"), QStringLiteral("テキスト (*.txt *.TXT)")},
        {QStringLiteral("テキストファイル(*.txt *.doc)|*.txt;*.doc|すべてのファイル（*.*）|*.*"),
         QStringLiteral("テキストファイル(*.txt *.doc) (*.txt *.TXT *.doc *.DOC);;すべてのファイル（*.*） (*)")},
        {QStringLiteral("Ｃ|*.CPP;;*.H;"), QStringLiteral("Ｃ (*.cpp *.CPP *.h *.H)")},
        {QStringLiteral("Xtr ファイル(*.Xtr)|*.Xtr|htm|*.htm*"),
         QStringLiteral("Xtr ファイル(*.Xtr) (*.xtr *.XTR);;htm (*.htm* *.HTM*)")},
        {QStringLiteral("説明だけ"), QStringLiteral("説明だけ (*)")},
        {QStringLiteral("a|*.a|b"), QStringLiteral("a (*.a *.A);;b (*)")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qtFileFilter(c.program), c.qt) << c.program.toStdString();
    }
}

// Runs `act` on the modal dialog once it is open (polling, because the
// dialog opens inside the call under test).
void whenModalOpens(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

void pressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

TEST(QtPromptsTest, EscapeCountsAsCancelWhenThereIsOneElseNoAndEnterAsTheFirstButton)
{
    struct Case {
        Buttons buttons;
        int key;
        Answer expected;
    };
    const Case cases[] = {
        {Buttons::YesNo, Qt::Key_Escape, Answer::No},
        {Buttons::YesCancel, Qt::Key_Escape, Answer::Cancel},
        {Buttons::YesNoCancel, Qt::Key_Escape, Answer::Cancel},
        {Buttons::OkCancel, Qt::Key_Escape, Answer::Cancel},
        {Buttons::Ok, Qt::Key_Escape, Answer::Ok},
        {Buttons::YesNoCancel, Qt::Key_Return, Answer::Yes},
        {Buttons::OkCancel, Qt::Key_Return, Answer::Ok},
    };
    QtPrompts prompts;
    for (const Case& c : cases) {
        QString title;
        whenModalOpens([&](QWidget* dialog) {
            title = dialog->windowTitle();
            pressKey(dialog, c.key);
        });
        EXPECT_EQ(prompts.confirm(QStringLiteral("保存しますか？"), {}, c.buttons), c.expected)
            << static_cast<int>(c.buttons) << ' ' << c.key;
        EXPECT_EQ(title, QCoreApplication::applicationName());
    }
}

TEST(QtPromptsTest, MessageBoxShowsTextAndTitle)
{
    QtPrompts prompts;
    QString text;
    QString title;
    whenModalOpens([&](QWidget* dialog) {
        text = static_cast<QMessageBox*>(dialog)->text();
        title = dialog->windowTitle();
        pressKey(dialog, Qt::Key_Return);
    });
    prompts.message(QStringLiteral("見つかりません"), QStringLiteral("tabulo"), Icon::Warning);
    EXPECT_EQ(text, QStringLiteral("見つかりません"));
    EXPECT_EQ(title, QStringLiteral("tabulo"));
}

TEST(QtPromptsTest, InputBoxOffersTheDefaultAndReturnsTheAnswerOrNothing)
{
    QtPrompts prompts;
    QString offered;
    whenModalOpens([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        offered = edit->text();
        edit->setText(QStringLiteral("E"));
        static_cast<QInputDialog*>(dialog)->accept();
    });
    EXPECT_EQ(prompts.input(QStringLiteral("指定行に移動"), {}, QStringLiteral("7")),
              QStringLiteral("E"));
    EXPECT_EQ(offered, QStringLiteral("7"));

    whenModalOpens([](QWidget* dialog) { static_cast<QInputDialog*>(dialog)->reject(); });
    EXPECT_EQ(prompts.input(QStringLiteral("指定行に移動"), {}, QStringLiteral("7")), std::nullopt);
}

// Where a box opens: over the window it was opened from, or in the middle of
// the screen while the program shows no window yet; above a stay-on-top
// window of the program, by staying on top itself.
TEST(QtPromptsTest, BoxOpensOverItsOpenerOrInTheMiddleOfTheScreen)
{
    QWidget main;
    main.setGeometry(40, 60, 500, 400);
    QWidget tool(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    tool.setGeometry(420, 300, 300, 200);  // inside the offscreen 800 x 600 screen
    QtPrompts prompts(&main);

    struct Seen {
        QPoint centre;
        bool onTop = false;
        QWidget* parent = nullptr;
    };
    const auto ask = [&prompts] {
        Seen seen;
        whenModalOpens([&seen](QWidget* box) {
            seen = {box->frameGeometry().center(), box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                    box->parentWidget()};
            pressKey(box, Qt::Key_Return);
        });
        prompts.message(QStringLiteral("見つかりません"));
        return seen;
    };
    const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 40; };

    const Seen first = ask();  // nothing is shown yet
    EXPECT_TRUE(near(first.centre, QGuiApplication::primaryScreen()->availableGeometry().center()))
        << first.centre.x() << ',' << first.centre.y();
    EXPECT_FALSE(first.onTop);

    main.show();
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    const Seen overMain = ask();
    EXPECT_EQ(overMain.parent, &main);
    EXPECT_TRUE(near(overMain.centre, main.geometry().center()));
    EXPECT_FALSE(overMain.onTop);

    tool.show();
    QApplication::setActiveWindow(&tool);
    const Seen overTool = ask();
    EXPECT_EQ(overTool.parent, &tool);
    EXPECT_TRUE(near(overTool.centre, tool.geometry().center()));
    EXPECT_TRUE(overTool.onTop);
}

// A one-sentence message stays on one line however long it is, as far as the
// screen allows: no word is broken.
TEST(QtPromptsTest, OneSentenceMessageIsNotWrapped)
{
    const QStringList texts = {
        QStringLiteral("ターゲットが選択されていません。スクリプトの範囲指定をしてください。"),
        QStringLiteral("/home/user/documents/reports/2026/quarterly-summary-final.txt が見つかりません。"),
    };
    QtPrompts prompts;
    for (const QString& text : texts) {
        int lines = 0;
        whenModalOpens([&lines](QWidget* box) {
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            lines = label->height() / label->fontMetrics().lineSpacing();
            pressKey(box, Qt::Key_Return);
        });
        prompts.message(text);
        EXPECT_EQ(lines, 1) << text.toStdString();
    }
}

}  // namespace
}  // namespace tabulo::platform
