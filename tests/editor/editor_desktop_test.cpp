// The editor on a real X desktop: a selection owns the PRIMARY selection,
// which another X client reads as UTF-8 text with LF breaks, and the middle
// button pastes PRIMARY at the click. The other client is this program
// again, started to run only PrimaryReader.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <cstdio>

#include "editor/model/editor_model.h"
#include "editor/view/editor_view.h"
#include "platform/error_handler.h"
#include "platform/scripted_prompts.h"

using namespace tabulo::editor;

namespace {

constexpr const char* kReaderVariable = "TABULO_TEST_READ_PRIMARY";

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// PRIMARY as another X client gets it: the UTF-8 bytes of its text.
QByteArray primaryFromAnotherClient() {
    QProcess reader;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kReaderVariable), QStringLiteral("1"));
    reader.setProcessEnvironment(env);
    reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=PrimaryReader.*")});
    // This process owns the selection and must answer while the reader asks.
    QElapsedTimer clock;
    clock.start();
    while (reader.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        reader.waitForFinished(10);
    }
    const QByteArray out = reader.readAllStandardOutput();
    const qsizetype from = out.indexOf("<<");
    const qsizetype to = out.lastIndexOf(">>");
    return from >= 0 && to > from ? out.mid(from + 2, to - from - 2) : QByteArray("(no answer)");
}

class EditorDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X desktop";
        tabulo::platform::installPrompts(&prompts);
        editor = std::make_unique<TEditor>(model);
        editor->resize(600, 400);
        editor->show();
        editor->activateWindow();
        editor->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }
    void TearDown() override {
        editor.reset();
        tabulo::platform::installPrompts(nullptr);
    }
    QPoint at(int row, int col) const { return editor->pointOf(row, col) + QPoint(1, editor->rowHeight() / 2); }

    tabulo::platform::ScriptedPrompts prompts;
    EditorModel model;
    std::unique_ptr<TEditor> editor;
};

}  // namespace

// Run only as the other client of primaryFromAnotherClient().
TEST(PrimaryReader, PrintsThePrimarySelection) {
    if (qEnvironmentVariableIsEmpty(kReaderVariable)) GTEST_SKIP() << "started by the PRIMARY tests only";
    QByteArray text;
    for (int i = 0; i < 100 && text.isEmpty(); ++i) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
        if (data != nullptr) text = data->text().toUtf8();
        if (text.isEmpty()) QTest::qWait(20);
    }
    std::printf("<<%s>>\n", text.constData());
    std::fflush(stdout);
}

TEST_F(EditorDesktopTest, ASelectionOwnsPrimaryAsUtf8TextWithLfBreaks) {
    ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection());
    model.SetTextStr("\x82\xA0\x82\xA2 one\r\ntwo\r\n");  // あい one / two
    // A selection made with the mouse: PRIMARY once the button is released.
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at(0, 0));
    QTest::mouseMove(editor->viewport(), at(1, 2));
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at(1, 2));
    settle();
    EXPECT_EQ(primaryFromAnotherClient(), QByteArray("\xE3\x81\x82\xE3\x81\x84 one\ntw"));
    // A selection made with the keyboard, too.
    model.setCaret({1, 0});
    QTest::keyClick(editor.get(), Qt::Key_End, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(primaryFromAnotherClient(), QByteArray("two"));
}

TEST_F(EditorDesktopTest, TheMiddleButtonPastesPrimaryAtTheClick) {
    model.SetTextStr("abc\r\ndef\r\n");
    model.setCaret({0, 0});
    // From another program: composed, and the document's line break.
    QGuiApplication::clipboard()->setText(QStringLiteral("か\u3099\nz"), QClipboard::Selection);
    settle();
    QTest::mouseClick(editor->viewport(), Qt::MiddleButton, {}, at(1, 2));
    EXPECT_EQ(model.GetTextStr(), "abc\r\nde\x82\xAA\r\nzf\r\n");
    EXPECT_EQ(model.caret(), (TextPosition{2, 1}));
    // The editor's own selection, pasted elsewhere byte for byte.
    model.select({0, 0}, {0, 2});
    settle();
    QTest::mouseClick(editor->viewport(), Qt::MiddleButton, {}, at(2, 2));
    EXPECT_EQ(model.Lines().Get(2), "zfab");
    EXPECT_FALSE(model.hasSelection());
}
