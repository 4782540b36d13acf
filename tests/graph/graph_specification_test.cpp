#include <gtest/gtest.h>

#include "graph/engine/graph_specification.h"

namespace tabulo::graph {
namespace {

struct RewriteCase {
    const char* cleaned;
    const char* rewritten;
};

TEST(GraphSpecification, RewritesSamplingVariablesAndRestoresFunctionNames) {
    const RewriteCase cases[] = {
        {"x^2", ";_X_**2"},
        {"exp(x)", ";exp(_X_)"},
        {"Exp(x)", ";E_X_p(_X_)"},  // not restored: never evaluates
        {"EXP(x)", ";EXP(_X_)"},
        {"sqrt(x)", ";sqrt(_X_)"},
        {"Sqrt(x)", ";Sqr_T_(_X_)"},
        {"tan(t)+arctan(t)", ";tan(_T_)+arctan(_T_)"},
        {"max+X+T", ";ma_X_+X+T"},  // capitals are calculator variables
        {"2*cos(3*t)^3,2*sin(3*t)^3", ";2*cos(3*_T_)**3,2*sin(3*_T_)**3"},
        // フ is 0x83 0x74 and タ 0x83 0x5E: their trail bytes are no t and no ^.
        {"\x83\x74*x+\x83\x5E", ";\x83\x74*_X_+\x83\x5E"},
    };
    for (const RewriteCase& c : cases) {
        EXPECT_EQ(rewriteSpecification(c.cleaned), c.rewritten) << c.cleaned;
    }
}

TEST(GraphSpecification, SplitsCurvesLastFirstAndSkipsEmptyPieces) {
    const PreparedSpecification prepared = prepareSpecification(" x ^ 2 ;;\x81\x40x ;", GraphKind::Function);
    ASSERT_EQ(prepared.status, SpecificationStatus::Ok);
    ASSERT_EQ(prepared.curves.size(), 2u);
    EXPECT_EQ(prepared.curves[0].y, "_X_");
    EXPECT_EQ(prepared.curves[0].label, "y=x");
    EXPECT_EQ(prepared.curves[1].y, "_X_**2");
    EXPECT_EQ(prepared.curves[1].label, "y=x^2");
}

TEST(GraphSpecification, ChoosesExpressionsAndLabelsByKind) {
    const PreparedSpecification parametric = prepareSpecification("cos(t) , sin(t)^2", GraphKind::Parametric);
    ASSERT_EQ(parametric.curves.size(), 1u);
    EXPECT_EQ(parametric.curves[0].x, "cos(_T_)");
    EXPECT_EQ(parametric.curves[0].y, "sin(_T_)**2");
    EXPECT_EQ(parametric.curves[0].label, "x=cos(t) : y=sin(t)^2");

    const PreparedSpecification noComma = prepareSpecification("t", GraphKind::Parametric);
    EXPECT_EQ(noComma.curves[0].x, "");
    EXPECT_EQ(noComma.curves[0].y, "_T_");

    const PreparedSpecification polar = prepareSpecification("(1/14)^((t-2.8)/14)", GraphKind::Polar);
    EXPECT_EQ(polar.curves[0].x, polar.curves[0].y);
    EXPECT_EQ(polar.curves[0].label, "r=(1/14)^((t-2.8)/14)");
}

TEST(GraphSpecification, RefusesOverLongTextsWhole) {
    const std::string curve255 = "1" + std::string(254, '0');
    std::string atLimit;
    for (int i = 0; i < 3; ++i) atLimit += curve255 + ";";
    atLimit += std::string(1022 - atLimit.size(), '1');  // a fourth curve of 254 bytes
    EXPECT_EQ(prepareSpecification(atLimit, GraphKind::Function).status, SpecificationStatus::Ok);
    // Blanks are cleaned away before the limit is measured.
    EXPECT_EQ(prepareSpecification("  " + atLimit + " ", GraphKind::Function).status, SpecificationStatus::Ok);
    EXPECT_EQ(prepareSpecification(atLimit + "1", GraphKind::Function).status, SpecificationStatus::TooLong);
    EXPECT_TRUE(prepareSpecification(atLimit + "1", GraphKind::Function).curves.empty());
    EXPECT_EQ(prepareSpecification("x;" + curve255 + "0", GraphKind::Function).status,
              SpecificationStatus::CurveTooLong);
    EXPECT_EQ(prepareSpecification("", GraphKind::Function).status, SpecificationStatus::Empty);
    EXPECT_EQ(prepareSpecification(" ; ;", GraphKind::Function).status, SpecificationStatus::Empty);
}

}  // namespace
}  // namespace tabulo::graph
