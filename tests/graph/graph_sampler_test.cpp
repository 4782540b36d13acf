#include <gtest/gtest.h>

#include <cmath>

#include "calc/expr_compo.h"
#include "graph/engine/graph_sampler.h"
#include "graph/recording_surface.h"

namespace tabulo::graph {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;
using Points = std::vector<std::pair<int, int>>;

// 4 x 4 units around the centre; with P = 100 and Q = 40 the step is
// exactly 0.25, so samples land on exact values.
GraphView smallView() { return {400, 400, 200, 200, 100, 40}; }

class GraphSamplerTest : public ::testing::Test {
protected:
    CurvesResult draw(const std::string& spec, GraphKind kind, GraphView view = smallView(), double scale = 1.0) {
        surface = RecordingSurface(scale);
        return drawCurves(surface, calc, spec, kind, view, 2);
    }
    void assign(const char* text) {
        calc.SetExpression(text);
        calc.Execute();
    }

    calc::TExprCompo calc;
    RecordingSurface surface;
};

TEST_F(GraphSamplerTest, FunctionSamplesEveryStepOfTheArea) {
    const CurvesResult result = draw("x^2/2", GraphKind::Function);
    ASSERT_EQ(surface.strokes().size(), 1u);
    const Points points = surface.strokes()[0];
    ASSERT_EQ(points.size(), 17u);  // -2, -1.75, ..., 2
    EXPECT_EQ(points.front(), std::make_pair(0, 0));     // (-2, 2)
    EXPECT_EQ(points[4], std::make_pair(100, 150));      // (-1, 0.5)
    EXPECT_EQ(points[7], std::make_pair(175, 196));      // (-0.25, 0.03125): 196.875 truncated
    EXPECT_EQ(points.back(), std::make_pair(400, 0));
    EXPECT_EQ(surface.ops.front().kind, DrawOp::Kind::Pen);
    EXPECT_EQ(surface.ops.front().a, 2);
    EXPECT_EQ(result.labels, std::vector<std::string>{"y=x^2/2"});
}

TEST_F(GraphSamplerTest, DefaultStepIsHalfAMillimetre) {
    const GraphView view{2000, 2870, 1000, 1435, 100, 200};
    draw("0", GraphKind::Function, view);
    const Points points = surface.strokes().at(0);
    ASSERT_GE(points.size(), 3u);
    EXPECT_NEAR(static_cast<double>(points.size()), 401, 1);  // -10 .. 10 in steps of 0.05, summed
    EXPECT_NEAR(points[1].first - points[0].first, 5, 1);
}

TEST_F(GraphSamplerTest, PenLiftsAtFailuresAndOutsideTheDeviceBounds) {
    // 1/x fails at exactly 0: two branches.
    draw("1/x", GraphKind::Function);
    EXPECT_EQ(surface.strokes().size(), 2u);
    // An expression that never evaluates draws nothing.
    draw("x+", GraphKind::Function);
    EXPECT_TRUE(surface.of(DrawOp::Kind::MoveTo).empty());
    // Exp(x) is rewritten to E_X_p, an unknown name followed by "(": invalid.
    const CurvesResult exp = draw("Exp(x)", GraphKind::Function);
    EXPECT_TRUE(surface.of(DrawOp::Kind::MoveTo).empty());
    EXPECT_EQ(exp.labels, std::vector<std::string>{"y=Exp(x)"});
    // y = 1000x leaves the bounds (device y <= -1000 or >= 5000) for every
    // sample but x = 0.
    draw("1000*x", GraphKind::Function);
    ASSERT_EQ(surface.strokes().size(), 1u);
    EXPECT_EQ(surface.strokes()[0].size(), 1u);  // only x = 0 is inside
}

TEST_F(GraphSamplerTest, BoundsAreDeviceUnitsSoAPoleIsJoinedOnASmallSurface) {
    // On a surface of 0.01 device units per page unit tan(x) stays inside
    // the bounds on both sides of its pole at pi/2, and the two neighbouring
    // samples are joined.
    draw("tan(x)", GraphKind::Function, smallView(), 0.01);
    EXPECT_EQ(surface.strokes().size(), 1u);
    // At one device unit per page unit the pole breaks the stroke.
    draw("tan(x)", GraphKind::Function);
    EXPECT_GE(surface.strokes().size(), 2u);
}

TEST_F(GraphSamplerTest, CapitalXIsACalculatorVariable) {
    assign("X=1.5");
    draw("X", GraphKind::Function);
    const Points points = surface.strokes().at(0);
    EXPECT_EQ(points.size(), 17u);
    for (const auto& point : points) EXPECT_EQ(point.second, 50);
}

TEST_F(GraphSamplerTest, ParametricRunsOverThreeTimesTheRange) {
    draw("t , t", GraphKind::Parametric, {4000, 4000, 2000, 2000, 1000, 4}, 0.1);
    // t from -6 to 6 in steps of 0.25; page (-4000, 8000) at t = -6.
    const Points points = surface.strokes().at(0);
    EXPECT_EQ(points.size(), 1u + 12 * 4);
    EXPECT_EQ(points.front(), std::make_pair(-400, 800));
    EXPECT_EQ(points.back(), std::make_pair(800, -400));
    // Only points inside the bounds are drawn: the first stroke starts later.
    draw("t , 2*t", GraphKind::Parametric);
    ASSERT_EQ(surface.strokes().size(), 1u);
    EXPECT_EQ(surface.strokes()[0].front(), std::make_pair(200 - 600, 200 + 1200));
    // Without "," the x expression is empty and nothing is drawn.
    draw("t", GraphKind::Parametric);
    EXPECT_TRUE(surface.of(DrawOp::Kind::MoveTo).empty());
}

TEST_F(GraphSamplerTest, PolarDrawsRadiusTimesCosineAndSine) {
    const CurvesResult result = draw("1", GraphKind::Polar);
    const Points points = surface.strokes().at(0);
    ASSERT_EQ(points.size(), 49u);
    for (std::size_t i = 0; i < points.size(); i += 8) {
        const long double t = -6 + 0.25L * i;
        EXPECT_EQ(points[i].first, static_cast<int>(std::trunc(100 * std::cos(t) + 200))) << i;
        EXPECT_EQ(points[i].second, static_cast<int>(std::trunc(200 - 100 * std::sin(t)))) << i;
    }
    EXPECT_EQ(result.labels, std::vector<std::string>{"r=1"});
}

TEST_F(GraphSamplerTest, LabelsComeLastCurveFirstAndVariablesKeepTheirLastValue) {
    const CurvesResult result = draw("x;2*x", GraphKind::Function);
    EXPECT_EQ(result.labels, (std::vector<std::string>{"y=2*x", "y=x"}));
    assign("_X_");
    EXPECT_DOUBLE_EQ(static_cast<double>(calc.Value()), 2.0);
}

TEST_F(GraphSamplerTest, APumpThatSaysStopEndsTheDrawing) {
    int calls = 0;
    surface = RecordingSurface();
    const CurvesResult result =
        drawCurves(surface, calc, "x;x", GraphKind::Function, smallView(), 1, [&calls] { return ++calls < 3; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(result.labels.empty());
}

TEST_F(GraphSamplerTest, OverLongSpecificationDrawsNothing) {
    const CurvesResult result = draw(std::string(1023, '1'), GraphKind::Function);
    EXPECT_EQ(result.status, SpecificationStatus::TooLong);
    EXPECT_TRUE(surface.ops.empty());
}

}  // namespace
}  // namespace tabulo::graph
