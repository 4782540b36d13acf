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

// "→ UTF-8" and "UTF-8 →" over a range: lines already in the target code stay,
// a JIS line goes through Shift-JIS, and each conversion is one undo step.
TEST_F(KanjiCommandsTest, RangeGoesToUtf8AndBack) {
    const std::string jis = "\x1B$B$\"$$$&\x1B(J";
    window->document().SetTextStr("abc\r\n" + kAiu + "\r\n" + jis + "\r\n\u3048\r\n");
    selectAll();
    run("ToUtf8");
    EXPECT_EQ(window->document().GetTextStr(), "abc\r\n\u3042\u3044\u3046\r\n\u3042\u3044\u3046\r\n\u3048\r\n");
    EXPECT_TRUE(prompts.texts().isEmpty());
    selectAll();
    run("FromUtf8");
    EXPECT_EQ(window->document().GetTextStr(), "abc\r\n" + kAiu + "\r\n" + kAiu + "\r\n\x82\xA6\r\n");
    window->document().Undo();
    EXPECT_EQ(window->document().GetTextStr(), "abc\r\n\u3042\u3044\u3046\r\n\u3042\u3044\u3046\r\n\u3048\r\n");
}

// Characters that do not survive are counted and placed (document line and
// character); No leaves every line of the range as it was.
TEST_F(KanjiCommandsTest, Utf8ConversionsAskBeforeReplacingWhatDoesNotConvert) {
    struct Case {
        const char* name;
        const char* command;
        std::string text;
        QString question;
        std::string agreed;
    };
    const Case cases[] = {
        {"emoji to Shift-JIS", "FromUtf8", "x\r\n\u3042\r\n\u3042\U0001F600\U0001F600\r\n",
         QStringLiteral("Shift-JIS にない文字が 2 個あります。最初は 3 行 2 文字目の U+1F600 です。\n"
                        "〓 に置き換えて変換しますか？（いいえ: 変換しません）"),
         "x\r\n\x82\xA0\r\n\x82\xA0\x81\xAC\x81\xAC\r\n"},
        {"lone lead byte to UTF-8", "ToUtf8", "\x82\xA0\r\nab\x82\r\n",
         QStringLiteral("Unicode にない文字 (バイト) が 1 個あります。最初は 2 行 3 バイト目です。\n"
                        "U+FFFD に置き換えて変換しますか？（いいえ: 変換しません）"),
         "\u3042\r\nab\uFFFD\r\n"},
    };
    for (const Case& c : cases) {
        window->document().SetTextStr(c.text);
        prompts.clear();
        selectAll();
        prompts.queueAnswer(tabulo::platform::Answer::No);
        run(c.command);
        EXPECT_EQ(prompts.texts(), QStringList{c.question}) << c.name;
        EXPECT_EQ(window->document().GetTextStr(), c.text) << c.name;
        selectAll();
        prompts.queueAnswer(tabulo::platform::Answer::Yes);
        run(c.command);
        EXPECT_EQ(window->document().GetTextStr(), c.agreed) << c.name;
    }
}

// Each decoding item turns the lines its encoding item made back into the
// original lines, the lines around the range untouched, in one undo step.
TEST_F(KanjiCommandsTest, DecodingItemsInvertTheEncodingItems) {
    std::string longLine;
    for (int i = 0; i < 100; ++i) longLine += kAiu + "x";  // several encoded lines joined by "#$0D#0A"
    const std::string text = "keep\r\n" + kAiu + "\r\n" + longLine + "\r\n\r\nabc\r\nkeep too\r\n";
    const std::pair<const char*, const char*> items[] = {{"B", "DecodeBase64"}, {"U", "DecodeUU"}, {"H", "DecodeBinHex"}};
    for (const auto& [encode, decode] : items) {
        window->document().SetTextStr(text);
        window->document().select({1, 0}, {4, 3});
        window->refreshCommands();
        run(encode);
        ASSERT_NE(window->document().GetTextStr(), text) << encode;
        EXPECT_EQ(window->document().Lines().Get(0), "keep") << encode;
        window->document().select({1, 0}, {4, 1});
        window->refreshCommands();
        run(decode);
        EXPECT_EQ(window->document().GetTextStr(), text) << decode;
        window->document().Undo();
        EXPECT_NE(window->document().GetTextStr(), text) << decode;
    }
    // Line breaks in the decoded bytes start new lines.
    window->document().SetTextStr("YQ1iDQpj\r\n");  // a CR b CR LF c
    selectAll();
    run("DecodeBase64");
    EXPECT_EQ(window->document().GetTextStr(), "a\r\nb\r\nc\r\n");
}
