// UTF-8 files through the main window and the scripted prompts: the
// conversion offered at open, the characters Shift-JIS has not, the encoding
// shown in the status bar, and the save that writes UTF-8 back.
#include <QLabel>

#include "support/document_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::platform::Buttons;
using tabulo::testing::DocumentWindowTest;

namespace {

QString encodingPanel(tabulo::app::TfmTabulo& w) {
    return w.findChild<QLabel*>(QStringLiteral("StatusPanelEncoding"))->text();
}

QString openQuestion(const QString& path) {
    return QStringLiteral("ファイル %1 は UTF-8 で書かれています。\n"
                          "Shift-JIS に変換して編集しますか？（いいえ: 変換せずにそのまま開きます）")
        .arg(path);
}

const QString kSaveQuestion = QStringLiteral(
    "この文書は UTF-8 のファイルを Shift-JIS に変換したものです。\n"
    "UTF-8 に戻して保存しますか？（いいえ: Shift-JIS で保存します）");

// あいう in Shift-JIS.
const std::string kAiu = "\x82\xA0\x82\xA2\x82\xA4";

}  // namespace

// LF breaks, a last line without a break, look-alikes (〜 U+301C) and
// half-width kana all come back byte for byte; only the edited line differs.
TEST_F(DocumentWindowTest, AUtf8FileIsEditedAndSavedBackByteForByteExceptTheEdit) {
    const QString a = path(QStringLiteral("u.txt"));
    const std::string original = "first \u3042\u3044\u3046\nwave \u301C \uFF71\nlast line";
    writeBytes(a, original);
    auto& w = open();
    EXPECT_EQ(encodingPanel(w), QStringLiteral("Shift-JIS"));
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    run("Open1");
    ASSERT_EQ(prompts.records().size(), 2u);
    EXPECT_EQ(prompts.records()[1].text, openQuestion(a));
    EXPECT_EQ(prompts.records()[1].buttons, Buttons::YesNo);
    EXPECT_EQ(w.document().Lines().Get(0), "first " + kAiu);
    EXPECT_EQ(w.document().Lines().Get(1), "wave \x81\x60 \xB1");
    EXPECT_FALSE(w.document().Modified());
    EXPECT_FALSE(w.document().CanUndo());  // the conversion is not an edit
    EXPECT_EQ(encodingPanel(w), QStringLiteral("UTF-8"));

    w.document().Lines().Put(0, "first " + kAiu + "\x8A\xBF");  // 漢 typed at the end
    prompts.clear();
    prompts.queueAnswer(Answer::Yes);
    run("Save");
    EXPECT_EQ(prompts.texts(), QStringList{kSaveQuestion});
    EXPECT_EQ(prompts.records()[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(readBytes(a), "first \u3042\u3044\u3046\u6F22\nwave \u301C \uFF71\nlast line");
    EXPECT_FALSE(w.document().Modified());
    EXPECT_EQ(encodingPanel(w), QStringLiteral("UTF-8"));

    // Cancel writes nothing; No writes Shift-JIS, and from then on the
    // document belongs to a Shift-JIS file.
    w.document().Lines().Put(2, "x");
    prompts.clear();
    prompts.queueAnswer(Answer::Cancel);
    run("Save");
    EXPECT_EQ(readBytes(a), "first \u3042\u3044\u3046\u6F22\nwave \u301C \uFF71\nlast line");
    EXPECT_TRUE(w.document().Modified());
    prompts.queueAnswer(Answer::No);
    run("Save");
    EXPECT_EQ(readBytes(a), "first " + kAiu + "\x8A\xBF\nwave \x81\x60 \xB1\nx");
    EXPECT_EQ(encodingPanel(w), QStringLiteral("Shift-JIS"));
    prompts.clear();
    w.document().Lines().Put(2, "y");
    run("Save");
    EXPECT_TRUE(prompts.texts().isEmpty());
}

TEST_F(DocumentWindowTest, NoAtTheOpenQuestionKeepsTheBytesAsTheyAre) {
    const QString a = path(QStringLiteral("u.txt"));
    writeBytes(a, "\u3042\r\n");
    auto& w = open();
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::No);
    run("Open1");
    EXPECT_EQ(w.document().Lines().Get(0), "\u3042");
    EXPECT_EQ(encodingPanel(w), QStringLiteral("Shift-JIS"));

    // Shift-JIS files and plain ASCII files are not asked about.
    for (const std::string& bytes : {kAiu + "\r\n", std::string("ascii\r\n")}) {
        writeBytes(a, bytes);
        prompts.clear();
        prompts.queueFile(a);
        run("Open1");
        EXPECT_EQ(prompts.records().size(), 1u) << prompts.texts().join(u'|').toStdString();
        EXPECT_EQ(w.document().GetTextStr(), bytes);
    }
}

// An emoji has no Shift-JIS form: it is counted and placed, and it becomes 〓
// only when the user agrees; otherwise the file opens unconverted and a
// save writes it back unchanged.
TEST_F(DocumentWindowTest, AnEmojiIsReportedBeforeTheConversionReplacesIt) {
    const QString a = path(QStringLiteral("emoji.txt"));
    const std::string original = "ok\r\n\u3042\U0001F600b\U0001F600\r\n";
    writeBytes(a, original);
    const QString lossQuestion = QStringLiteral(
        "Shift-JIS にない文字が 2 個あります。最初は 2 行 2 文字目の U+1F600 です。\n"
        "〓 に置き換えて変換しますか？（いいえ: 変換せずにそのまま開きます）");
    auto& w = open();
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::No);
    run("Open1");
    EXPECT_EQ(prompts.texts().mid(1), (QStringList{openQuestion(a), lossQuestion}));
    EXPECT_EQ(w.document().GetTextStr(), original);
    EXPECT_EQ(encodingPanel(w), QStringLiteral("Shift-JIS"));
    w.document().SetModified(true);
    run("Save");
    EXPECT_EQ(readBytes(a), original);

    prompts.clear();
    w.document().SetModified(false);
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::Yes);
    run("Open1");
    EXPECT_EQ(w.document().Lines().Get(1), "\x82\xA0\x81\xAC" "b\x81\xAC");
    EXPECT_EQ(encodingPanel(w), QStringLiteral("UTF-8"));
}

