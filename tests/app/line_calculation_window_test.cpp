// F9 and Ctrl+Enter on the main window: results written below the caret's
// line, stored variables, faults and the graph question.
#include <QLineEdit>

#include "graph/window/func_window.h"
#include "sjis/sjis_codec.h"
#include "support/main_window_fixture.h"

using tabulo::platform::Answer;
using tabulo::testing::MainWindowTest;

namespace {

class LineCalculationTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        window->editor().setFocus();
    }
    void f9() { QTest::keyClick(&window->editor(), Qt::Key_F9); }
    std::string text() { return window->document().GetTextStr(); }
};

}  // namespace

TEST_F(LineCalculationTest, ResultGoesBelowTheCalcLineEveryTime) {
    window->document().SetTextStr("1 + 2 * 3\r\nnext\r\n");
    window->document().SetRow(0);
    f9();
    EXPECT_EQ(text(), "1 + 2 * 3\r\n7\r\nnext\r\n");
    EXPECT_EQ(window->document().Row(), 2);  // the row after the new line
    window->document().SetRow(0);
    QTest::keyClick(&window->editor(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(text(), "1 + 2 * 3\r\n7\r\n7\r\nnext\r\n");
    EXPECT_TRUE(prompts.records().empty());
    EXPECT_EQ(window->panelText(1), QStringLiteral("変更"));
}

TEST_F(LineCalculationTest, OnTheLastLineWithoutABreakTheResultIsAppended) {
    window->document().LoadFromFile(TABULO_TEST_DATA_DIR "/app/calc_last_line.txt");
    window->document().SetRow(1);
    f9();
    EXPECT_EQ(window->document().Lines().Count(), 3);
    EXPECT_EQ(window->document().Lines().Get(2), "0.5");
}

TEST_F(LineCalculationTest, AssignmentIsRememberedForLaterLines) {
    window->document().SetTextStr("r = 12\r\npi * r^2\r\n");
    window->document().SetRow(0);
    prompts.clear();
    window->action(QStringLiteral("N23"))->trigger();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("r=12 を記憶しました")});
    EXPECT_EQ(text(), "r = 12\r\npi * r^2\r\n");
    window->document().SetRow(1);
    f9();
    EXPECT_EQ(window->document().Lines().Get(2), "452.38934211693");
}

TEST_F(LineCalculationTest, FaultIsShownAndTheDocumentStaysAsItWas) {
    window->document().SetTextStr("1/0\r\n");
    window->document().SetModified(false);
    f9();
    ASSERT_EQ(prompts.records().size(), 1u);
    EXPECT_EQ(prompts.records()[0].text, QStringLiteral("0 による浮動小数点数除算"));
    EXPECT_EQ(prompts.records()[0].icon, tabulo::platform::Icon::Error);
    EXPECT_EQ(text(), "1/0\r\n");
    EXPECT_FALSE(window->document().Modified());
}

TEST_F(LineCalculationTest, NotAnExpression) {
    for (const char* line : {"hello +", "", "   \t"}) {
        prompts.clear();
        window->document().SetTextStr(std::string(line) + "\r\n");
        window->document().SetRow(0);
        f9();
        EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("関数・計算式ではありません")}) << line;
    }
    // On the empty row after the last line break.
    prompts.clear();
    window->document().SetRow(window->document().RowCount());
    f9();
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("関数・計算式ではありません")});
}

TEST_F(LineCalculationTest, GraphTagAsksAboutTheSpecification) {
    for (const char* line : {"[g]x^2", "[G]x^2", " \t[g] x ^ 2"}) {
        prompts.clear();
        window->document().SetTextStr(std::string(line) + "\r\n");
        window->document().SetRow(0);
        prompts.queueAnswer(Answer::Yes);
        f9();
        ASSERT_EQ(prompts.records().size(), 1u) << line;
        EXPECT_EQ(prompts.records()[0].text, QStringLiteral("関数 x^2 をグラフで表しますか？")) << line;
        EXPECT_EQ(prompts.records()[0].buttons, tabulo::platform::Buttons::YesNo);
        EXPECT_EQ(window->graphWindow().expressionEdit().text(), QStringLiteral("x^2"));
        EXPECT_TRUE(window->graphWindow().isVisible());
        EXPECT_EQ(window->tag(), 0);
        EXPECT_EQ(window->document().Lines().Count(), 1);
    }
    prompts.clear();
    window->document().SetTextStr("[t]cos(t),sin(t)\r\n");
    prompts.queueAnswer(Answer::No);
    f9();
    EXPECT_EQ(window->tag(), 1);
    EXPECT_EQ(prompts.records().size(), 1u);
}
