// The insert-strings command through the main window and its dialog: kinds,
// the column rule, the template error, and the red column line.
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

#include "app/insert_str_dialog.h"
#include "support/main_window_fixture.h"

using tabulo::testing::MainWindowTest;
using tabulo::textops::InsertKind;

namespace {

class InsertStringsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        dialog = window->findChild<tabulo::app::TfmInsertStr*>();
        ASSERT_NE(dialog, nullptr);
    }
    // Runs the command with the dialog set up by `fill` and answered with OK
    // (or Cancel); records the red line seen while it was open.
    void insert(const std::function<void(tabulo::app::TfmInsertStr&)>& fill, bool ok = true) {
        window->setDialogRunner([&, ok](QDialog& d) {
            d.show();
            fill(*dialog);
            lineWhileOpen = redLine();
            ok ? d.accept() : d.reject();
        });
        window->document().SelectAll();
        window->refreshCommands();
        run("_AddString");
    }
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (int i = 0; i < window->document().Lines().Count(); ++i) out.push_back(window->document().Lines().Get(i));
        return out;
    }
    std::optional<int> redLine() {
        const auto& lines = window->editor().verticalLines();
        if (lines.size() != 1 || lines[0].Color != QColor(Qt::red)) return std::nullopt;
        return lines[0].Position;
    }
    tabulo::app::TfmInsertStr* dialog = nullptr;
    std::optional<int> lineWhileOpen;
};

}  // namespace

TEST_F(InsertStringsTest, CircledNumbersStopAfterTwenty) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += "x\r\n";
    window->document().SetTextStr(text);
    insert([](auto& d) {
        d.setKind(InsertKind::CircledNumbers);
        d.columnSpin().setValue(0);
    });
    const auto result = lines();
    EXPECT_EQ(result[0], "\x87\x40x");   // ①
    EXPECT_EQ(result[19], "\x87\x53x");  // ⑳
    EXPECT_EQ(result[20], "x");
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("20行処理しました")});
    EXPECT_EQ(lineWhileOpen, 0);
    EXPECT_TRUE(window->editor().verticalLines().empty());  // gone with the dialog
}

TEST_F(InsertStringsTest, NumbersFromATemplateAtAColumn) {
    window->document().SetTextStr("ab\r\nabc\r\n\r\nabcd\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::Numbers);
        d.textEdit().setText(QStringLiteral("第*章"));
        d.columnSpin().setValue(3);
    });
    // A line shorter than the column is skipped; one exactly that long gets the text appended.
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab", "abc\x91\xE6" "1\x8F\xCD", "", "abc\x91\xE6" "2\x8F\xCD" "d"}));
    EXPECT_EQ(lineWhileOpen, 3);
}

TEST_F(InsertStringsTest, TheColumnCountsBytesAndNeverSplitsACharacter) {
    // あいう, a tab before text, and half-width katakana.
    window->document().SetTextStr("\x82\xa0\x82\xa2\x82\xa4\r\n\tabc\r\n\xb1\xb2\xb3\xb4\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::FixedString);
        d.textEdit().setText(QStringLiteral("#"));
        d.columnSpin().setValue(3);
    });
    // Byte 3 falls inside い: the text goes in after it.
    EXPECT_EQ(lines(), (std::vector<std::string>{"\x82\xa0\x82\xa2#\x82\xa4", "\tab#c", "\xb1\xb2\xb3#\xb4"}));
    EXPECT_EQ(lineWhileOpen, 3);  // the red line stands at the chosen column
}

TEST_F(InsertStringsTest, EmptyLinesOnlyWhenAsked) {
    window->document().SetTextStr("a\r\n\r\nb\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::CapitalLetters);
        d.columnSpin().setValue(0);
        d.insertIntoEmptyLines().setChecked(false);
    });
    EXPECT_EQ(lines(), (std::vector<std::string>{"Aa", "", "Bb"}));
}

TEST_F(InsertStringsTest, TemplateWithoutAStarAndCancel) {
    window->document().SetTextStr("a\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::Numbers);
        d.textEdit().setText(QStringLiteral("no star"));
    });
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("数字桁数の指定 * がありません")});
    EXPECT_EQ(lines(), std::vector<std::string>{"a"});

    prompts.clear();
    insert([](auto& d) { d.setKind(InsertKind::Hiragana); }, false);
    EXPECT_TRUE(prompts.texts().isEmpty());
    EXPECT_EQ(lines(), std::vector<std::string>{"a"});
}

TEST_F(InsertStringsTest, TheColumnCannotPassTheVisibleColumns) {
    window->document().SetTextStr("a\r\n");
    insert([&](auto& d) {
        EXPECT_EQ(d.columnSpin().maximum(), window->document().VisibleColumns());
        d.columnSpin().setValue(5000);
        EXPECT_EQ(d.columnSpin().value(), window->document().VisibleColumns());
    }, false);
}

// A typed character Shift-JIS has not goes in as the geta mark 0x81 0xAC
// (never "?") and is reported; the JIS look-alike 〜 (U+301C) is Shift-JIS
// 0x8160 and goes in as it is.
TEST_F(InsertStringsTest, ATypedCharacterWithoutShiftJisFormBecomesTheGetaMark) {
    window->document().SetTextStr("a\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::FixedString);
        d.textEdit().setText(QStringLiteral("x\u00E9\U0001F600"));
    });
    ASSERT_FALSE(prompts.texts().isEmpty());
    EXPECT_EQ(prompts.texts()[0], QStringLiteral("入力した文字列の Shift-JIS にない文字 2 個を「〓」に置き換えました。"
                                                 "最初は 2 文字目の「\u00E9」(U+00E9) です。"));
    EXPECT_EQ(lines(), std::vector<std::string>{"x\x81\xAC\x81\xAC" "a"});

    prompts.clear();
    window->document().SetTextStr("a\r\n");
    insert([](auto& d) {
        d.setKind(InsertKind::FixedString);
        d.textEdit().setText(QStringLiteral("\u301C"));
    });
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("1行処理しました")});
    EXPECT_EQ(lines(), std::vector<std::string>{"\x81\x60" "a"});
}