// Shift-JIS bytes that are no character have no Unicode form either: the
// save says so and writes nothing unless the user agrees to U+FFFD.
TEST_F(DocumentWindowTest, ASaveBackToUtf8ReportsBytesWithoutUnicodeForm) {
    const QString a = path(QStringLiteral("u.txt"));
    writeBytes(a, "\u3042\n");
    auto& w = open();
    prompts.queueFile(a);
    prompts.queueAnswer(Answer::Yes);
    run("Open1");
    w.document().Lines().Add("x\x85\x40");
    prompts.clear();
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::No);
    run("Save");
    EXPECT_EQ(prompts.texts(),
              (QStringList{kSaveQuestion,
                           QStringLiteral("Unicode にない文字 (バイト) が 1 個あります。最初は 2 行 2 バイト目です。\n"
                                          "U+FFFD に置き換えて UTF-8 で保存しますか？（いいえ: 保存しません）")}));
    EXPECT_EQ(readBytes(a), "\u3042\n");
    EXPECT_TRUE(w.document().Modified());
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::Yes);
    run("Save");
    EXPECT_EQ(readBytes(a), "\u3042\nx\uFFFD\n");
}

// A byte-order mark is no character of the text: it stays out of the
// document and goes back at the start of the file.
TEST_F(DocumentWindowTest, AByteOrderMarkIsKeptOutOfTheTextAndWrittenBack) {
    const QString a = path(QStringLiteral("bom.txt"));
    writeBytes(a, "\xEF\xBB\xBF\u3042\r\n");
    auto& w = open();
    prompts.queueAnswer(Answer::Yes);
    w.openFile(a);
    EXPECT_EQ(w.document().GetTextStr(), "\x82\xA0\r\n");
    EXPECT_EQ(prompts.texts(), QStringList{openQuestion(a)});
    w.document().Lines().Add("b");
    prompts.queueAnswer(Answer::Yes);
    run("Save");
    EXPECT_EQ(readBytes(a), "\xEF\xBB\xBF\u3042\r\nb\r\n");
}

// Files opened by name (command line, drops) go through the same question.
TEST_F(DocumentWindowTest, AFileOpenedByNameIsOfferedForConversionToo) {
    const QString a = path(QStringLiteral("u.txt"));
    writeBytes(a, "\u3042");
    auto& w = open();
    prompts.queueAnswer(Answer::Yes);
    w.openFile(a);
    EXPECT_EQ(w.document().GetTextStr(), "\x82\xA0");
    EXPECT_EQ(prompts.texts(), QStringList{openQuestion(a)});
}
