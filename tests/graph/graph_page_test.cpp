#include <gtest/gtest.h>

#include <algorithm>

#include "calc/expr_compo.h"
#include "graph/engine/graph_page.h"
#include "graph/recording_surface.h"

namespace tabulo::graph {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;

// A4 at zoom 200: the printable page 200 x 287 mm, origin in the middle.
PageOptions a4Defaults() {
    PageOptions options;
    options.view = {2000, 2870, 1000, 1435, 100, 200};
    return options;
}

std::vector<std::string> texts(const RecordingSurface& surface) {
    std::vector<std::string> found;
    for (const DrawOp& op : surface.of(DrawOp::Kind::Text)) found.push_back(op.text);
    return found;
}

// Dotted lines: the grid.
struct GridLines {
    std::vector<int> vertical;    // device x
    std::vector<int> horizontal;  // device y
};

GridLines gridLines(const RecordingSurface& surface) {
    GridLines grid;
    bool dotted = false;
    const DrawOp* move = nullptr;
    for (const DrawOp& op : surface.ops) {
        if (op.kind == DrawOp::Kind::Pen) dotted = op.b == static_cast<int>(PenStyle::Dotted);
        if (op.kind == DrawOp::Kind::MoveTo) move = &op;
        if (op.kind == DrawOp::Kind::LineTo && dotted && move) {
            if (move->a == op.a) grid.vertical.push_back(op.a);
            if (move->b == op.b) grid.horizontal.push_back(op.b);
        }
    }
    return grid;
}

class GraphPageTest : public ::testing::Test {
protected:
    calc::TExprCompo calc;
};

TEST_F(GraphPageTest, GridLinesAreOneUnitApartAndGrayedNumbersShowMultiplesOfFive) {
    RecordingSurface surface;
    drawGraphPage(surface, calc, a4Defaults());
    const GridLines grid = gridLines(surface);
    ASSERT_EQ(grid.vertical.size(), 21u);    // -10 .. 10
    ASSERT_EQ(grid.horizontal.size(), 29u);  // -14 .. 14
    for (std::size_t i = 1; i < grid.vertical.size(); ++i) EXPECT_EQ(grid.vertical[i] - grid.vertical[i - 1], 100);
    for (std::size_t i = 1; i < grid.horizontal.size(); ++i) {
        EXPECT_EQ(grid.horizontal[i - 1] - grid.horizontal[i], 100);
    }
    const std::vector<std::string> expected = {"-10", "-5", "5", "10", "-10", "-5", "5", "10", "y", "x", "O"};
    EXPECT_EQ(texts(surface), expected);
    // "5" on the x axis: its right edge at the grid line, 0.5 mm below the axis.
    const auto five = surface.of(DrawOp::Kind::Text)[2];
    EXPECT_EQ(five.a, 1500 - 6);
    EXPECT_EQ(five.b, 1440);
}

TEST_F(GraphPageTest, CheckBoxesChooseGridTicksNumbersAndLabels) {
    PageOptions options = a4Defaults();
    options.numbers = CheckState::Checked;
    options.specification = "x;x^2";
    RecordingSurface all;
    drawGraphPage(all, calc, options);
    // Every number but 0 (20 + 28), the axis letters and two labels.
    EXPECT_EQ(texts(all).size(), 48u + 3 + 2);
    const auto labels = all.of(DrawOp::Kind::Text);
    EXPECT_EQ(labels[labels.size() - 2].text, "y=x^2");
    EXPECT_EQ(labels[labels.size() - 2].b, 2870 - 80 + 30);
    EXPECT_EQ(labels.back().text, "y=x");
    EXPECT_EQ(labels.back().b, 2870 - 120 + 30);
    EXPECT_EQ(labels.back().a, 11);

    options.grid = CheckState::Grayed;
    options.labels = false;
    RecordingSurface ticks;
    drawGraphPage(ticks, calc, options);
    const GridLines grid = gridLines(ticks);
    ASSERT_FALSE(grid.vertical.empty());
    const auto& ops = ticks.ops;
    const auto first = std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) {
        return op.kind == DrawOp::Kind::LineTo;
    });
    EXPECT_EQ(first->b, 1435 + 12);  // ticks 1.2 mm on each side of the axis
    EXPECT_EQ((first - 1)->b, 1435 - 12);
    EXPECT_EQ(texts(ticks).size(), 48u + 3);

    options.grid = CheckState::Unchecked;
    RecordingSurface none;
    drawGraphPage(none, calc, options);
    EXPECT_TRUE(gridLines(none).vertical.empty());
    EXPECT_EQ(texts(none), (std::vector<std::string>{"y", "x", "O"}));
}

TEST_F(GraphPageTest, PictureKindDrawsThePictureAloneAndTheFrameOnlyOnScreen) {
    PageOptions options = a4Defaults();
    options.kind = GraphKind::Picture;
    options.pictureWidth = 400;
    options.pictureHeight = 200;
    RecordingSurface printer(2.0);
    drawGraphPage(printer, calc, options);
    ASSERT_EQ(printer.ops.size(), 2u);
    EXPECT_EQ(printer.ops[1].kind, DrawOp::Kind::Picture);
    // Fitted by its width: k = 4000 / 400.
    EXPECT_EQ(printer.ops[1].c, 4000);
    EXPECT_EQ(printer.ops[1].d, 2000);

    RecordingSurface screen(1.0, true);
    drawGraphPage(screen, calc, options);
    EXPECT_EQ(screen.of(DrawOp::Kind::LineTo).size(), 4u);  // the frame
    EXPECT_TRUE(screen.of(DrawOp::Kind::Text).empty());
}

TEST_F(GraphPageTest, MarginsAreCleanedLastRightOfAndBelowTheFrame) {
    PageOptions options = a4Defaults();
    options.specification = "x";
    options.lineWidth = 3;
    RecordingSurface surface;
    drawGraphPage(surface, calc, options);
    const auto fills = surface.of(DrawOp::Kind::Fill);
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0].c, 3000);  // background (W + 1000) x (H + 1000)
    EXPECT_EQ(fills[1].b, 2870 + 4);
    EXPECT_EQ(fills[2].a, 2000 + 4);
    EXPECT_EQ(surface.ops.back().kind, DrawOp::Kind::Fill);
}

}  // namespace
}  // namespace tabulo::graph
