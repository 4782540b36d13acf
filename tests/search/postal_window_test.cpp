// F11 on the main window: the caret line converted in place as one undo
// step, the messages through the prompts, the menu item following the
// postal file setting.
#include <QMenu>

#include "platform/settings_store.h"
#include "search/postal_test_data.h"
#include "support/main_window_fixture.h"

namespace {

using tabulo::testing::kenAllPath;

const QString kPathsKey = QStringLiteral("\\Software\\Tabulo\\ExeFileName");

class PostalWindowTest : public tabulo::testing::MainWindowTest {
protected:
    void TearDown() override {
        tabulo::platform::SettingsStore().deleteValue(kPathsKey, QStringLiteral("Mail"));
        MainWindowTest::TearDown();
    }
    void openWithPostalFile(const std::string& path) {
        tabulo::platform::SettingsStore().writeString(kPathsKey, QStringLiteral("Mail"), QString::fromStdString(path));
        open();
        window->editor().setFocus();
    }
    void f11() { QTest::keyClick(&window->editor(), Qt::Key_F11); }
    void showFileMenu() {
        QMenu* menu = window->findChild<QMenu*>(QStringLiteral("SortS1"));
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
    }
    std::string text() { return window->document().GetTextStr(); }
};

TEST_F(PostalWindowTest, F11ConvertsTheCaretLineAsOneUndoStep) {
    TABULO_REQUIRE_KEN_ALL();
    openWithPostalFile(kenAllPath());
    window->document().SetTextStr("first\r\n150-0002 1\r\nlast\r\n");
    window->document().SetModified(false);
    window->document().SetRow(1);
    f11();
    EXPECT_EQ(text(), "first\r\n\x81\xa7" "150-0002 \x93\x8c\x8b\x9e\x93\x73\x8f\x61\x92\x4a\x8b\xe6\x8f\x61\x92\x4a"
                      "1\r\nlast\r\n");
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_TRUE(window->document().Modified());
    window->document().Undo();
    EXPECT_EQ(text(), "first\r\n150-0002 1\r\nlast\r\n");

    // 東京都　渋谷区: the whole-city record and its message.
    window->document().SetTextStr("\x93\x8c\x8b\x9e\x93\x73\x81\x40\x8f\x61\x92\x4a\x8b\xe6\r\n");
    window->document().SetRow(0);
    f11();
    EXPECT_EQ(text(), "\x81\xa7" "150-0000  \x93\x8c\x8b\x9e\x93\x73\x81\x40\x8f\x61\x92\x4a\x8b\xe6\r\n");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("以下に掲載がない場合です。")});
}

TEST_F(PostalWindowTest, BadLinesAndAMissingFileLeaveTheDocumentAlone) {
    TABULO_REQUIRE_KEN_ALL();
    openWithPostalFile(kenAllPath());
    const struct {
        std::string line;
        QString message;
    } cases[] = {
        {"a b c d", QStringLiteral("Err! 都道府県 市町村 町名をスペース（１個か２個）で区切る。番地は書かない")},
        {"999-9999", QStringLiteral("見つかりませんでした！")},
        {"a b [", QStringLiteral("右ブラケット\"]\"が必要です")},
    };
    for (const auto& c : cases) {
        window->document().SetTextStr(c.line + "\r\n");
        window->document().SetModified(false);
        window->document().SetRow(0);
        prompts.clear();
        f11();
        EXPECT_EQ(text(), c.line + "\r\n");
        EXPECT_FALSE(window->document().Modified());
        EXPECT_EQ(prompts.texts(), QStringList{c.message}) << c.line;
    }
}

TEST_F(PostalWindowTest, MissingFileIsReported) {
    openWithPostalFile("/nonexistent/KEN_ALL.CSV");
    window->document().SetTextStr("150-0002\r\n");
    window->document().SetRow(0);
    f11();
    EXPECT_EQ(text(), "150-0002\r\n");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Err! 郵政省の郵便番号ファイルが見あたりません")});
}

TEST_F(PostalWindowTest, TheMenuItemFollowsThePostalFileSetting) {
    openWithPostalFile("");
    showFileMenu();
    EXPECT_FALSE(enabled("MChgLine"));
    window.reset();
    openWithPostalFile("/data/ken_all.csv");
    showFileMenu();
    EXPECT_TRUE(enabled("MChgLine"));
}

}  // namespace
