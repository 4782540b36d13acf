// The kanji code commands through the main window: a line range converted
// to JIS or EUC and back, encodings, and the character code message.
#include "support/main_window_fixture.h"

using tabulo::testing::MainWindowTest;

namespace {

class KanjiCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
    }
    void selectAll() {
        window->document().SelectAll();
        window->refreshCommands();
    }
};

const std::string kAiu = "\x82\xA0\x82\xA2\x82\xA4";  // あいう

}  // namespace

TEST_F(KanjiCommandsTest, RangeGoesToEucAndJisAndBack) {
    window->document().SetTextStr("abc\r\n" + kAiu + "\r\n" + kAiu + "x\r\n");
    window->document().select({1, 0}, {2, 2});  // lines 1 and 2, from mid-line
    window->refreshCommands();
    run("E");
    EXPECT_EQ(window->document().Lines().Get(0), "abc");
    EXPECT_EQ(window->document().Lines().Get(1), "\xA4\xA2\xA4\xA4\xA4\xA6");
    EXPECT_EQ(window->document().Lines().Get(2), "\xA4\xA2\xA4\xA4\xA4\xA6x");
    // あいう in EUC cannot be told from Shift-JIS: converting it back leaves it.
    selectAll();
    run("S");
    EXPECT_EQ(window->document().Lines().Get(1), "\xA4\xA2\xA4\xA4\xA4\xA6");

    window->document().SetTextStr("abc\r\n" + kAiu + "\r\n");
    selectAll();
    run("J");
    EXPECT_EQ(window->document().Lines().Get(1), "\x1B$B$\"$$$&\x1B(J");
    selectAll();
    run("S");
    EXPECT_EQ(window->document().Lines().Get(1), kAiu);
    EXPECT_EQ(window->document().GetTextStr(), "abc\r\n" + kAiu + "\r\n");
}

TEST_F(KanjiCommandsTest, Base64EncodesEveryLineOfTheRange) {
    window->document().SetTextStr("Man\r\nab\r\n");
    selectAll();
    run("B");
    EXPECT_EQ(window->document().Lines().Get(0), "TWFu");
    EXPECT_EQ(window->document().Lines().Get(1), "YWI=");
}

TEST_F(KanjiCommandsTest, CharacterCodeOfTheSelection) {
    window->document().SetTextStr(kAiu + "\r\nA\r\n");
    window->document().select({0, 0}, {0, 2});
    run("CharCord");
    window->document().select({1, 0}, {1, 1});
    run("CharCord");
    EXPECT_EQ(prompts.texts(), (QStringList{QStringLiteral("'あ' = 82A0 (SJIS)"), QStringLiteral("'A' = 0x41 (65)")}));
}
