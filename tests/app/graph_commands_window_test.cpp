// The graph menu, the graph-kind chooser and the calculator's hand-over to
// the graph window, through the main window.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "graph/window/func_window.h"
#include "graph/window/graph_paint_box.h"
#include "graph/window/set_func_dialog.h"
#include "support/main_window_fixture.h"

namespace {

using tabulo::platform::Answer;

class GraphCommandsTest : public tabulo::testing::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
    }
    QString specification() { return window->graphWindow().expressionEdit().text(); }
    void f9(const std::string& line) {
        window->document().SetTextStr(line + "\r\n");
        window->document().SetRow(0);
        run("N23");
    }
};

TEST_F(GraphCommandsTest, MenuItemsSetTheKindAndTheExampleSpecification) {
    struct Case {
        const char* item;
        int tag;
        QString text;
    };
    const Case cases[] = {
        {"fn0", 0, QStringLiteral("(2/17)*x^3 ;8/(1+61*exp(-0.86*x))")},
        {"fn1", 1, QStringLiteral("2*cos(3*t)^3 , 2*sin(3*t)^3")},
        {"fn2", 2, QStringLiteral("(1/14)^((t-2.8)/14)")},
    };
    for (const Case& c : cases) {
        run(c.item);
        EXPECT_EQ(window->tag(), c.tag) << c.item;
        EXPECT_EQ(specification(), c.text) << c.item;
        EXPECT_TRUE(window->graphWindow().isVisible()) << c.item;
        EXPECT_FALSE(window->graphWindow().pictureLayout());
    }
    // The picture item: the picture layout, the expression box emptied.
    run("JpegBMP1");
    EXPECT_EQ(window->tag(), -1);
    EXPECT_TRUE(window->graphWindow().pictureLayout());
    EXPECT_TRUE(specification().isEmpty());
    window->graphWindow().close();
    EXPECT_EQ(window->tag(), 0);
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(GraphCommandsTest, TheChooserRunsTheChosenRowOrNothing) {
    int row = 2;
    bool runIt = true;
    window->setDialogRunner([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Function"));
        dialog.show();
        dialog.findChildren<QRadioButton*>().at(row)->setChecked(true);
        dialog.findChild<QPushButton*>(runIt ? QStringLiteral("btRun") : QStringLiteral("btCancel"))->click();
    });
    run("_fn0");
    EXPECT_EQ(window->tag(), 2);
    EXPECT_EQ(specification(), QStringLiteral("(1/14)^((t-2.8)/14)"));
    EXPECT_FALSE(window->graphKindChooser().isVisible());
    // Its top is 100 pixels below the main window's.
    EXPECT_EQ(window->graphKindChooser().geometry().top(), window->geometry().top() + 100);
    window->graphWindow().close();
    row = 1;
    runIt = false;
    run("_fn0");
    EXPECT_EQ(window->tag(), 0);
    EXPECT_FALSE(window->graphWindow().isVisible());
}

TEST_F(GraphCommandsTest, GraphTagLineShowsTheWindowAndAssignmentsRedrawIt) {
    prompts.queueAnswer(Answer::Yes);
    f9("[g] a * x");
    EXPECT_TRUE(window->graphWindow().isVisible());
    EXPECT_EQ(specification(), QStringLiteral("a*x"));
    const QImage before = window->graphWindow().paintBox().image();
    f9("a = 2");
    EXPECT_EQ(prompts.texts().back(), QStringLiteral("a=2 を記憶しました"));
    EXPECT_NE(window->graphWindow().paintBox().image(), before);
    // Answering No keeps the text but changes the kind.
    prompts.queueAnswer(Answer::No);
    f9("[r] 1");
    EXPECT_EQ(window->tag(), 2);
    EXPECT_EQ(specification(), QStringLiteral("a*x"));
}

}  // namespace
